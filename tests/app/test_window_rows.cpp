// The toolbar row and the status row as the player sees them, against the
// reference pictures in tests/app/reference: every caption, icon, position,
// size, font and panel text of the two rows at once. What a picture cannot
// show (tool tips, enabled states, what a click or a key does) is asserted
// where that behaviour is tested. ReferencePicture.h says how to write the
// pictures anew after a deliberate change.
#include "ReferencePicture.h"
#include "WindowFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QFontInfo>
#include <QLabel>
#include <QStatusBar>

namespace mirelo::test {
namespace {

class WindowRows : public WindowTest {
protected:
    void SetUp() override {
        // The references are drawn at ratio 1; a run at another scale has its own tests.
        if (qApp->devicePixelRatio() != 1.0)
            GTEST_SKIP() << "device pixel ratio " << qApp->devicePixelRatio();
    }

    // The part of the window that `row` covers, with what lies over it, as
    // drawn at device pixel ratio 1.
    QImage Picture(const QWidget* row) {
        // The pointer well away, so that no control shows a hover look.
        QCursor::setPos(window->mapToGlobal(QPoint(window->width() / 2, window->height() + 40)));
        QApplication::processEvents();
        QImage image(window->size(), QImage::Format_RGB32);
        image.setDevicePixelRatio(1);
        image.fill(Qt::magenta);
        window->render(&image);
        return image.copy(QRect(row->mapTo(window.get(), QPoint(0, 0)), row->size()));
    }

    QWidget* ToolbarRow() const {
        return window->findChild<QWidget*>(QStringLiteral("ToolbarRow"));
    }
};

// Pictures hold only with the fonts the tests are set up with (scripts/setup.sh
// installs fonts-liberation2); a stand-in font would fail them for another reason.
::testing::AssertionResult TextsInLiberationFonts(const QWidget* row) {
    for (const QWidget* w : row->findChildren<QWidget*>()) {
        QString text;
        if (const auto* label = qobject_cast<const QLabel*>(w))
            text = label->text();
        else if (const auto* button = qobject_cast<const QAbstractButton*>(w))
            text = button->text();
        const QString family = QFontInfo(w->font()).family();
        if (!text.isEmpty() && !family.startsWith(QStringLiteral("Liberation ")))
            return ::testing::AssertionFailure()
                   << '"' << text.toStdString() << "\" is drawn in " << family.toStdString()
                   << ", not in a Liberation font (fonts-liberation2, see scripts/setup.sh)";
    }
    return ::testing::AssertionSuccess();
}

TEST_F(WindowRows, ToolbarOfTheFullEditionWithItsMusicControl) {
    Make({}, true);
    const QWidget* row = ToolbarRow();
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(TextsInLiberationFonts(row));
    EXPECT_TRUE(MatchesReference(Picture(row), "toolbar_full"));
}

TEST_F(WindowRows, ToolbarOfTheSilentEdition) {
    Make({}, false);
    const QWidget* row = ToolbarRow();
    ASSERT_NE(row, nullptr);
    ASSERT_TRUE(TextsInLiberationFonts(row));
    EXPECT_TRUE(MatchesReference(Picture(row), "toolbar_silent"));
}

// After the first tick of a fresh deal: the captions, the counts, the clock
// and the banner.
TEST_F(WindowRows, StatusRowOfAFreshDeal) {
    Make();
    window->Temps();
    const QStatusBar* row = window->statusBar();
    ASSERT_TRUE(TextsInLiberationFonts(row));
    EXPECT_TRUE(MatchesReference(Picture(row), "status_row"));
}

} // namespace
} // namespace mirelo::test
