#pragma once

#include "SoundInterface.h"
#include "SystemClock.h"
#include "TMirelo.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <ostream>

// Readable failure messages for Qt values.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
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
    std::vector<int> Played;

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

    FakeClock clock;
    std::unique_ptr<RecordingSound> sound;
    std::unique_ptr<TMirelo> window;
    std::vector<Box> boxes;
    Qt::KeyboardModifiers held = Qt::NoModifier;
};

} // namespace mirelo::test
