#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace mirelo {

class MidiSequencer;
class TDGCSoundBuffer;
struct SdlCalls;

// The program's one output stream, and the small mixer that feeds it from the
// device's own thread: the music first, then every playing sound added on top.
// The device is opened at 16-bit samples; its rate and channel count are the
// device's choice at the first open and stay the same for the whole run.
// Voices and music are attached under the device lock, and the mix itself
// neither allocates nor copies anything but the samples it adds.
//
// An open device wakes its thread every period even while paused, so a device
// that has had nothing to play for a while is closed, and opened again as soon
// as something is asked to sound. Opening and closing happen on a keeper thread
// of this class: asking for sound only sets a flag and wakes that thread.
class AudioDevice {
public:
    // Opens the default output device to learn its format (opening SDL2 first,
    // if no one has). Throws SoundError with the reason when there is no
    // device to be had, or SDL2 cannot be loaded.
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

    // Something was just asked to sound: the device stays open, or is opened
    // again. Takes the lock; allocates nothing.
    void Wake();
    // Whether the device is open and mixing.
    bool Running() const;
    // How long the device stays open with nothing to play (at most twice this).
    void SetIdleTime(std::chrono::milliseconds idle);

    // SDL keeps an error buffer for every thread that calls it, and frees it
    // only for the threads it made itself: a thread of ours that used the
    // device calls this when it is done with it.
    static void ThreadDone();

    // Fills `frames` interleaved frames: what the device's callback does. The
    // caller holds the lock (the callback takes it).
    void Mix(std::int16_t* out, int frames);
    // The device's callback.
    void Feed(std::int16_t* out, int frames);

private:
    enum class State { Closed, Running, Closing };

    void Keep();
    void Reopen();
    void CloseIfIdle();
    // Something is playing or about to: lock held.
    bool Sounding() const;

    const SdlCalls& sdl_;
    std::uint32_t id_ = 0;
    int rate_ = 0;
    int channels_ = 0;
    int period_ = 0;
    std::string driver_;
    std::vector<TDGCSoundBuffer*> voices_;
    MidiSequencer* music_ = nullptr;

    // Guarded by the device lock.
    mutable std::recursive_mutex mixLock_;
    State state_ = State::Closed;
    // Something sounded, or was asked to, since the keeper last looked.
    bool sounded_ = false;

    // The keeper's own; taken after the device lock, never before it.
    std::mutex keeperLock_;
    std::condition_variable keeperWake_;
    bool openWanted_ = false;
    bool checkNow_ = false;
    bool retime_ = false;
    bool quit_ = false;
    std::chrono::milliseconds idle_;
    std::thread keeper_;
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
