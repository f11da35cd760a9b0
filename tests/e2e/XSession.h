#pragma once

#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QPoint& p, std::ostream* os) {
    *os << '(' << p.x() << ", " << p.y() << ')';
}
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.width() << 'x' << r.height() << " at (" << r.x() << ", " << r.y() << ')';
}
QT_END_NAMESPACE

namespace mirelo::test {

// A private Xvfb screen with the game running on it, driven by xdotool and
// read back through screenshots.
class XSession {
public:
    XSession(int width, int height);
    ~XSession();

    bool Ok() const { return !display_.isEmpty(); }
    QString Display() const { return display_; }

    // Starts `program` with `environment` added; waits until its window shows.
    bool Start(const QString& program, const QStringList& environment = {});
    // Starts another program on this screen, sharing the session's folders.
    std::unique_ptr<QProcess> Launch(const QString& program, const QStringList& environment = {});
    // Starts a window manager, for tests that minimise and raise windows.
    bool StartWindowManager();
    // Whether a visible (mapped) window of the game is on the screen.
    bool GameWindowVisible();
    QProcess& Game() { return game_; }
    // Runs xdotool with `arguments` on this screen.
    bool Xdotool(const QStringList& arguments);
    // Clicks at screen point (x, y) with `button` (1 left, 3 right).
    bool Click(int x, int y, int button = 1);
    // Focuses the game's window and types `keys` (xdotool key syntax).
    bool Key(const QString& keys);
    // The whole screen, or only the window `window` (a menu that is not drawn
    // into the root window's picture, for one).
    QImage Screenshot(const QString& window = {});
    // The visible top-level windows of the game's process.
    QStringList GameWindows();
    // The window's title as the window manager reads it (`_NET_WM_NAME`).
    QString WindowName(const QString& window);
    // Where a window lies on the screen; an empty rectangle when it cannot be told.
    QRect WindowGeometry(const QString& window);
    // Waits for the game to end; returns its exit code, or -1 on a time-out.
    int WaitForExit(int milliseconds);

    const QString& ConfigHome() const { return configHome_; }
    QString WindowId() const { return window_; }

private:
    QProcessEnvironment Environment(const QStringList& extra) const;
    QString XdotoolOutput(const QStringList& arguments);

    QProcess xvfb_;
    QProcess windowManager_;
    QProcess game_;
    QProcess bus_;
    QTemporaryDir runtime_;
    QTemporaryDir config_;
    QString display_;
    QString configHome_;
    QString busAddress_;
    QString window_;
};

// Checks `condition` every `intervalMs` until it holds or `milliseconds` pass;
// whether it held.
bool PollUntil(const std::function<bool()>& condition, int milliseconds, int intervalMs = 50);

// The path of one of the game's programs in the build.
QString GameProgram(const char* name);

// Opens a menu by its mnemonic `menuKey`, walks `downs` items down, presses
// `moreKeys` and chooses with Return, a key at a time as a player would.
bool ChooseFromMenu(XSession& x, const QString& menuKey, int downs,
                    const QStringList& moreKeys = {});

// The value of `key` in `section` of the session's Mirelo.ini; "<absent>" when
// it has none.
QString SettingValue(const XSession& x, const char* section, const char* key);

// The screen row where the window's client area shows the row `pictureRow` of
// `picture`, found by matching one column of pixels; -1 when it is not shown.
int FindPictureRow(const QImage& screen, const QImage& picture, int column);

} // namespace mirelo::test
