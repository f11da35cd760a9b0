// Options changed through the menus reach Mirelo.ini at the close and are in
// force at the next start.
#include "XSession.h"

#include <QThread>
#include <gtest/gtest.h>

namespace mirelo::test {
namespace {

TEST(OptionsThroughMenus, AreSavedAtCloseAndInForceAtTheNextStart) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    ASSERT_TRUE(x.Start(GameProgram("mirelo_silent")));
    // Tiles › Red (third item), Background › Kanji (first), Options › Highlight › Color.
    ASSERT_TRUE(ChooseFromMenu(x, QStringLiteral("alt+t"), 2));
    ASSERT_TRUE(ChooseFromMenu(x, QStringLiteral("alt+b"), 0));
    // "Options" has no mnemonic: open Background and step left to it. Its items:
    // Configuration, Player name, Show Moves, Show Toolbar, Highlight.
    const QStringList toOptions{QStringLiteral("Left")};
    ASSERT_TRUE(
        ChooseFromMenu(x, QStringLiteral("alt+b"), 0,
                       toOptions + QStringList{QStringLiteral("Down"), QStringLiteral("Down"),
                                               QStringLiteral("Down"), QStringLiteral("Down"),
                                               QStringLiteral("Right"), QStringLiteral("Down"),
                                               QStringLiteral("Down")}));
    // Options › Configuration › Never warn, then Begin game at startup.
    ASSERT_TRUE(ChooseFromMenu(x, QStringLiteral("alt+b"), 0,
                               toOptions + QStringList{QStringLiteral("Right")}));
    ASSERT_TRUE(
        ChooseFromMenu(x, QStringLiteral("alt+b"), 0,
                       toOptions + QStringList{QStringLiteral("Right"), QStringLiteral("Down")}));
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+m"))); // Show Moves off
    // Options › Player name: the dialog takes the keys typed while it is up.
    ASSERT_TRUE(ChooseFromMenu(x, QStringLiteral("alt+b"), 0,
                               toOptions + QStringList{QStringLiteral("Down")}));
    ASSERT_TRUE(
        x.Xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a"), QStringLiteral("BackSpace")}));
    ASSERT_TRUE(x.Xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"),
                           QStringLiteral("Ada")}));
    ASSERT_TRUE(x.Xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
    QThread::msleep(200);
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    ASSERT_EQ(x.WaitForExit(10000), 0);

    EXPECT_EQ(SettingValue(x, "Mirelo", "Tileset"), "2");
    EXPECT_EQ(SettingValue(x, "Mirelo", "Background"), "0");
    EXPECT_EQ(SettingValue(x, "Mirelo", "Highlight"), "2");
    EXPECT_EQ(SettingValue(x, "Mirelo", "NeverWarn"), "1");
    EXPECT_EQ(SettingValue(x, "Mirelo", "StartDirectly"), "0");
    EXPECT_EQ(SettingValue(x, "Mirelo", "ShowMoves"), "0");
    EXPECT_EQ(SettingValue(x, "Mirelo", "CurrentPlayer1"), "Ada");

    // The next start reads them: no game is dealt, so the window shows the Kanji
    // background alone; closing at once writes the same values back.
    ASSERT_TRUE(x.Start(GameProgram("mirelo")));
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    ASSERT_EQ(x.WaitForExit(10000), 0);
    EXPECT_EQ(SettingValue(x, "Mirelo", "Tileset"), "2");
    EXPECT_EQ(SettingValue(x, "Mirelo", "StartDirectly"), "0");
    EXPECT_EQ(SettingValue(x, "Mirelo", "Highlight"), "2");
    EXPECT_EQ(SettingValue(x, "Mirelo", "CurrentPlayer1"), "Ada");
}

} // namespace
} // namespace mirelo::test
