// The real programs on a 1920 x 1200 screen scaled by Qt: at 2 the board is
// the finer pictures pixel for pixel, at 1.5 it is the finer picture shrunk
// smoothly, never the coarse one enlarged; at both, two real clicks on the
// game's points take a free pair off. Zoom 200 chosen in the menu on an
// ordinary screen is in force from the next start.
#include "ExpectedBoard.h"
#include "Tiles.h"
#include "XSession.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace mirelo::test {
namespace {

constexpr std::uint32_t Seed = 4242;

// A free pair that shows, as the deal from Seed lays it.
std::pair<std::uint8_t, std::uint8_t> VisibleFreePair(const ExpectedBoard& expected) {
    for (int i = 1; i <= 144; ++i)
        for (int j = i + 1; j <= 144; ++j)
            if (TileFace(i) == TileFace(j) && expected.game.IsFree(i) && expected.game.IsFree(j) &&
                expected.ClickPoint(static_cast<std::uint8_t>(i)).x() >= 0 &&
                expected.ClickPoint(static_cast<std::uint8_t>(j)).x() >= 0)
                return {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(j)};
    return {0, 0};
}

// Mean absolute difference per colour channel of `a` at `inA` and `b` at `inB`.
double MeanDifference(const QImage& a, QRect inA, const QImage& b, QRect inB) {
    double sum = 0;
    for (int y = 0; y < inA.height(); ++y)
        for (int x = 0; x < inA.width(); ++x) {
            const QRgb p = a.pixel(inA.left() + x, inA.top() + y);
            const QRgb q = b.pixel(inB.left() + x, inB.top() + y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * inA.width() * inA.height());
}

TEST(DenseScreen, AtRatio2TheBoardIsTheFinerArtAndClicksTakeAPair) {
    ExpectedBoard expected(Seed, 1, 2);
    const auto [a, b] = VisibleFreePair(expected);
    ASSERT_NE(b, 0);

    XSession x(1920, 1200);
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    ASSERT_TRUE(x.Start(GameProgram("mirelo_silent"), {QStringLiteral("MIRELO_SEED=%1").arg(Seed),
                                                       QStringLiteral("QT_SCALE_FACTOR=2")}));
    // The window of 800 pixels of the game is 1600 of the screen.
    EXPECT_EQ(x.WindowGeometry(x.WindowId()).width(), 1600);

    const QImage before = x.Screenshot();
    ASSERT_FALSE(before.isNull());
    const int top = FindPictureRow(before, expected.renderer.Buffer, 1380);
    ASSERT_GE(top, 0) << "the finer board picture is not on the screen";
    const QRect board(0, 0, 1400, 936);
    EXPECT_EQ(DifferentPixels(before, board.translated(0, top), expected.renderer.Buffer, board),
              0);

    // Clicks at the game's points, in screen pixels.
    QImage after;
    EXPECT_EQ(RemovePairOnScreen(x, expected, a, b, top, board, 2, after), 0)
        << "the screen does not show the board without the pair (pixels that differ)";
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(10000), 0);
}

TEST(DenseScreen, AtRatio15TheFinerPictureIsShrunkAndClicksTakeAPair) {
    ExpectedBoard fine(Seed, 1, 2);
    ExpectedBoard coarse(Seed, 1, 1);
    const auto [a, b] = VisibleFreePair(coarse);
    ASSERT_NE(b, 0);

    XSession x(1920, 1200);
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    ASSERT_TRUE(x.Start(GameProgram("mirelo_silent"), {QStringLiteral("MIRELO_SEED=%1").arg(Seed),
                                                       QStringLiteral("QT_SCALE_FACTOR=1.5")}));
    EXPECT_EQ(x.WindowGeometry(x.WindowId()).width(), 1200);

    // The board as the two ways of painting it would show it, 1050 x 702.
    const QSize shown(1050, 702);
    const QImage smooth = fine.renderer.Buffer.copy(0, 0, 1400, 936)
                              .scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage doubled = coarse.renderer.Buffer.copy(0, 0, 700, 468)
                               .scaled(shown, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const QImage before = x.Screenshot();
    ASSERT_FALSE(before.isNull());
    // Where the board shows: the screen row that looks most like it.
    const QRect band(0, 0, 1050, 300);
    int top = -1;
    double best = std::numeric_limits<double>::max();
    for (int y = 0; y + shown.height() <= before.height() && y < 200; ++y) {
        const double d = MeanDifference(before, band.translated(0, y), smooth, band);
        if (d < best) {
            best = d;
            top = y;
        }
    }
    ASSERT_LT(best, 8.0) << "the board is not on the screen";
    const QRect board(QPoint(0, 0), shown);
    const double fromFine = MeanDifference(before, board.translated(0, top), smooth, board);
    const double fromCoarse = MeanDifference(before, board.translated(0, top), doubled, board);
    // The board may start between two screen rows, so even the right picture
    // matches only roughly; the coarse one enlarged is twice as far off.
    EXPECT_LT(fromFine * 1.5, fromCoarse) << fromFine << " against " << fromCoarse;

    for (const std::uint8_t tile : {a, b}) {
        const QPoint p = coarse.ClickPoint(tile);
        ASSERT_TRUE(x.Click(static_cast<int>(std::lround(p.x() * 1.5)),
                            top + static_cast<int>(std::lround(p.y() * 1.5))));
    }
    ASSERT_TRUE(
        x.Xdotool({QStringLiteral("mousemove"), QStringLiteral("62"), QString::number(top + 45)}));
    fine.Pick(a);
    fine.Pick(b);
    const QImage smoothAfter = fine.renderer.Buffer.copy(0, 0, 1400, 936)
                                   .scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Where the pair was, the screen looks like the board without it.
    const auto shownBox = [&](std::uint8_t tile) {
        const QRect box = coarse.Box(tile);
        return QRect(QPoint(box.left() * 3 / 2, box.top() * 3 / 2), box.size() * 3 / 2);
    };
    QImage after;
    EXPECT_TRUE(PollUntil(
        [&] {
            after = x.Screenshot();
            for (const std::uint8_t tile : {a, b}) {
                const QRect box = shownBox(tile);
                if (MeanDifference(after, box.translated(0, top), smoothAfter, box) * 2 >=
                    MeanDifference(after, box.translated(0, top), smooth, box))
                    return false;
            }
            return true;
        },
        5000))
        << "the screen does not show the board without the pair";
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(10000), 0);
}

// How far the status line's message shows `text`: the text drawn as the
// window's message panel draws it (Arial 13 px bold, in the panel's darkest
// colour on its own background), at the place in `area` where it matches best;
// the mean difference per colour channel there.
double MessageDifference(const QImage& screen, QRect area, const QString& text) {
    const QRgb paper = screen.pixel(area.right() - 1, area.center().y());
    QRgb ink = paper;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (qGray(screen.pixel(x, y)) < qGray(ink))
                ink = screen.pixel(x, y);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);
    QImage drawn(QFontMetrics(font).horizontalAdvance(text) + 8, 30, QImage::Format_RGB32);
    drawn.fill(paper);
    {
        QPainter painter(&drawn);
        painter.setFont(font);
        painter.setPen(QColor(ink));
        painter.drawText(4, 20, text);
    }
    QRect inked;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if (drawn.pixel(x, y) != paper)
                inked |= QRect(x, y, 1, 1);
    double best = std::numeric_limits<double>::max();
    for (int y = area.top(); y + inked.height() <= area.bottom() + 1; ++y)
        for (int x = area.left(); x + inked.width() <= area.right() + 1; ++x)
            best = std::min(
                best, MeanDifference(screen, QRect(QPoint(x, y), inked.size()), drawn, inked));
    return best;
}

