// The player's name through the name dialog, driven by keystrokes, into Mirelo.ini.
#include "SettingsFixture.h"
#include "TConfigu.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace mirelo::test {
namespace {

// U+1F600, outside the Basic Multilingual Plane: two UTF-16 units.
const QString Grin = QString::fromUtf8("\xF0\x9F\x98\x80");
// "e" with a combining diaeresis: two code points, one character.
const QString EDiaeresis = QString::fromUtf8("e\xCC\x88");

class NameTest : public SettingsTest {
protected:
    void Start(const QByteArray& settings) {
        WriteFile(settings);
        SettingsTest::Start();
    }
    // Opens the name dialog from the menu, runs `keys` on its edit, and closes
    // it with Escape, as a player leaving without OK would.
    void InDialog(const std::function<void(QLineEdit*)>& keys) {
        QTimer::singleShot(0, [&] {
            QLineEdit* edit = probe().Configu->PlayerName;
            shown = edit->text();
            keys(edit);
            QTest::keyClick(edit, Qt::Key_Escape);
        });
        probe().Menu.Changeplayername1->trigger();
        ASSERT_FALSE(probe().Configu->isVisible());
    }
    // Types `text` one character at a time, each as the text of one key, as a
    // keyboard or an input method delivers it.
    static void Type(QLineEdit* edit, const QString& text) {
        for (const char32_t codePoint : text.toUcs4()) {
            const QString one = QString::fromUcs4(&codePoint, 1);
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, one);
            QApplication::sendEvent(edit, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, one);
            QApplication::sendEvent(edit, &release);
        }
    }
    QString Saved() {
        Close();
        return Value("Mirelo", "CurrentPlayer1");
    }

    QString shown;
};

TEST_F(NameTest, ALongNameFromTheFileSurvivesTheDialog) {
    Start("[Mirelo]\nCurrentPlayer1=LongPlayerName\n");
    InDialog([](QLineEdit*) {});
    EXPECT_EQ(shown, "LongPlayerName");
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "LongPlayerName");
    EXPECT_EQ(Saved(), "LongPlayerName");
}

TEST_F(NameTest, ALongNameMayBeShortenedButNeverLengthened) {
    Start("[Mirelo]\nCurrentPlayer1=LongPlayerName\n");
    InDialog([](QLineEdit* edit) {
        QTest::keyClick(edit, Qt::Key_End);
        Type(edit, QStringLiteral("X")); // refused: longer still
        EXPECT_EQ(edit->text(), "LongPlayerName");
        QTest::keyClick(edit, Qt::Key_Backspace);
        Type(edit, QStringLiteral("e")); // refused: back over what it was cut to
        EXPECT_EQ(edit->text(), "LongPlayerNam");
    });
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "LongPlayerNam");
    // Once it is short, the limit of 8 holds again.
    InDialog([](QLineEdit* edit) {
        edit->selectAll();
        Type(edit, QStringLiteral("Ann"));
        Type(edit, QStringLiteral("abelleXYZ"));
    });
    EXPECT_EQ(shown, "LongPlayerNam");
    EXPECT_EQ(probe().CurrentPlayer, "Annabell");
    EXPECT_EQ(Saved(), "Annabell");
}

TEST_F(NameTest, TheLimitCountsCharactersAsTheyAreSeenAndNeverSplitsOne) {
    Start("[Mirelo]\nCurrentPlayer1=Zoe\n");
    InDialog([](QLineEdit* edit) {
        edit->clear();
        Type(edit, QStringLiteral("Abcdefg") + Grin); // 8 characters, 9 UTF-16 units
        Type(edit, Grin);                             // a ninth: refused whole
    });
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), QStringLiteral("Abcdefg") + Grin);
    EXPECT_EQ(Saved(), QStringLiteral("Abcdefg") + Grin);

    Start("[Mirelo]\nCurrentPlayer1=Zoe\n");
    InDialog([](QLineEdit* edit) {
        edit->clear();
        Type(edit, QStringLiteral("Zo") + EDiaeresis +
                       QStringLiteral("Andrea")); // the last "a" is a ninth
    });
    EXPECT_EQ(Saved(), QStringLiteral("Zo") + EDiaeresis + QStringLiteral("Andre"));
}

} // namespace
} // namespace mirelo::test
