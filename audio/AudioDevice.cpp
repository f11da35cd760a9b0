#include "AudioDevice.h"

#include "MidiSequencer.h"
#include "SoundError.h"
#include "TDGCSoundBuffer.h"

#include <SDL.h>
#include <algorithm>
#include <cstring>

namespace mirelo {

namespace {

// What the mixer asks for; the device may change rate and channel count.
constexpr int WantedRate = 44100;
constexpr int WantedChannels = 2;
// 512 frames, about 12 ms at 44.1 kHz: a click's sound starts without a lag
// the player would notice.
constexpr int WantedPeriod = 512;

void SDLCALL MixCallback(void* userdata, Uint8* stream, int len) {
    auto* device = static_cast<AudioDevice*>(userdata);
    const int frames = len / (device->Channels() * static_cast<int>(sizeof(std::int16_t)));
    device->Mix(reinterpret_cast<std::int16_t*>(stream), frames);
}

} // namespace

AudioDevice::AudioDevice() {
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Mirelo");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        throw SoundError("Failed to Create DirectSound", SDL_GetError());

    SDL_AudioSpec want{};
    want.freq = WantedRate;
    want.format = AUDIO_S16SYS;
    want.channels = WantedChannels;
    want.samples = WantedPeriod;
    want.callback = MixCallback;
    want.userdata = this;
    SDL_AudioSpec have{};
    id_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                              SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (id_ == 0) {
        const std::string reason = SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw SoundError("Failed to Create DirectSound", reason);
    }
    rate_ = have.freq;
    channels_ = have.channels;
    period_ = have.samples;
    if (const char* name = SDL_GetCurrentAudioDriver())
        driver_ = name;
    voices_.reserve(8);
    SDL_PauseAudioDevice(id_, 0);
}

AudioDevice::~AudioDevice() {
    SDL_CloseAudioDevice(id_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioDevice::Lock() const {
    SDL_LockAudioDevice(id_);
}

void AudioDevice::Unlock() const {
    SDL_UnlockAudioDevice(id_);
}

void AudioDevice::AddVoice(TDGCSoundBuffer* voice) {
    if (std::find(voices_.begin(), voices_.end(), voice) == voices_.end())
        voices_.push_back(voice);
}

void AudioDevice::RemoveVoice(TDGCSoundBuffer* voice) {
    voices_.erase(std::remove(voices_.begin(), voices_.end(), voice), voices_.end());
}

void AudioDevice::SetMusic(MidiSequencer* music) {
    music_ = music;
}

void AudioDevice::Mix(std::int16_t* out, int frames) {
    if (!music_ || !music_->Render(out, frames))
        std::memset(out, 0, static_cast<std::size_t>(frames) * channels_ * sizeof(std::int16_t));
    for (TDGCSoundBuffer* voice : voices_)
        voice->MixInto(out, frames);
}

} // namespace mirelo
