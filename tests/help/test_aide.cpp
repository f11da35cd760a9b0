#include "TAide.h"
#include "TLabel3D.h"
#include "TileSheet.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace mirelo {
namespace {

const QColor Purple(128, 0, 64);
const QColor Blanks[3] = {QColor(250, 230, 200), QColor(180, 200, 255), QColor(255, 180, 180)};

// Picture p's symbol: a 10 x 10 block of a colour of its own at (15, 20).
QColor Symbol(int picture) {
    return QColor(picture * 5, 255 - picture * 5, 77);
}

TileSheet PlainSheet() {
    QImage gfx(360, 306, QImage::Format_RGB32);
    gfx.fill(Qt::black);
    QImage mask(360, 250, QImage::Format_RGB32);
    mask.fill(Qt::white);
    QPainter g(&gfx), m(&mask);
    for (int p = 1; p <= 42; ++p) {
        const QRect symbol(TileSheet::TilePictureOrigin(p) + QPoint(15, 20), QSize(10, 10));
        g.fillRect(symbol, Symbol(p));
        m.fillRect(symbol, Qt::black);
    }
    for (int style = 0; style < 3; ++style)
        g.fillRect(QRect(TileSheet::TileBlankOrigin(style), QSize(40, 50)), Blanks[style]);
    return TileSheet(gfx, mask);
}

// Where picture p lies in the table: rows of 9, 9, 9, then Flowers and Winds,
// then Seasons and Dragons, 45 pixels apart.
QPoint TableSpot(int p) {
    if (p <= 9)
        return {45 * (p - 1), 24};
    if (p <= 18)
        return {45 * (p - 10), 104};
    if (p <= 27)
        return {45 * (p - 19), 184};
    if (p <= 31)
        return {45 * (p - 28), 264};
    if (p <= 35)
        return {45 * (p - 32), 344};
    if (p <= 38)
        return {270 + 45 * (p - 36), 344};
    return {225 + 45 * (p - 39), 264};
}

void ExpectTableIn(const QImage& pai, int style) {
    ASSERT_EQ(pai.size(), QSize(410, 409));
    for (int p = 1; p <= 42; ++p) {
        SCOPED_TRACE(p);
        const QPoint at = TableSpot(p);
        EXPECT_EQ(pai.pixelColor(at), Blanks[style]);
        EXPECT_EQ(pai.pixelColor(at + QPoint(39, 49)), Blanks[style]);
        EXPECT_EQ(pai.pixelColor(at + QPoint(20, 25)), Symbol(p));
        EXPECT_EQ(pai.pixelColor(at + QPoint(40, 0)), Purple);
        EXPECT_EQ(pai.pixelColor(at + QPoint(0, 50)), Purple);
        if (at.x() > 0) {
            EXPECT_EQ(pai.pixelColor(at - QPoint(1, 0)), Purple);
        }
    }
}

// Pixels of the white captions, smoothed edges included; the tiles are not on purple.
int WhitePixels(const QImage& image, const QRect& area) {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += c != Purple && c.green() > 100 && c.red() >= 128 && c.blue() >= 64;
        }
    return count;
}

TEST(HelpTiles, TableFollowsTheStyleInForceFromBeforeTheFirstGame) {
    TileSheet sheet = PlainSheet();
    ASSERT_EQ(sheet.AppliedTileStyle, NoStyleApplied); // nothing composed yet
    TAide aide;
    aide.PaintTiles(sheet, StyleBlue);
    ExpectTableIn(aide.Pai, StyleBlue);
    aide.PaintTiles(sheet, StyleRed);
    ExpectTableIn(aide.Pai, StyleRed);
    // Twice in the same style: painted again, still right.
    aide.Pai.fill(Qt::black);
    aide.PaintTiles(sheet, StyleRed);
    ExpectTableIn(aide.Pai, StyleRed);
    EXPECT_EQ(aide.PaiView->pixmap().toImage().convertToFormat(QImage::Format_RGB32), aide.Pai);
}

TEST(HelpTiles, CaptionsSitAboveTheirRows) {
    TileSheet sheet = PlainSheet();
    TAide aide;
    aide.PaintTiles(sheet, StyleWood);
    const QImage& pai = aide.Pai;
    const QPoint captions[] = {{0, 4},   {0, 82},    {0, 162},  {0, 242},
                               {0, 322}, {295, 242}, {287, 322}};
    // Every caption starts with a capital letter, so its ink starts at the same
    // distance from the point it is written at.
    std::optional<QPoint> inkOffset;
    for (const QPoint& at : captions) {
        SCOPED_TRACE(at.y());
        QRect ink;
        for (int y = at.y() - 4; y < at.y() + 16; ++y)
            for (int x = at.x(); x < at.x() + 10; ++x)
                if (WhitePixels(pai, QRect(x, y, 1, 1)))
                    ink |= QRect(x, y, 1, 1);
        ASSERT_FALSE(ink.isEmpty());
        const QPoint offset = ink.topLeft() - at;
        EXPECT_GE(offset.y(), 0);
        EXPECT_LE(offset.y(), 4);
        if (!inkOffset)
            inkOffset = offset;
        EXPECT_EQ(offset.y(), inkOffset->y());
        EXPECT_LE(offset.x(), 1);
    }
    // The captions end before the picture's edge and leave the middle of their lines empty.
    EXPECT_EQ(WhitePixels(pai, QRect(160, 242, 120, 16)), 0);
    EXPECT_EQ(WhitePixels(pai, QRect(160, 322, 120, 16)), 0);
    EXPECT_GT(WhitePixels(pai, QRect(380, 242, 30, 16)), 0);
}

