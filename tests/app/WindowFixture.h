#pragma once

#include "FakeClock.h"
#include "MediaControl.h"
#include "SoundInterface.h"
#include "TMirelo.h"
#include "WindowProbe.h"

#include <QStringList>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <vector>

// Readable failure messages for Qt values.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QImage& image, std::ostream* os) {
    *os << "QImage " << image.width() << "x" << image.height();
}
QT_END_NAMESPACE

namespace mirelo::test {

class RecordingSound final : public SoundInterface {
public:
    explicit RecordingSound(bool hasSound) : hasSound_(hasSound) {}
    bool HasSound() const override { return hasSound_; }
    void PlayEffect(int index) override { Played.push_back(index); }
    // The real control, so that the toolbar row looks as the full edition's.
    QWidget* CreateMediaControl(QWidget* parent) override {
        return hasSound_ ? new MediaControl(parent) : nullptr;
    }
    // No sound device, no music either.
    bool MusicPossible() const override { return Possible && Reason.isEmpty(); }
    bool MusicCanPlay() const override { return CanPlay; }
    QString MusicUnavailableReason() const override { return MusicReason; }
    void EnableMusic() override { Enabled = true; }
    bool TuneExists(const QString& fileName) const override {
        Looked.push_back(fileName);
        return Tunes.contains(fileName);
    }
    // A tune in Unplayable fails to open with an error naming it; the tune open
    // before stays open, or none is when FailureClosesTune.
    bool SelectedMusic(const QString& fileName, QString* error) override {
        Selected.push_back(fileName);
        if (Unplayable.contains(fileName)) {
            *error = QStringLiteral("\"%1\" is not a MIDI file.").arg(fileName);
            if (FailureClosesTune)
                Open.clear();
            return false;
        }
        Open = fileName;
        return true;
    }
    QString CurrentTune() const override { return Open; }
    bool MusicStep() override {
        ++Steps;
        return Loading;
    }
    void CloseMusic() override { Closed = true; }
    QString UnavailableReason() const override { return Reason; }

    std::vector<int> Played;
    bool Possible = true;
    bool CanPlay = false;
    QString MusicReason;
    QStringList Unplayable;
    bool FailureClosesTune = false;
    QString Open = QStringLiteral("ferral.mid");
    bool Enabled = false;
    bool Closed = false;
    int Steps = 0;
    bool Loading = false; // the music is still on its way
    QStringList Tunes;
    // The tunes looked for, and those selected.
    mutable QStringList Looked;
    QStringList Selected;
    QString Reason;

private:
    bool hasSound_;
};

struct Box {
    QString Caption;
    QString Text;
};

// A main window on the offscreen screen with a fake clock, recorded sounds and
// recorded message boxes.
class WindowTest : public ::testing::Test {
protected:
    void Make(Options options = {}, bool fullEdition = false, int screenWidth = 800);
    // Moves the pointer to board point (px, py) and releases `button` there.
    void ClickBoard(int px, int py, Qt::MouseButton button = Qt::LeftButton);
    // The client point of board point (px, py).
    QPoint ClientPoint(int px, int py) const;
    // The window surface's rows from `top`, `height` high, as an image.
    QImage SurfaceRows(int top, int height) const;
    // The 468 rows of the board picture from `top`, left of the Hall of Fame
    // strip, which is drawn over the board.
    QImage BoardRows(int top) const { return SurfaceRows(top, 468).copy(0, 0, 700, 468); }
    // The board of the window's game as a full redraw composes it, drawn apart
    // from the window at the window's scale (or at `scale`): what the window
    // should show.
    QImage ComposedBoard(int scale = 0) const;

    // The window's insides, as the checks see and set them.
    WindowProbe probe() const { return WindowProbe(*window); }

    FakeClock clock;
    std::unique_ptr<RecordingSound> sound;
    std::unique_ptr<TMirelo> window;
    std::vector<Box> boxes;
    // The window's own message box, which `boxes` records in its place.
    std::function<void(const QString&, const QString&)> realInfoBox;
    Qt::KeyboardModifiers held = Qt::NoModifier;
};

} // namespace mirelo::test
