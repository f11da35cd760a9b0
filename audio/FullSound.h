#pragma once

#include "MediaControl.h"
#include "SoundInterface.h"
#include "TDGCAudio.h"
#include "TDGCSoundLib.h"

#include <QPointer>
#include <QString>
#include <memory>

class QSocketNotifier;

namespace mirelo {

class MidiSequencer;

// The full edition's sound: the embedded sound library played through the
// sound device, and the looping MIDI tunes with their Play/Pause control.
//
// Nothing here stops the game from starting: without a sound device the game
// is silent and UnavailableReason() says why; without a sound font or a
// playable default tune music is unavailable and the control stays disabled.
// Construct it after the QApplication, and call CloseMusic() (as the window does
// when it closes) or destroy it before the QApplication ends: the end of a tune
// is reported through the event loop of the thread that made it.
class FullSound final : public SoundInterface {
public:
    // Tunes are looked up in `programFolder`.
    explicit FullSound(QString programFolder);
    // The same with another sound font (tests use a missing one).
    FullSound(QString programFolder, QString soundFont);
    ~FullSound() override;
    FullSound(const FullSound&) = delete;
    FullSound& operator=(const FullSound&) = delete;

    bool HasSound() const override { return true; }
    void PlayEffect(int index) override;
    QWidget* CreateMediaControl(QWidget* parent) override;
    bool MusicCanPlay() const override;
    void EnableMusic() override;
    bool TuneExists(const QString& fileName) const override;
    bool SelectedMusic(const QString& fileName, QString* error) override;
    void MusicStep() override;
    void CloseMusic() override;
    QString UnavailableReason() const override { return reason_; }

    // ----- for tests and benchmarks -----
    TDGCSoundLib& Library() { return library_; }
    TDGCAudio& Audio() { return audio_; }
    // Null when music is unavailable.
    MidiSequencer* Sequencer() const { return sequencer_.get(); }
    MediaControl* Media() const { return media_; }

    static inline const QString DefaultTune = QStringLiteral("ferral.mid");
    static inline const QString DefaultSoundFont =
        QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2");

private:
    void LoadEmbeddedLibrary();
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
};

} // namespace mirelo
