#pragma once

#include "MediaControl.h"
#include "SoundInterface.h"
#include "TDGCAudio.h"
#include "TDGCSoundLib.h"

#include <QPointer>
#include <QString>
#include <chrono>
#include <memory>
#include <string>

class QSocketNotifier;

namespace mirelo {

class MidiSequencer;
class SetUpThread;

// The full edition's sound: the embedded sound library played through the
// sound device, and the looping MIDI tunes with their Play/Pause control.
//
// Nothing here stops the game from starting: without a sound device the game
// is silent and UnavailableReason() says why; without a sound font or a
// playable default tune the control stays disabled and MusicUnavailableReason()
// says why. Without the default tune the other tunes still play.
// Construct it after the QApplication, and call CloseMusic() (as the window does
// when it closes) or destroy it before the QApplication ends: the end of a tune
// is reported through the event loop of the thread that made it.
//
// The set-up runs on a thread of its own, begun by the first call that needs
// it: the window asks nothing of the sound before its first paint, so it is
// built with both cores, and nothing at all while sound effects and music are
// both off, so SDL2 and the libraries it brings stay out of memory; closing
// then opens nothing either. The set-up opens SDL2 (SoundLibraries.h), then
// the device; that first call waits for them. Without SDL2 the game is silent, as
// without a device. Nothing of music is done before music is wanted: the
// first question about music opens FluidSynth and makes the checks that say
// whether it can play (they read the sound font's header and the default
// tune, not the sound font; without FluidSynth music is unavailable and the
// effects still play), and the sound font is loaded only once
// music is switched on (EnableMusic, or the tick's MusicStep, a little later)
// or a tune is to play (a tune chosen, Play or Pause pressed), whichever comes
// first. A game with music off never loads it. A sound font that passes the
// checks and still fails to load greys the control, finds no tunes and turns
// MusicPossible() false, as if music had been unavailable from the start;
// MusicUnavailableReason() then names the file.
class FullSound final : public SoundInterface {
public:
    // Tunes are looked up in `programFolder`. Starts no set-up yet.
    explicit FullSound(QString programFolder);
    // The same with another sound font (tests use a missing one), loaded
    // `musicDelay` after music is switched on unless needed sooner.
    FullSound(QString programFolder, QString soundFont,
              std::chrono::milliseconds musicDelay = MusicLoadDelay);
    ~FullSound() override;
    FullSound(const FullSound&) = delete;
    FullSound& operator=(const FullSound&) = delete;

    bool HasSound() const override { return true; }
    void PlayEffect(int index) override;
    QWidget* CreateMediaControl(QWidget* parent) override;
    bool MusicPossible() const override;
    bool MusicCanPlay() const override;
    QString MusicUnavailableReason() const override;
    void EnableMusic() override;
    bool TuneExists(const QString& fileName) const override;
    bool SelectedMusic(const QString& fileName, QString* error) override;
    QString CurrentTune() const override;
    bool MusicStep() override;
    void CloseMusic() override;
    QString UnavailableReason() const override;

    // ----- for tests and benchmarks -----
    TDGCSoundLib& Library();
    TDGCAudio& Audio();
    // Waits for the sound font; null when music is unavailable.
    MidiSequencer* Sequencer() const;
    MediaControl* Media() const { return media_; }
    // Waits for the device; what every call does first.
    void WaitReady() const;
    // Also waits for the sound font and the default tune: what every call
    // that plays or asks about a tune does.
    void WaitMusic();

    static inline const QString DefaultTune = QStringLiteral("ferral.mid");
    static inline const QString DefaultSoundFont =
        QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2");
    // Reading the sound font takes the set-up thread a core for milliseconds;
    // music switched on at start-up is not loaded while the first frames are
    // drawn, and a player has hardly reached for a tune by then.
    static constexpr std::chrono::milliseconds MusicLoadDelay{1000};

private:
    void LoadEmbeddedLibrary();
    void SetUpDevice();
    void RunChecks() const;
    void RequestMusic();
    void LoadMusic(const std::string& soundFont, const std::string& defaultTune);
    bool MusicLoaded();
    void FinishMusic();
    bool OpenTune(const QString& fileName, QString* error);
    bool EnsureTuneOpen();
    void WatchEndNotices();
    void MediaNotify();
    void PlayClick();
    void PauseClick();

    QString folder_;
    QString reason_;
    TDGCSoundLib library_;
    TDGCAudio audio_;
    std::unique_ptr<MidiSequencer> sequencer_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QPointer<MediaControl> media_;
    // The default tune is reopened once when music is wanted and none is open;
    // a missing file is not looked for again on every tick.
    bool defaultTried_ = false;
    // What the checks found, once made: the sound font looks loadable, the
    // default tune opens, and if not, why not.
    mutable bool checked_ = false;
    mutable bool fontUsable_ = false;
    mutable bool tuneOpens_ = false;
    mutable std::string checkReason_;
    // Why the load of the sound font or of the default tune failed.
    std::string loadReason_;
    // EnableMusic came before the music was loaded.
    bool armWanted_ = false;
    bool musicFinished_ = false;
    SetUpThread& SetUp() const;
    const std::string soundFont_;
    const std::string defaultTune_;
    const std::chrono::milliseconds musicDelay_;
    // Ended first in the destructor: its steps fill in the members above,
    // which nothing on the window's thread touches before waiting for them.
    mutable std::unique_ptr<SetUpThread> setUp_;
};

} // namespace mirelo
