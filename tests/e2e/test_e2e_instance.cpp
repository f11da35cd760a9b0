// One running copy, and an orderly end by signal: real processes on a real X server.
#include "XSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace mirelo::test {
namespace {

QString SettingsOf(const XSession& x) {
    return x.ConfigHome() + QStringLiteral("/Mirelo.ini");
}

class SecondCopy : public ::testing::TestWithParam<const char*> {};

TEST_P(SecondCopy, RaisesTheMinimisedFirstCopyAndEndsWithoutSaving) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    ASSERT_TRUE(x.StartWindowManager());
    ASSERT_TRUE(x.Start(GameProgram("mirelo")));
    ASSERT_TRUE(
        x.Xdotool({QStringLiteral("windowminimize"), QStringLiteral("--sync"), x.WindowId()}));
    ASSERT_TRUE(PollUntil([&] { return !x.GameWindowVisible(); }, 5000))
        << "the window did not minimise";

    auto second = x.Launch(GameProgram(GetParam()));
    // A copy that ends starts up first: under the sanitizers, beside a busy
    // suite, that alone has taken over 15 s.
    ASSERT_TRUE(second->waitForFinished(60000)) << "the second copy kept running";
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(PollUntil([&] { return x.GameWindowVisible(); }, 5000))
        << "the first copy was not restored";
    EXPECT_FALSE(QFile::exists(SettingsOf(x))) << "the second copy wrote the settings";
    EXPECT_EQ(x.Game().state(), QProcess::Running);

    // The first copy still saves on its own close.
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(30000), 0);
    EXPECT_TRUE(QFile::exists(SettingsOf(x)));
}

INSTANTIATE_TEST_SUITE_P(EitherEdition, SecondCopy, ::testing::Values("mirelo", "mirelo_silent"),
                         [](const auto& info) { return std::string(info.param); });

TEST(OrderlyEnd, SigtermClosesTheWindowAndSaves) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    ASSERT_TRUE(x.Start(GameProgram("mirelo_silent")));
    x.Game().terminate(); // SIGTERM
    EXPECT_EQ(x.WaitForExit(30000), 0);
    QFile file(SettingsOf(x));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("[Mirelo]"));
    EXPECT_TRUE(text.contains("[Beatle]"));
}

TEST(StaleMarker, AKilledCopyDoesNotBlockTheNextStart) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    ASSERT_TRUE(x.Start(GameProgram("mirelo")));
    x.Game().kill(); // SIGKILL: no chance to clean up
    x.Game().waitForFinished(5000);
    ASSERT_TRUE(PollUntil([&] { return !x.GameWindowVisible(); }, 5000));

    auto next = x.Launch(GameProgram("mirelo_silent"));
    EXPECT_TRUE(PollUntil([&] { return x.GameWindowVisible(); }, 60000))
        << "the next start did not show its window";
    EXPECT_FALSE(next->waitForFinished(1500)) << "the next start ended as if another copy ran";
    EXPECT_FALSE(QFile::exists(SettingsOf(x))); // the killed copy saved nothing
    next->terminate();
    EXPECT_TRUE(next->waitForFinished(30000));
    EXPECT_TRUE(QFile::exists(SettingsOf(x)));
}

// A session bus that takes connections and never answers, as a stopped or
// wedged bus does: the game starts without it, and ends as it should.
TEST(SilentSessionBus, DoesNotKeepTheWindowFromShowing) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("bus")));
    const int bus = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    ASSERT_GE(bus, 0);
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), qsizetype(sizeof where.sun_path));
    std::copy(path.begin(), path.end(), where.sun_path);
    ASSERT_EQ(bind(bus, reinterpret_cast<const sockaddr*>(&where), sizeof where), 0);
    ASSERT_EQ(listen(bus, 8), 0); // never accepted

    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    EXPECT_TRUE(
        x.Start(GameProgram("mirelo"),
                {QStringLiteral("DBUS_SESSION_BUS_ADDRESS=unix:path=") + QFile::decodeName(path)}))
        << "the window did not show";
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(30000), 0);
    EXPECT_TRUE(QFile::exists(SettingsOf(x)));
    close(bus);
}

struct MarkerContent {
    const char* Name;
    QByteArray Text;
};
void PrintTo(const MarkerContent& content, std::ostream* os) {
    *os << content.Name;
}

// A marker whose owner cannot be read: left empty by a power cut between its
// creation and its first write, or overwritten with garbage.
class UnreadableMarker : public ::testing::TestWithParam<MarkerContent> {};

TEST_P(UnreadableMarker, DoesNotBlockTheNextStart) {
    QTemporaryDir runtime; // the runtime folder, to find the marker in
    ASSERT_TRUE(runtime.isValid());
    const QStringList environment{QStringLiteral("XDG_RUNTIME_DIR=") + runtime.path()};
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    ASSERT_TRUE(x.Start(GameProgram("mirelo_silent"), environment));
    const QStringList markers =
        QDir(runtime.path()).entryList({QStringLiteral("*.lock")}, QDir::Files);
    ASSERT_EQ(markers.size(), 1) << markers.join(QLatin1Char(' ')).toStdString();
    x.Game().kill(); // the socket stays behind too, with no one listening
    x.Game().waitForFinished(5000);
    ASSERT_TRUE(PollUntil([&] { return !x.GameWindowVisible(); }, 5000));
    QFile marker(runtime.filePath(markers[0]));
    ASSERT_TRUE(marker.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(marker.write(GetParam().Text), GetParam().Text.size());
    marker.close();

    auto next = x.Launch(GameProgram("mirelo"), environment);
    EXPECT_TRUE(PollUntil([&] { return x.GameWindowVisible(); }, 60000))
        << "the next start did not show its window";
    EXPECT_FALSE(next->waitForFinished(1500)) << "the next start ended as if another copy ran";
    // It holds the marker now: a third start gives way to it.
    auto third = x.Launch(GameProgram("mirelo_silent"), environment);
    EXPECT_TRUE(third->waitForFinished(60000)) << "the third start kept running";
    EXPECT_EQ(next->state(), QProcess::Running);
    next->terminate();
    EXPECT_TRUE(next->waitForFinished(30000));
}

INSTANTIATE_TEST_SUITE_P(
    EmptyOrGarbage, UnreadableMarker,
    ::testing::Values(MarkerContent{"Empty", QByteArray()},
                      MarkerContent{"Garbage", QByteArray("\x7f\x01garbage\n\nno owner\n")}),
    [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace mirelo::test
