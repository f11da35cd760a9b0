// "Play music" on machines that lack something: the real program says why
// once, and saves the player's choice.
#include "ProfileFile.h"
#include "XSession.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

namespace mirelo::test {
namespace {

void WriteSettings(const XSession& x, const QByteArray& text) {
    QFile file(x.ConfigHome() + QStringLiteral("/Mirelo.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

QString Saved(const XSession& x, const char* key) {
    ProfileFile file;
    file.Load(x.ConfigHome() + QStringLiteral("/Mirelo.ini"));
    return file.ReadString(QStringLiteral("Mirelo"), QString::fromLatin1(key),
                           QStringLiteral("<absent>"));
}

// The game's windows other than its main window, which alone is wider than any
// message box.
QStringList Boxes(XSession& x) {
    QStringList boxes;
    for (const QString& window : x.GameWindows())
        if (x.WindowGeometry(window).width() < 640)
            boxes << window;
    return boxes;
}

QString MainWindow(XSession& x) {
    for (const QString& window : x.GameWindows())
        if (x.WindowGeometry(window).width() >= 640)
            return window;
    return {};
}

// Waits for exactly one box and closes it with Return.
bool AnswerTheOneBox(XSession& x) {
    QStringList boxes;
    if (!PollUntil([&] { return !(boxes = Boxes(x)).isEmpty(); }, 10000) || boxes.size() != 1)
        return false;
    return x.Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), boxes.first(),
                      QStringLiteral("key"), QStringLiteral("Return")}) &&
           PollUntil([&] { return Boxes(x).isEmpty(); }, 5000);
}

bool KeysToMain(XSession& x, const QStringList& keys) {
    const QString main = MainWindow(x);
    for (const QString& key : keys) {
        if (main.isEmpty() || !x.Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"),
                                          main, QStringLiteral("key"), key}))
            return false;
        QThread::msleep(120);
    }
    return true;
}

// The program copied with its tunes but the default one: it says so, and a
// checked "Play music" stays saved as checked.
TEST(MusicUnavailable, WithoutTheDefaultTuneTheGameSaysWhyAndKeepsTheChoice) {
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(GameProgram("mirelo"), folder.filePath(QStringLiteral("mirelo"))));
    for (const char* tune : {"gokuraku.mid", "mirelo.mid", "gisors.mid"})
        ASSERT_TRUE(QFile::copy(GameProgram(tune), folder.filePath(QString::fromLatin1(tune))));

    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    WriteSettings(x, "[Mirelo]\nPlayMusic=1\n");
    ASSERT_TRUE(x.Start(folder.filePath(QStringLiteral("mirelo"))));
    ASSERT_TRUE(AnswerTheOneBox(x)) << "no single box said why the music cannot play";
    ASSERT_TRUE(KeysToMain(x, {QStringLiteral("ctrl+c")}));
    ASSERT_EQ(x.WaitForExit(10000), 0);
    EXPECT_EQ(Saved(x, "PlayMusic"), "1");

    // With the default tune back there is nothing to say: no box holds up the close.
    ASSERT_TRUE(
        QFile::copy(GameProgram("ferral.mid"), folder.filePath(QStringLiteral("ferral.mid"))));
    ASSERT_TRUE(x.Start(folder.filePath(QStringLiteral("mirelo"))));
    EXPECT_TRUE(Boxes(x).isEmpty());
    ASSERT_TRUE(KeysToMain(x, {QStringLiteral("ctrl+c")}));
    ASSERT_EQ(x.WaitForExit(10000), 0);
    EXPECT_EQ(Saved(x, "PlayMusic"), "1");
}

// Whether the game has SDL2 in memory, which it opens only for sound.
bool SdlMapped(XSession& x) {
    QFile maps(QStringLiteral("/proc/%1/maps").arg(x.Game().processId()));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains("libSDL2");
}

// No sound device and both sound options off: the start says nothing and does
// not even open SDL2. "Play music" ticked through the menu then says once that
// there is no sound, and the tick is saved.
TEST(MusicUnavailable, PlayMusicTickedWithoutASoundDeviceSaysSoThenAndIsSaved) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    WriteSettings(x, "[Mirelo]\nPlayMusic=0\nPlaySounds=0\n");
    ASSERT_TRUE(x.Start(GameProgram("mirelo"), {QStringLiteral("SDL_AUDIODRIVER=nosuchdriver")}));
    // The first picture is on the screen: the board's many colours.
    ASSERT_TRUE(PollUntil(
        [&] {
            const QImage shot = x.Screenshot(MainWindow(x));
            return !shot.isNull() && shot.pixel(400, 300) != shot.pixel(5, 100);
        },
        10000));
    QThread::msleep(500);
    EXPECT_TRUE(Boxes(x).isEmpty());
    EXPECT_FALSE(SdlMapped(x));
    // "Options" has no mnemonic: open Background and step left to it. Its
    // Configuration: Never warn, Begin game, Play sound effects, Play music.
    ASSERT_TRUE(
        KeysToMain(x, {QStringLiteral("alt+b"), QStringLiteral("Left"), QStringLiteral("Right"),
                       QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
                       QStringLiteral("Return")}));
    ASSERT_TRUE(AnswerTheOneBox(x)) << "no single box said that sound is unavailable";
    EXPECT_TRUE(SdlMapped(x));
    ASSERT_TRUE(KeysToMain(x, {QStringLiteral("ctrl+c")}));
    ASSERT_EQ(x.WaitForExit(10000), 0);
    EXPECT_EQ(Saved(x, "PlayMusic"), "1");
    EXPECT_EQ(Saved(x, "PlaySounds"), "0");
}

} // namespace
} // namespace mirelo::test
