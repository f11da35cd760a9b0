// Window titles as the window manager reads them: exactly the program's own
// texts, with nothing added by the toolkit.
#include "XSession.h"

#include <QThread>
#include <gtest/gtest.h>

namespace mirelo::test {
namespace {

// Presses `keys` in the main window and waits for one more window of the game;
// its title, or "<none>" when none opened.
QString TitleOfWindowOpenedBy(XSession& x, const QStringList& keys) {
    const QStringList before = x.GameWindows();
    for (const QString& key : keys) {
        if (!x.Key(key))
            return QStringLiteral("<keys failed>");
        QThread::msleep(120);
    }
    QString opened;
    PollUntil(
        [&] {
            for (const QString& window : x.GameWindows())
                if (!before.contains(window))
                    opened = window;
            return !opened.isEmpty();
        },
        5000);
    if (opened.isEmpty())
        return QStringLiteral("<none>");
    const QString title = x.WindowName(opened);
    x.Xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), opened,
               QStringLiteral("key"), QStringLiteral("Escape")});
    PollUntil([&] { return !x.GameWindows().contains(opened); }, 5000);
    return title;
}

TEST(WindowTitles, AreTheProgramsOwnTextsWhole) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    ASSERT_TRUE(x.Start(GameProgram("mirelo_silent")));
    EXPECT_EQ(x.WindowName(x.WindowId()), "MIRELO 2.8");
    EXPECT_EQ(TitleOfWindowOpenedBy(x, {QStringLiteral("ctrl+a")}), "About Mirelo");
    EXPECT_EQ(TitleOfWindowOpenedBy(x, {QStringLiteral("F1")}), "Mirelo Help");
    // Options › Player name: "Options" has no mnemonic, so Background is opened
    // and left for it.
    EXPECT_EQ(TitleOfWindowOpenedBy(x, {QStringLiteral("alt+b"), QStringLiteral("Left"),
                                        QStringLiteral("Down"), QStringLiteral("Return")}),
              "Enter your name");
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(10000), 0);
}

} // namespace
} // namespace mirelo::test
