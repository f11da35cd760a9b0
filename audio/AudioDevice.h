#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace mirelo {

class MidiSequencer;
class TDGCSoundBuffer;

// The program's one output stream, and the small mixer that feeds it from the
// device's own thread: the music first, then every playing sound added on top.
// The device is opened at 16-bit samples; its rate and channel count are the
// device's choice. Voices and music are attached under the device lock, and the
// mix itself neither allocates nor copies anything but the samples it adds.
class AudioDevice {
public:
    // Opens the default output device and starts it. Throws SoundError with the
    // device's own reason when there is none to be had.
    AudioDevice();
    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    int Rate() const { return rate_; }
    int Channels() const { return channels_; }
    // Frames the device asks for at a time.
    int PeriodFrames() const { return period_; }
    const std::string& DriverName() const { return driver_; }

    // While held, the mixer is not running; recursive.
    void Lock() const;
    void Unlock() const;

    // The caller holds the lock.
    void AddVoice(TDGCSoundBuffer* voice);
    void RemoveVoice(TDGCSoundBuffer* voice);
    void SetMusic(MidiSequencer* music);

    // Fills `frames` interleaved frames: what the device's callback does. The
    // caller holds the lock (the callback runs with it held).
    void Mix(std::int16_t* out, int frames);

private:
    std::uint32_t id_ = 0;
    int rate_ = 0;
    int channels_ = 0;
    int period_ = 0;
    std::string driver_;
    std::vector<TDGCSoundBuffer*> voices_;
    MidiSequencer* music_ = nullptr;
};

// Holds the device lock for a scope.
class DeviceLock {
public:
    explicit DeviceLock(const AudioDevice& device) : device_(device) { device_.Lock(); }
    ~DeviceLock() { device_.Unlock(); }
    DeviceLock(const DeviceLock&) = delete;
    DeviceLock& operator=(const DeviceLock&) = delete;

private:
    const AudioDevice& device_;
};

} // namespace mirelo
