// One running copy, and an orderly end by signal: real processes on a real X server.
#include "XSession.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <csignal>

namespace mirelo::test {
namespace {

QString SettingsOf(const XSession& x) { return x.ConfigHome() + QStringLiteral("/Mirelo.ini"); }

class SecondCopy : public ::testing::TestWithParam<const char*> {};

TEST_P(SecondCopy, RaisesTheMinimisedFirstCopyAndEndsWithoutSaving) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    ASSERT_TRUE(x.StartWindowManager());
    ASSERT_TRUE(x.Start(GameProgram("mirelo")));
    ASSERT_TRUE(x.Xdotool({QStringLiteral("windowminimize"), QStringLiteral("--sync"), x.WindowId()}));
    ASSERT_TRUE(PollUntil([&] { return !x.GameWindowVisible(); }, 5000)) << "the window did not minimise";

    auto second = x.Launch(GameProgram(GetParam()));
    ASSERT_TRUE(second->waitForFinished(15000)) << "the second copy kept running";
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(PollUntil([&] { return x.GameWindowVisible(); }, 5000)) << "the first copy was not restored";
    EXPECT_FALSE(QFile::exists(SettingsOf(x))) << "the second copy wrote the settings";
    EXPECT_EQ(x.Game().state(), QProcess::Running);

    // The first copy still saves on its own close.
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(10000), 0);
    EXPECT_TRUE(QFile::exists(SettingsOf(x)));
}

INSTANTIATE_TEST_SUITE_P(EitherEdition, SecondCopy, ::testing::Values("mirelo", "mirelo_silent"),
                         [](const auto& info) { return std::string(info.param); });

TEST(OrderlyEnd, SigtermClosesTheWindowAndSaves) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    ASSERT_TRUE(x.Start(GameProgram("mirelo_silent")));
    x.Game().terminate(); // SIGTERM
    EXPECT_EQ(x.WaitForExit(10000), 0);
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
    EXPECT_TRUE(PollUntil([&] { return x.GameWindowVisible(); }, 10000)) << "the next start did not show its window";
    EXPECT_FALSE(next->waitForFinished(1500)) << "the next start ended as if another copy ran";
    EXPECT_FALSE(QFile::exists(SettingsOf(x))); // the killed copy saved nothing
    next->terminate();
    EXPECT_TRUE(next->waitForFinished(10000));
    EXPECT_TRUE(QFile::exists(SettingsOf(x)));
}

} // namespace
} // namespace mirelo::test
