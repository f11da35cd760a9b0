#include "TDGCSoundBuffer.h"

#include "AudioDevice.h"
#include "SoundEntry.h"
#include "SoundError.h"
#include "SoundLibraries.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace mirelo {

namespace {

constexpr int Unity = 1 << 15;
constexpr int MaxAttenuation = 10000;

// Device units are hundredths of a decibel of attenuation.
std::int32_t GainOf(int attenuation) {
    if (attenuation <= -MaxAttenuation)
        return 0;
    return static_cast<std::int32_t>(std::lround(Unity * std::pow(10.0, attenuation / 2000.0)));
}

struct StreamDeleter {
    const SdlCalls* sdl;
    void operator()(SDL_AudioStream* s) const { sdl->SDL_FreeAudioStream(s); }
};

std::vector<std::int16_t> Convert(const SoundEntry& sound, const AudioDevice& device) {
    const SdlCalls& sdl = Sdl();
    const WaveFormat& f = sound.Format;
    SDL_AudioFormat from = 0;
    if (f.BitsPerSample == 8)
        from = AUDIO_U8;
    else if (f.BitsPerSample == 16)
        from = AUDIO_S16LSB;
    const bool usable = f.FormatTag == 1 && from != 0 && f.Channels >= 1 && f.Channels <= 8 &&
                        f.BlockAlign == f.Channels * f.BitsPerSample / 8 &&
                        f.SamplesPerSec >= 1000 && f.SamplesPerSec <= 384000;
    if (!usable)
        throw SoundError("CreateSoundBuffer Failed", "unsupported sample format");
    const int bytes = std::min<int>(sound.Size, static_cast<int>(sound.Data.size())) /
                      f.BlockAlign * f.BlockAlign;
    std::unique_ptr<SDL_AudioStream, StreamDeleter> stream(
        sdl.SDL_NewAudioStream(from, static_cast<Uint8>(f.Channels),
                               static_cast<int>(f.SamplesPerSec), AUDIO_S16SYS,
                               static_cast<Uint8>(device.Channels()), device.Rate()),
        StreamDeleter{&sdl});
    // The resampler holds back the end of its input even when flushed; a tenth
    // of a second of silence pushes the whole sound through, cut off again below.
    const std::vector<std::uint8_t> silence(
        static_cast<std::size_t>(f.SamplesPerSec / 10 * f.BlockAlign),
        f.BitsPerSample == 8 ? 0x80 : 0);
    if (!stream || sdl.SDL_AudioStreamPut(stream.get(), sound.Data.data(), bytes) != 0 ||
        sdl.SDL_AudioStreamPut(stream.get(), silence.data(), static_cast<int>(silence.size())) !=
            0 ||
        sdl.SDL_AudioStreamFlush(stream.get()) != 0)
        throw SoundError("CreateSoundBuffer Failed", sdl.SDL_GetError());
    std::vector<std::int16_t> out;
    std::int16_t chunk[4096];
    for (;;) {
        const int got = sdl.SDL_AudioStreamGet(stream.get(), chunk, sizeof chunk);
        if (got < 0)
            throw SoundError("CreateSoundBuffer Failed", sdl.SDL_GetError());
        if (got == 0)
            break;
        out.insert(out.end(), chunk, chunk + got / static_cast<int>(sizeof(std::int16_t)));
    }
    const std::int64_t frames = static_cast<std::int64_t>(bytes / f.BlockAlign) * device.Rate() /
                                static_cast<std::int64_t>(f.SamplesPerSec);
    out.resize(std::min(out.size(), static_cast<std::size_t>(frames) * device.Channels()));
    return out;
}

} // namespace

TDGCSoundBuffer::TDGCSoundBuffer(AudioDevice& device, const SoundEntry& sound)
    : device_(device), samples_(Convert(sound, device)), deviceChannels_(device.Channels()),
      size_(sound.Size), channels_(sound.Format.Channels), bits_(sound.Format.BitsPerSample),
      blockAlign_(sound.Format.BlockAlign), sourceRate_(sound.Format.SamplesPerSec) {
    frames_ = static_cast<int>(samples_.size()) / deviceChannels_;
    UpdateGains();
    DeviceLock lock(device_);
    device_.AddVoice(this);
}

TDGCSoundBuffer::~TDGCSoundBuffer() {
    DeviceLock lock(device_);
    playing_ = false;
    device_.RemoveVoice(this);
}

void TDGCSoundBuffer::Play() {
    // Stop and rewind happen inside one lock, so the mixer never hears the old
    // play's tail after the new one was asked for.
    DeviceLock lock(device_);
    position_ = 0;
    playing_ = frames_ > 0;
    if (playing_)
        device_.Wake();
}

void TDGCSoundBuffer::Stop() {
    DeviceLock lock(device_);
    playing_ = false;
}

void TDGCSoundBuffer::SetPosition(int byteOffset) {
    const std::int64_t sourceFrame = std::max(0, byteOffset) / blockAlign_;
    const std::int64_t frame = sourceFrame * device_.Rate() / sourceRate_;
    DeviceLock lock(device_);
    position_ = static_cast<int>(std::min<std::int64_t>(frame, frames_));
}

void TDGCSoundBuffer::SetPan(int pan) {
    if (pan < -MaxAttenuation || pan > MaxAttenuation)
        throw SoundError("SetPan Failed");
    DeviceLock lock(device_);
    pan_ = pan;
    UpdateGains();
}

void TDGCSoundBuffer::SetVolume(int volume) {
    if (volume < -MaxAttenuation || volume > 0)
        throw SoundError("SetVolume Failed");
    DeviceLock lock(device_);
    volume_ = volume;
    UpdateGains();
}

void TDGCSoundBuffer::Restore() {
    // The handler may destroy this buffer, so nothing of it is touched afterwards.
    const std::function<void()> handler = OnRestore;
    if (handler)
        handler();
}

bool TDGCSoundBuffer::Playing() const {
    DeviceLock lock(device_);
    return playing_;
}

int TDGCSoundBuffer::PositionFrames() const {
    DeviceLock lock(device_);
    return position_;
}

void TDGCSoundBuffer::UpdateGains() {
    const std::int32_t level = GainOf(volume_);
    gains_.fill(level);
    if (deviceChannels_ >= 2) {
        // A pan to one side takes that many hundredths of a decibel off the other.
        const std::int64_t left = pan_ > 0 ? GainOf(-pan_) : Unity;
        const std::int64_t right = pan_ < 0 ? GainOf(pan_) : Unity;
        gains_[0] = static_cast<std::int32_t>(level * left / Unity);
        gains_[1] = static_cast<std::int32_t>(level * right / Unity);
    }
}

bool TDGCSoundBuffer::MixInto(std::int16_t* out, int frames) {
    if (!playing_)
        return false;
    const int n = std::min(frames, frames_ - position_);
    const std::int16_t* src =
        samples_.data() + static_cast<std::size_t>(position_) * deviceChannels_;
    for (int f = 0; f < n; ++f) {
        for (int c = 0; c < deviceChannels_; ++c) {
            std::int32_t v = *out + ((*src++ * gains_[static_cast<std::size_t>(c)]) >> 15);
            *out++ = static_cast<std::int16_t>(std::clamp<std::int32_t>(v, -32768, 32767));
        }
    }
    position_ += n;
    if (position_ >= frames_)
        playing_ = false;
    return n > 0;
}

} // namespace mirelo
