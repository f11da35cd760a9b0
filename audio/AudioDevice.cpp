#include "AudioDevice.h"

#include "MidiSequencer.h"
#include "SoundError.h"
#include "SoundLibraries.h"
#include "TDGCSoundBuffer.h"

#include <algorithm>
#include <cstring>

namespace mirelo {

namespace {

// What the mixer asks for at the first open; the device may change rate and
// channel count, and every later open asks for exactly what it got.
constexpr int WantedRate = 44100;
constexpr int WantedChannels = 2;
// 512 frames, about 12 ms at 44.1 kHz: a click's sound starts without a lag
// the player would notice.
constexpr int WantedPeriod = 512;
// Long enough that a player picking tiles keeps the device open between
// clicks; closing takes the device a few periods, on the keeper thread.
constexpr std::chrono::milliseconds IdleClose{3000};

void SDLCALL MixCallback(void* userdata, Uint8* stream, int len) {
    auto* device = static_cast<AudioDevice*>(userdata);
    const int frames = len / (device->Channels() * static_cast<int>(sizeof(std::int16_t)));
    device->Feed(reinterpret_cast<std::int16_t*>(stream), frames);
}

SDL_AudioSpec Wanted(int rate, int channels, int period, AudioDevice* device) {
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = AUDIO_S16SYS;
    want.channels = static_cast<Uint8>(channels);
    want.samples = static_cast<Uint16>(period);
    want.callback = MixCallback;
    want.userdata = device;
    return want;
}

} // namespace

AudioDevice::AudioDevice() : sdl_(Sdl()), idle_(IdleClose) {
    sdl_.SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Mirelo");
    if (sdl_.SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        throw SoundError("Failed to Create DirectSound", sdl_.SDL_GetError());

    // The first open tells whether there is a device at all, and its format.
    const SDL_AudioSpec want = Wanted(WantedRate, WantedChannels, WantedPeriod, this);
    SDL_AudioSpec have{};
    id_ = sdl_.SDL_OpenAudioDevice(nullptr, 0, &want, &have,
                                   SDL_AUDIO_ALLOW_FREQUENCY_CHANGE |
                                       SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (id_ == 0) {
        const std::string reason = sdl_.SDL_GetError();
        sdl_.SDL_QuitSubSystem(SDL_INIT_AUDIO);
        throw SoundError("Failed to Create DirectSound", reason);
    }
    rate_ = have.freq;
    channels_ = have.channels;
    period_ = have.samples;
    if (const char* name = sdl_.SDL_GetCurrentAudioDriver())
        driver_ = name;
    voices_.reserve(8);
    state_ = State::Running;
    sdl_.SDL_PauseAudioDevice(id_, 0);
    // Nothing plays yet: the keeper closes the device at once.
    checkNow_ = true;
    keeper_ = std::thread([this] { Keep(); });
}

AudioDevice::~AudioDevice() {
    {
        std::lock_guard<std::mutex> keeper(keeperLock_);
        quit_ = true;
    }
    keeperWake_.notify_one();
    keeper_.join();
    if (state_ != State::Closed)
        sdl_.SDL_CloseAudioDevice(id_);
    sdl_.SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void AudioDevice::Lock() const {
    mixLock_.lock();
}

void AudioDevice::Unlock() const {
    mixLock_.unlock();
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

bool AudioDevice::Sounding() const {
    if (music_ && music_->Audible())
        return true;
    return std::any_of(voices_.begin(), voices_.end(),
                       [](const TDGCSoundBuffer* voice) { return voice->Playing(); });
}

void AudioDevice::Wake() {
    DeviceLock lock(*this);
    sounded_ = true;
    if (state_ == State::Running)
        return;
    {
        std::lock_guard<std::mutex> keeper(keeperLock_);
        openWanted_ = true;
    }
    keeperWake_.notify_one();
}

void AudioDevice::ThreadDone() {
    // A thread that found no libraries made no SDL calls.
    if (const SdlCalls* sdl = SdlIfOpen())
        sdl->SDL_TLSCleanup();
}

bool AudioDevice::Running() const {
    DeviceLock lock(*this);
    return state_ == State::Running;
}

void AudioDevice::SetIdleTime(std::chrono::milliseconds idle) {
    {
        std::lock_guard<std::mutex> keeper(keeperLock_);
        idle_ = idle;
        retime_ = true;
    }
    keeperWake_.notify_one();
}

void AudioDevice::Feed(std::int16_t* out, int frames) {
    DeviceLock lock(*this);
    // While closing, nothing moves on: a sound asked for now starts whole
    // once the device is open again.
    if (state_ == State::Closing)
        std::memset(out, 0, static_cast<std::size_t>(frames) * channels_ * sizeof(std::int16_t));
    else
        Mix(out, frames);
}

void AudioDevice::Mix(std::int16_t* out, int frames) {
    bool sounding = music_ && music_->Render(out, frames);
    if (!sounding)
        std::memset(out, 0, static_cast<std::size_t>(frames) * channels_ * sizeof(std::int16_t));
    for (TDGCSoundBuffer* voice : voices_)
        sounding = voice->MixInto(out, frames) || sounding;
    if (sounding)
        sounded_ = true;
}

// The keeper sleeps while the device is closed, and looks once per idle time
// while it is open. SDL's open and close are called with no lock of ours held:
// closing waits for the device's thread, which may be waiting for the lock.
void AudioDevice::Keep() {
    std::unique_lock<std::mutex> keeper(keeperLock_);
    while (!quit_) {
        bool running = false;
        {
            keeper.unlock();
            running = Running();
            keeper.lock();
        }
        if (!running) {
            keeperWake_.wait(keeper, [this] { return quit_ || openWanted_; });
            if (quit_)
                break;
            openWanted_ = false;
            keeper.unlock();
            Reopen();
            keeper.lock();
            continue;
        }
        const auto deadline = std::chrono::steady_clock::now() + idle_;
        keeperWake_.wait_until(keeper, deadline, [this] { return quit_ || checkNow_ || retime_; });
        if (quit_)
            break;
        if (retime_) {
            retime_ = false;
            continue;
        }
        checkNow_ = false;
        keeper.unlock();
        CloseIfIdle();
        keeper.lock();
    }
    ThreadDone();
}

void AudioDevice::Reopen() {
    const SDL_AudioSpec want = Wanted(rate_, channels_, period_, this);
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts if the device now differs, so the
    // buffers and the synthesiser made for the first format stay right.
    const SDL_AudioDeviceID id = sdl_.SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    // At once: what was asked for is waiting, and the mixer needs no state of
    // ours to play it.
    if (id != 0)
        sdl_.SDL_PauseAudioDevice(id, 0);
    DeviceLock lock(*this);
    if (id == 0) {
        // The device went away. What was asked for is dropped rather than
        // heard late; the next request tries again.
        for (TDGCSoundBuffer* voice : voices_)
            voice->Stop();
        return;
    }
    id_ = id;
    state_ = State::Running;
    // A full idle time before the first look.
    sounded_ = true;
    std::lock_guard<std::mutex> keeper(keeperLock_);
    openWanted_ = false;
}

void AudioDevice::CloseIfIdle() {
    {
        DeviceLock lock(*this);
        // Both: the mixer may not have reached a sound asked for just now, and
        // one that sounds may be between two periods.
        if (sounded_ || Sounding()) {
            sounded_ = false;
            return;
        }
        state_ = State::Closing;
    }
    sdl_.SDL_CloseAudioDevice(id_);
    DeviceLock lock(*this);
    state_ = State::Closed;
    id_ = 0;
}

} // namespace mirelo
