#include "MidiSequencer.h"

#include "AudioDevice.h"
#include "PlainFile.h"
#include "SoundError.h"
#include "SoundLibraries.h"

#include <algorithm>
#include <sys/eventfd.h>
#include <unistd.h>

namespace mirelo {

namespace {

// Frames rendered at a time into the stereo scratch of devices that are not
// two-channel.
constexpr int ScratchFrames = 1024;
// The synthesiser renders in blocks of this many frames and keeps the rest of a
// block for the next call; asking for a whole block always runs the player once.
constexpr int SynthBlock = 64;

// Where the synthesiser library is built with OpenMP, its sound-font loader
// hands each sample to a team of threads that spin while one thread reads the
// file: on two cores that took three times as long as one thread alone, and
// kept both cores busy while the window was being built. The setting is the
// calling thread's own; builds without OpenMP lack the call.
void LoadOnThisThreadOnly(const FluidCalls& lib) {
    if (lib.omp_set_num_threads)
        lib.omp_set_num_threads(1);
}

// The player's settings: its clock follows the rendered samples, so a tune
// keeps time with the device whatever its speed, the test drivers' included.
fluid_settings_t* NewSettings(const FluidCalls& lib, int rate) {
    fluid_settings_t* settings = lib.new_fluid_settings();
    if (settings) {
        lib.fluid_settings_setnum(settings, "synth.sample-rate", rate);
        lib.fluid_settings_setstr(settings, "player.timing-source", "sample");
    }
    return settings;
}

// Only the samples of the instruments a tune selects are read, when it selects
// them (Open selects all of a tune's, on the caller's thread): the rest of the
// General MIDI set never takes memory. A library older than 2.1 lacks the
// setting and loads every sample, as it always did; asked for by name it would
// complain on standard error, hence the look first.
void LoadSamplesOnDemand(const FluidCalls& lib, fluid_settings_t* settings) {
    constexpr const char* name = "synth.dynamic-sample-loading";
    if (lib.fluid_settings_get_type(settings, name) == FLUID_INT_TYPE)
        lib.fluid_settings_setint(settings, name, 1);
}

// The player resets the synthesiser once it has finished a tune (a couple of
// seconds after the end, its last notes released), which gives every channel
// its first preset again and reads their samples on the mixer's thread. The
// sequencer resets it instead when the tune is played again. False when the
// library lacks the setting.
bool ResetOnlyWhenPlayedAgain(const FluidCalls& lib, fluid_settings_t* settings) {
    constexpr const char* name = "player.reset-synth";
    if (lib.fluid_settings_get_type(settings, name) != FLUID_INT_TYPE)
        return false;
    return lib.fluid_settings_setint(settings, name, 0) == FLUID_OK;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

bool Fail(std::string* why, const std::string& reason) {
    if (why)
        *why = reason;
    return false;
}

// The checks of the file itself, with the reasons Open gives.
bool IsTuneFile(const FluidCalls& lib, const std::string& path, std::string* why) {
    if (!RegularFileSize(path))
        return Fail(why, "The tune \"" + path + "\" was not found.");
    if (!lib.fluid_is_midifile(path.c_str()))
        return Fail(why, "\"" + path + "\" is not a MIDI file.");
    return true;
}

std::string CannotPlay(const std::string& path) {
    return "The MIDI sequencer cannot play \"" + path + "\".";
}

// Runs a player over the first block of `path`, the events going nowhere; the
// player reads its file as it first runs. Its length, or 0 when unreadable.
int FirstBlockLength(const FluidCalls& lib, fluid_synth_t* synth, const std::string& path,
                     bool toSynth, fluid_player_t** kept) {
    fluid_player_t* player = lib.new_fluid_player(synth);
    if (!player)
        return 0;
    if (!toSynth)
        lib.fluid_player_set_playback_callback(
            player, [](void*, fluid_midi_event_t*) { return FLUID_OK; }, nullptr);
    lib.fluid_player_add(player, path.c_str());
    lib.fluid_player_play(player);
    std::int16_t block[2 * SynthBlock];
    lib.fluid_synth_write_s16(synth, SynthBlock, block, 0, 2, block, 1, 2);
    const int length = lib.fluid_player_get_total_ticks(player);
    if (kept && length > 0)
        *kept = player;
    else
        lib.delete_fluid_player(player);
    return length;
}

// The library, or null with the reason when it cannot be loaded: then nothing opens.
const FluidCalls* LibraryOrNull(std::string* why) {
    try {
        return &Fluid();
    } catch (const SoundError& e) {
        Fail(why, e.Reason().empty() ? std::string(e.what()) : e.Reason());
        return nullptr;
    }
}

} // namespace

bool MidiSequencer::SoundFontLooksUsable(const std::string& soundFont, std::string* why) {
    const FluidCalls* found = LibraryOrNull(why);
    if (!found)
        return false;
    const FluidCalls& lib = *found;
    const std::optional<std::uint64_t> size = RegularFileSize(soundFont);
    if (!size)
        return Fail(why, "The sound font \"" + soundFont + "\" was not found.");
    if (!lib.fluid_is_soundfont(soundFont.c_str()))
        return Fail(why, "\"" + soundFont + "\" is not a sound font.");
    // The loader's first check, and what a file cut short fails.
    const std::optional<std::vector<std::uint8_t>> head = ReadRegularFile(soundFont, 12, false);
    if (!head || Le32(*head, 4) + std::uint64_t{8} != *size)
        return Fail(why, "The sound font \"" + soundFont + "\" is incomplete.");
    return true;
}

bool MidiSequencer::TuneOpens(const std::string& path, int rate, std::string* why) {
    const FluidCalls* found = LibraryOrNull(why);
    if (!found)
        return false;
    const FluidCalls& lib = *found;
    if (!IsTuneFile(lib, path, why))
        return false;
    fluid_settings_t* settings = NewSettings(lib, rate);
    if (!settings)
        return Fail(why, CannotPlay(path));
    // One voice and no effects: this synthesiser never sounds.
    lib.fluid_settings_setint(settings, "synth.polyphony", 1);
    lib.fluid_settings_setint(settings, "synth.reverb.active", 0);
    lib.fluid_settings_setint(settings, "synth.chorus.active", 0);
    fluid_synth_t* synth = lib.new_fluid_synth(settings);
    const bool opens = synth && FirstBlockLength(lib, synth, path, false, nullptr) > 0;
    if (synth)
        lib.delete_fluid_synth(synth);
    lib.delete_fluid_settings(settings);
    return opens || Fail(why, CannotPlay(path));
}

MidiSequencer::MidiSequencer(AudioDevice& device, const std::string& soundFont,
                             const std::vector<std::string>& tunes)
    : device_(device), lib_(Fluid()), soundFont_(soundFont) {
    if (!RegularFileSize(soundFont))
        throw SoundError("The sound font could not be loaded",
                         "The sound font \"" + soundFont + "\" was not found.");
    if (!lib_.fluid_is_soundfont(soundFont.c_str()))
        throw SoundError("The sound font could not be loaded",
                         "\"" + soundFont + "\" is not a sound font.");
    settings_ = NewSettings(lib_, device.Rate());
    if (!settings_)
        throw SoundError("The MIDI sequencer could not be created");
    lib_.fluid_settings_setnum(settings_, "synth.gain", Gain);
    lib_.fluid_settings_setint(settings_, "synth.polyphony", Polyphony);
    LoadSamplesOnDemand(lib_, settings_);
    resetsAfterEnd_ = ResetOnlyWhenPlayedAgain(lib_, settings_);
    synth_ = lib_.new_fluid_synth(settings_);
    LoadOnThisThreadOnly(lib_);
    if (synth_)
        fontId_ = LoadSoundFont(tunes);
    if (!synth_ || fontId_ == FLUID_FAILED) {
        if (synth_)
            lib_.delete_fluid_synth(synth_);
        lib_.delete_fluid_settings(settings_);
        throw SoundError("The sound font could not be loaded",
                         "The sound font \"" + soundFont + "\" could not be read.");
    }
    noticeFd_ = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (noticeFd_ < 0) {
        lib_.delete_fluid_synth(synth_);
        lib_.delete_fluid_settings(settings_);
        throw SoundError("The MIDI sequencer could not be created", "no end-of-tune notice");
    }
    scratch_.resize(2 * ScratchFrames);
    DeviceLock lock(device_);
    device_.SetMusic(this);
}

MidiSequencer::~MidiSequencer() {
    {
        DeviceLock lock(device_);
        device_.SetMusic(nullptr);
    }
    Close();
    lib_.delete_fluid_synth(synth_);
    lib_.delete_fluid_settings(settings_);
    ::close(noticeFd_);
}

// The cut font when a tune can be read and the library has the calls;
// otherwise, or when the cut font fails to load, the whole font. A tune that
// cannot be read is left out: should it be opened, Open loads the whole font.
int MidiSequencer::LoadSoundFont(const std::vector<std::string>& tunes) {
    if (!tunes.empty() && lib_.fluid_synth_sfunload &&
        InstallCutFontLoader(lib_, settings_, synth_)) {
        PresetChoices keep;
        for (const std::string& tune : tunes)
            TuneFilePresets(tune, keep);
        std::unique_ptr<CutFontFile> cut =
            keep.empty() ? nullptr : CutFontFile::Make(soundFont_, keep);
        if (cut) {
            const int id = lib_.fluid_synth_sfload(synth_, cut->Name().c_str(), 1);
            if (id != FLUID_FAILED) {
                cutFont_ = std::move(cut);
                cutTo_ = std::move(keep);
                return id;
            }
        }
    }
    return lib_.fluid_synth_sfload(synth_, soundFont_.c_str(), 1);
}

// A tune that selects presets the cut font lacks, or one that could not be
// read (`wanted` null), would sound otherwise than with the whole font: the
// whole font replaces it. Device lock held.
bool MidiSequencer::LoadWholeFontFor(const PresetChoices* wanted) {
    if (!cutFont_)
        return true;
    if (wanted && std::includes(cutTo_.begin(), cutTo_.end(), wanted->begin(), wanted->end()))
        return true;
    const int whole = lib_.fluid_synth_sfload(synth_, soundFont_.c_str(), 1);
    if (whole == FLUID_FAILED)
        return false;
    // The cut font's file stays readable until the synthesiser is gone.
    lib_.fluid_synth_sfunload(synth_, fontId_, 1);
    fontId_ = whole;
    retiredFonts_.push_back(std::move(cutFont_));
    cutTo_.clear();
    return true;
}

// Every channel starts on the first preset of its bank, and the synthesiser
// reads the samples of every preset a channel holds. A channel the tune gives
// a program before it plays a note, or never plays, needs none: it is given
// none, and whatever it sounds is what it would have sounded. Device lock held.
void MidiSequencer::ReleaseUnplayedPresets() {
    if (!lib_.fluid_synth_unset_program)
        return;
    for (std::size_t channel = 0; channel < unplayedPresets_.size(); ++channel)
        if (unplayedPresets_[channel])
            lib_.fluid_synth_unset_program(synth_, static_cast<int>(channel));
}

// What the player did when the tune ended, done when it is played again:
// silence and fresh channels for the next time through. Device lock held.
void MidiSequencer::ResetAfterEnd() {
    if (!resetsAfterEnd_ || lib_.fluid_player_get_status(player_) != FLUID_PLAYER_DONE)
        return;
    lib_.fluid_synth_system_reset(synth_);
    ReleaseUnplayedPresets();
}

bool MidiSequencer::Open(const std::string& path, std::string* error) {
    Close();
    if (!IsTuneFile(lib_, path, error))
        return false;
    PresetChoices wanted;
    ChannelSet fromStart;
    const bool scanned = TuneFilePresets(path, wanted, &fromStart);

    DeviceLock lock(device_);
    if (!LoadWholeFontFor(scanned ? &wanted : nullptr))
        return Fail(error, CannotPlay(path));
    // The player would reset the channels at the tune's end and give each its
    // first preset back: without the sequencer's own reset, all keep theirs.
    unplayedPresets_ = scanned && resetsAfterEnd_ ? ~fromStart : ChannelSet{};
    ReleaseUnplayedPresets();
    // The player reads its file when it first runs. Run it for one block of the
    // synthesiser here, on this thread, so the mixer never reads files and the
    // length is known as soon as the tune is open. The block is thrown away; the
    // tune then waits, unrendered, for Play. (Seeking back to tick 0 instead
    // would lose the notes that start there.)
    if (FirstBlockLength(lib_, synth_, path, true, &player_) <= 0) {
        lib_.fluid_synth_system_reset(synth_);
        return Fail(error, CannotPlay(path));
    }
    fileName_ = path;
    mode_ = Mode::Stopped;
    return true;
}

void MidiSequencer::Close() {
    DeviceLock lock(device_);
    if (!player_)
        return;
    lib_.delete_fluid_player(player_);
    player_ = nullptr;
    // The next tune starts from silence and fresh channels, not the last one's programs.
    lib_.fluid_synth_all_sounds_off(synth_, -1);
    lib_.fluid_synth_system_reset(synth_);
    unplayedPresets_.reset();
    fileName_.clear();
    mode_ = Mode::Closed;
}

MidiSequencer::Mode MidiSequencer::State() const {
    return mode_;
}

// The player's clock follows the rendered samples, so a tune the mixer does not
// render stands still, its notes held where they were: that is the pause.
void MidiSequencer::Play() {
    DeviceLock lock(device_);
    if (!player_)
        return;
    // A player that ran past its end and finished is started again.
    lib_.fluid_player_play(player_);
    mode_ = Mode::Playing;
    device_.Wake();
}

void MidiSequencer::Pause() {
    DeviceLock lock(device_);
    if (player_ && mode_ == Mode::Playing)
        mode_ = Mode::Paused;
}

void MidiSequencer::Seek(int tick) {
    DeviceLock lock(device_);
    if (!player_)
        return;
    ResetAfterEnd();
    lib_.fluid_player_seek(player_, tick);
}

void MidiSequencer::Restart() {
    DeviceLock lock(device_);
    if (!player_)
        return;
    ResetAfterEnd();
    lib_.fluid_player_seek(player_, Start());
    lib_.fluid_player_play(player_);
    mode_ = Mode::Playing;
    device_.Wake();
}

int MidiSequencer::Length() const {
    DeviceLock lock(device_);
    return player_ ? lib_.fluid_player_get_total_ticks(player_) : 0;
}

int MidiSequencer::Position() const {
    DeviceLock lock(device_);
    return player_ ? lib_.fluid_player_get_current_tick(player_) : 0;
}

bool MidiSequencer::EndReached() const {
    DeviceLock lock(device_);
    return AtEnd();
}

bool MidiSequencer::AtEnd() const {
    if (!player_)
        return false;
    const int length = lib_.fluid_player_get_total_ticks(player_);
    return length > 0 && lib_.fluid_player_get_current_tick(player_) >= Start() + length;
}

bool MidiSequencer::TakeNotices() {
    std::uint64_t count = 0;
    return ::read(noticeFd_, &count, sizeof count) == static_cast<ssize_t>(sizeof count) &&
           count > 0;
}

bool MidiSequencer::Audible() const {
    // A finished tune that was not restarted costs nothing once its last notes died.
    return mode_ == Mode::Playing && player_ &&
           !(lib_.fluid_player_get_status(player_) == FLUID_PLAYER_DONE &&
             lib_.fluid_synth_get_active_voice_count(synth_) == 0);
}

bool MidiSequencer::Render(std::int16_t* out, int frames) {
    if (mode_ != Mode::Playing || !player_)
        return false;
    if (noticeArmed_.load(std::memory_order_relaxed) && AtEnd() &&
        noticeArmed_.exchange(false, std::memory_order_relaxed)) {
        const std::uint64_t one = 1;
        if (::write(noticeFd_, &one, sizeof one) < 0) {
            // A full counter already wakes the window; nothing is lost.
        }
    }
    if (!Audible())
        return false;

    const int channels = device_.Channels();
    if (channels == 2) {
        lib_.fluid_synth_write_s16(synth_, frames, out, 0, 2, out, 1, 2);
        return true;
    }
    while (frames > 0) {
        const int n = frames < ScratchFrames ? frames : ScratchFrames;
        std::int16_t* s = scratch_.data();
        lib_.fluid_synth_write_s16(synth_, n, s, 0, 2, s, 1, 2);
        for (int f = 0; f < n; ++f, s += 2) {
            if (channels == 1) {
                *out++ = static_cast<std::int16_t>((s[0] + s[1]) / 2);
                continue;
            }
            *out++ = s[0];
            *out++ = s[1];
            for (int c = 2; c < channels; ++c)
                *out++ = 0;
        }
        frames -= n;
    }
    return true;
}

} // namespace mirelo
