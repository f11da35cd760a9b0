#pragma once

#include <QString>

class QWidget;

namespace mirelo {

// What the main window needs of sound and music. The full edition passes the
// real thing; the silent edition passes SilentSound and links no audio at all.
class SoundInterface {
public:
    virtual ~SoundInterface() = default;

    // Whether this edition has sound: the sound and music menu items, the Music
    // menu, the music control and the two settings keys exist only then.
    virtual bool HasSound() const = 0;

    // Plays effect 0 (tile accepted), 1 (pair removed) or 2 (refused) from its
    // start, cutting only an earlier play of the same effect.
    virtual void PlayEffect(int index) = 0;

    // ----- music, full edition -----

    // The music control (Play and Pause buttons), made once as a child of
    // `parent`; nullptr when the edition has none.
    virtual QWidget* CreateMediaControl(QWidget* parent) {
        (void)parent;
        return nullptr;
    }
    // Tunes can be played at all: there is a sound device and a sound font.
    virtual bool MusicPossible() const { return false; }
    // The default tune is open and the sequencer can play it.
    virtual bool MusicCanPlay() const { return false; }
    // Why no tune, or not the default tune, can play, naming the file at
    // fault; empty when the default tune can play.
    virtual QString MusicUnavailableReason() const { return {}; }
    // Start-up with music possible and wanted: enables the control.
    virtual void EnableMusic() {}
    // Whether the tune `fileName` lies in the program's folder.
    virtual bool TuneExists(const QString& fileName) const {
        (void)fileName;
        return false;
    }
    // Closes the current tune, opens `fileName` from the program's folder and
    // plays it from the start. False, with the reason in `error`, when it cannot.
    virtual bool SelectedMusic(const QString& fileName, QString* error) {
        (void)fileName;
        (void)error;
        return false;
    }
    // The file name of the tune that is open now; empty when none is.
    virtual QString CurrentTune() const { return {}; }
    // The heartbeat's music step, while "Play music" is on: opens the tune
    // once the music is loaded and restarts a tune that reached its end.
    // True while the music is still loading and wants another step soon;
    // after that the end of a tune is noticed without steps.
    virtual bool MusicStep() { return false; }
    // At close: stops listening for the end of play and closes the device.
    virtual void CloseMusic() {}
    // Why sound cannot be heard on this machine; empty when it can.
    virtual QString UnavailableReason() const { return {}; }
};

inline constexpr int SoundAccepted = 0;
inline constexpr int SoundRemoved = 1;
inline constexpr int SoundRefused = 2;

class SilentSound final : public SoundInterface {
public:
    bool HasSound() const override { return false; }
    void PlayEffect(int) override {}
};

} // namespace mirelo