// Runs `step` once the modal window is up, then leaves it to `step` to close it.
void WhenModal(QWidget* expected, std::function<void()> step) {
    auto* poll = new QTimer(expected);
    QObject::connect(poll, &QTimer::timeout, expected, [=] {
        if (QApplication::activeModalWidget() != expected)
            return;
        poll->stop();
        poll->deleteLater();
        step();
    });
    poll->start(10);
}

TEST(HelpWindow, OpensModallyOnNotesThenOnTheLastPageShown) {
    TileSheet sheet = PlainSheet();
    TAide aide;
    int seenPage = -1;
    WhenModal(&aide, [&] {
        seenPage = aide.AideEnLigne->currentIndex();
        aide.AideEnLigne->setCurrentIndex(TAide::Tiles);
        aide.PageOK[TAide::Tiles]->click();
    });
    aide.HelpClick(sheet, StyleWood);
    EXPECT_EQ(seenPage, TAide::Notes);
    EXPECT_EQ(aide.result(), QDialog::Accepted);
    EXPECT_FALSE(aide.isVisible());

    QImage shown;
    WhenModal(&aide, [&] {
        seenPage = aide.AideEnLigne->currentIndex();
        shown = aide.PaiView->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
        aide.setResult(QDialog::Rejected);
        QTest::keyClick(&aide, Qt::Key_Return); // the shown page's OK is the default
    });
    aide.HelpClick(sheet, StyleBlue);
    EXPECT_EQ(seenPage, TAide::Tiles);
    EXPECT_EQ(aide.result(), QDialog::Accepted);
    ExpectTableIn(shown, StyleBlue);
}

TEST(HelpWindow, EnterClosesFromWhicheverPageIsShown) {
    TAide aide;
    for (int page : {TAide::English, TAide::Tiles, TAide::Francais, TAide::Notes}) {
        SCOPED_TRACE(page);
        aide.open();
        aide.setResult(QDialog::Rejected);
        aide.AideEnLigne->setCurrentIndex(page);
        QTest::keyClick(&aide, Qt::Key_Return);
        EXPECT_FALSE(aide.isVisible());
        EXPECT_EQ(aide.result(), QDialog::Accepted);
    }
}

TEST(HelpWindow, EveryOkButtonClosesWithOk) {
    TAide aide;
    std::vector<QPushButton*> buttons(std::begin(aide.PageOK), std::end(aide.PageOK));
    buttons.push_back(aide.BitBtn1);
    for (int i = 0; i < int(buttons.size()); ++i) {
        SCOPED_TRACE(i);
        if (i < 4)
            aide.AideEnLigne->setCurrentIndex(i);
        aide.open();
        aide.setResult(QDialog::Rejected);
        ASSERT_TRUE(buttons[i]->isVisible());
        buttons[i]->click();
        EXPECT_FALSE(aide.isVisible());
        EXPECT_EQ(aide.result(), QDialog::Accepted);
    }
}

TEST(HelpWindow, ControlsFitTheirPages) {
    TileSheet sheet = PlainSheet();
    TAide aide;
    aide.PaintTiles(sheet, StyleWood);
    aide.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&aide));
    // The small OK button lies in the free end of the tab row.
    const QRect tabs = aide.AideEnLigne->tabBar()->geometry();
    EXPECT_LT(tabs.right(), aide.BitBtn1->x());
    EXPECT_LE(aide.BitBtn1->geometry().bottom(), tabs.bottom());
    for (int page = 0; page < 4; ++page) {
        aide.AideEnLigne->setCurrentIndex(page);
        QApplication::processEvents();
        QWidget* shown = aide.AideEnLigne->widget(page);
        const QPushButton* ok = aide.PageOK[page];
        SCOPED_TRACE(page);
        EXPECT_TRUE(shown->rect().contains(QRect(ok->mapTo(shown, QPoint()), ok->size())));
    }
    // The whole table shows, and the Tiles page's OK covers no tile.
    EXPECT_GE(aide.TilesPage->height(), 409);
    const QRect ok = aide.PageOK[TAide::Tiles]->geometry().translated(-aide.PaiView->pos());
    for (int y = ok.top(); y <= ok.bottom(); ++y)
        for (int x = ok.left(); x <= ok.right(); ++x)
            ASSERT_EQ(aide.Pai.pixelColor(x, y), Purple) << x << "," << y;
    // The headings wrap inside the page rather than run off it.
    for (TLabel3D* title : {aide.EnglishTitle, aide.FrancaisTitle}) {
        aide.AideEnLigne->setCurrentWidget(title->parentWidget());
        QApplication::processEvents();
        EXPECT_LE(title->geometry().right(), title->parentWidget()->width());
        EXPECT_GE(title->height(), title->heightForWidth(title->width()));
    }
}

} // namespace
} // namespace mirelo