TEST(DenseScreen, Zoom200ChosenInTheMenuIsInForceAtTheNextStart) {
    XSession x(1920, 1200);
    ASSERT_TRUE(x.Ok()) << "Xvfb did not start";
    const QStringList seeded{QStringLiteral("MIRELO_SEED=%1").arg(Seed)};
    ASSERT_TRUE(x.Start(GameProgram("mirelo_silent"), seeded));
    const QRect plain = x.WindowGeometry(x.WindowId());
    EXPECT_EQ(plain.width(), 800);
    // "Options" has no mnemonic: from Background one step left. Zoom is its
    // sixth item, 200 % the third of Zoom's.
    ASSERT_TRUE(
        ChooseFromMenu(x, QStringLiteral("alt+b"), 0,
                       {QStringLiteral("Left"), QStringLiteral("Down"), QStringLiteral("Down"),
                        QStringLiteral("Down"), QStringLiteral("Down"), QStringLiteral("Down"),
                        QStringLiteral("Right"), QStringLiteral("Down"), QStringLiteral("Down")}));
    // The message panel: the status line's bottom 25 rows, right of the value panels.
    const QRect message(plain.left() + 385, plain.bottom() - 24, plain.width() - 385, 25);
    const QString later = QStringLiteral("Zoom 200 % takes effect at the next start.");
    double shown = 0;
    EXPECT_TRUE(PollUntil(
        [&] {
            shown = MessageDifference(x.Screenshot(), message, later);
            return shown < 1.0;
        },
        5000))
        << "the status line does not say when the zoom takes effect (" << shown << ')';
    EXPECT_GT(MessageDifference(x.Screenshot(), message, QStringLiteral("Zoom 200 % in force.")),
              shown + 5.0);
    // Not before the next start.
    EXPECT_EQ(x.WindowGeometry(x.WindowId()).size(), plain.size());
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    ASSERT_EQ(x.WaitForExit(10000), 0);
    EXPECT_EQ(SettingValue(x, "Mirelo", "Zoom"), "200");

    // The same settings folder: the window is twice as many screen pixels each
    // way, and its board is the finer pictures, pixel for pixel.
    ASSERT_TRUE(x.Start(GameProgram("mirelo_silent"), seeded));
    EXPECT_EQ(x.WindowGeometry(x.WindowId()).size(), plain.size() * 2);
    ExpectedBoard expected(Seed, 1, 2);
    const QImage shot = x.Screenshot();
    const int top = FindPictureRow(shot, expected.renderer.Buffer, 1380);
    ASSERT_GE(top, 0) << "the finer board picture is not on the screen";
    const QRect board(0, 0, 1400, 936);
    EXPECT_EQ(DifferentPixels(shot, board.translated(0, top), expected.renderer.Buffer, board), 0);
    ASSERT_TRUE(x.Key(QStringLiteral("ctrl+c")));
    EXPECT_EQ(x.WaitForExit(10000), 0);
    EXPECT_EQ(SettingValue(x, "Mirelo", "Zoom"), "200");
}

} // namespace
} // namespace mirelo::test
