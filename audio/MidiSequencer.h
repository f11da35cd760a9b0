#pragma once

#include "CutFontLoader.h"

#include <atomic>
#include <cstdint>
#include <fluidsynth/types.h>
#include <memory>
#include <string>
#include <vector>

namespace mirelo {

class AudioDevice;
struct FluidCalls;

// The MIDI sequencer: a General MIDI synthesiser with one open tune, rendered
// by the sound device's mixer. Positions are MIDI ticks from the tune's start.
// Every call from the window's thread takes the device lock; `Render` runs in
// the device's thread with the lock held.
//
// The end of play is reported through a file descriptor rather than a Qt
// event, because posting an event allocates and the mixer must not: the window
// watches `NoticeHandle()` and reads the notice on its own thread.
class MidiSequencer {
public:
    enum class Mode { Closed, Stopped, Playing, Paused };

    // Voices the synthesiser keeps ready, each about 6 KiB. The busiest tune
    // sounds 57 at once, its loop included: with fewer, a note would take the
    // voice of another and the tune would sound otherwise (with 48 it does).
    static constexpr int Polyphony = 64;
    // The synthesiser's default level is meant for a mix of many sources; the
    // tunes are the only music here and should sit under the effects, not vanish.
    static constexpr double Gain = 0.8;

    // A synthesiser at the device's rate with `soundFont` loaded, attached to
    // the device's mixer. Throws SoundError with the reason when it cannot be
    // made. The static checks below answer false when FluidSynth cannot be loaded.
    //
    // Given the `tunes` it is to play, only the presets they select are loaded
    // (CutFontLoader.h): what they sound like is the same, and the synthesiser
    // builds nothing for the rest of the font. A font or a tune that cannot be
    // read that way, or a library without the calls for it, has the whole font
    // loaded; so has a tune opened later that selects other presets.
    MidiSequencer(AudioDevice& device, const std::string& soundFont,
                  const std::vector<std::string>& tunes = {});
    ~MidiSequencer();
    MidiSequencer(const MidiSequencer&) = delete;
    MidiSequencer& operator=(const MidiSequencer&) = delete;

    // Whether a sequencer could load `soundFont`, judged without loading it:
    // the file is there, is a sound font, and is as long as it says it is.
    // When not, `why` names the file and what is wrong with it.
    static bool SoundFontLooksUsable(const std::string& soundFont, std::string* why = nullptr);
    // Whether Open would open `path`, found out as Open does but without a
    // sound font: quick enough to ask before the sound font is loaded, and
    // without touching the tune that is open. When not, `why` is the reason
    // Open would give.
    static bool TuneOpens(const std::string& path, int rate, std::string* why = nullptr);

    // Closes any open tune, then opens `path` stopped at its start, its length
    // known. False with the reason when the file is missing or not a tune.
    bool Open(const std::string& path, std::string* error);
    void Close();
    bool IsOpen() const { return player_ != nullptr; }
    const std::string& FileName() const { return fileName_; }
    Mode State() const;

    // Plays on from the current position (resumes a pause). A tune just opened
    // is at its start.
    void Play();
    // Holds the tune where it is, its notes with it, until Play.
    void Pause();
    // Applied when the tune next renders. Seeking to the tick the tune is at
    // loses the notes starting there, so this is for a tune past its start.
    void Seek(int tick);
    // Seek to the start and play, in one step: the loop at the end.
    void Restart();

    // The three position queries, in ticks.
    int Start() const { return 0; }
    int Length() const;
    int Position() const;
    // The end test, under one lock: the position has reached start + length.
    // The sequencer's clock runs on past the end, so "reached", not "equal".
    bool EndReached() const;

    // The next time play reaches the end, one notice is sent.
    void ArmEndNotice() { noticeArmed_.store(true, std::memory_order_relaxed); }
    void DisarmEndNotice() { noticeArmed_.store(false, std::memory_order_relaxed); }
    // Becomes readable when a notice was sent; `TakeNotices` empties it.
    int NoticeHandle() const { return noticeFd_; }
    bool TakeNotices();

    // Whether Render would write anything now. Lock held.
    bool Audible() const;
    // Writes `frames` frames of music over `out`; false when no tune is
    // sounding (the caller keeps silence). Mixer thread, lock held.
    bool Render(std::int16_t* out, int frames);

    // Whether the font loaded is cut to the tunes' presets.
    bool SoundFontCut() const { return cutFont_ != nullptr; }

private:
    bool AtEnd() const;
    int LoadSoundFont(const std::vector<std::string>& tunes);
    bool LoadWholeFontFor(const PresetChoices* wanted);
    void ResetAfterEnd();
    void ReleaseUnplayedPresets();

    AudioDevice& device_;
    const FluidCalls& lib_;
    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    fluid_player_t* player_ = nullptr;
    const std::string soundFont_;
    int fontId_ = -1;
    // The cut font and the presets it was cut to; null once the whole font is loaded.
    std::unique_ptr<CutFontFile> cutFont_;
    PresetChoices cutTo_;
    std::vector<std::unique_ptr<CutFontFile>> retiredFonts_;
    std::string fileName_;
    // The open tune's channels that never sound the preset they start with:
    // they hold none, so its samples are not read (see ReleaseUnplayedPresets).
    ChannelSet unplayedPresets_;
    // Whether the player was kept from resetting the synthesiser at the
    // tune's end, so that the sequencer does it (ResetAfterEnd).
    bool resetsAfterEnd_ = false;
    Mode mode_ = Mode::Closed;
    std::atomic<bool> noticeArmed_{false};
    int noticeFd_ = -1;
    // Stereo scratch for devices that are not two-channel, sized at start.
    std::vector<std::int16_t> scratch_;
};

} // namespace mirelo
