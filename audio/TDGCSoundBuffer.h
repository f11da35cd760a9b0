#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace mirelo {

class AudioDevice;
struct SoundEntry;

// One sound, converted once to the device's format and kept ready: playing it
// only moves a read position, so a request neither allocates nor copies samples.
// Every operation takes the device lock, so the mixer never sees half a change.
class TDGCSoundBuffer {
public:
    // Converts the sound's samples for `device` and attaches the buffer to its
    // mixer. Throws SoundError "CreateSoundBuffer Failed" for a format the
    // device cannot take.
    TDGCSoundBuffer(AudioDevice& device, const SoundEntry& sound);
    // Stops the sound and detaches it from the mixer.
    ~TDGCSoundBuffer();
    TDGCSoundBuffer(const TDGCSoundBuffer&) = delete;
    TDGCSoundBuffer& operator=(const TDGCSoundBuffer&) = delete;

    // Stop, rewind, play once: a sound never overlaps itself.
    void Play();
    void Stop();
    // Moves the read position to a byte offset into the sound's own samples.
    void SetPosition(int byteOffset);
    // Hundredths of a decibel taken off the other side, -10000 (left only)
    // to 10000 (right only); "SetPan Failed" outside that range.
    void SetPan(int pan);
    // Hundredths of a decibel of attenuation, -10000 (silent) to 0 (full);
    // "SetVolume Failed" outside that range.
    void SetVolume(int volume);
    // Calls the on-restore handler, which may rebuild (and so destroy) this buffer.
    void Restore();

    std::function<void()> OnRestore;

    // The sound's own format, as in the library.
    int Size() const { return size_; }
    int Channels() const { return channels_; }
    int BitsPerSample() const { return bits_; }

    bool Playing() const;
    // Frames already played of the current play.
    int PositionFrames() const;
    // The converted samples, interleaved in the device's channels.
    std::span<const std::int16_t> Samples() const { return samples_; }
    int Frames() const { return frames_; }

    // Adds what is left to play into `out`; false when nothing was left. The
    // mixer calls it with the lock held.
    bool MixInto(std::int16_t* out, int frames);

private:
    void UpdateGains();

    AudioDevice& device_;
    std::vector<std::int16_t> samples_;
    int frames_ = 0;
    int deviceChannels_ = 0;
    int position_ = 0;
    bool playing_ = false;
    int size_ = 0;
    int channels_ = 0;
    int bits_ = 0;
    int blockAlign_ = 1;
    std::uint32_t sourceRate_ = 0;
    int pan_ = 0;
    int volume_ = 0;
    // Q15 gain per device channel; 32768 is unity, so a sound at full volume
    // reaches the output sample for sample.
    std::array<std::int32_t, 8> gains_{};
};

} // namespace mirelo
