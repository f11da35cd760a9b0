// The window on screens denser than the game's pixels: run with
// QT_SCALE_FACTOR=2 (the AtRatio2 cases) and QT_SCALE_FACTOR=1.5 (AtRatio15).
// Everything is drawn from the finer pictures at scale 2, while the game's
// coordinates, its hit map and its clicks stay those of scale 1.
#include "BoardRenderer.h"
#include "Geometry.h"
#include "TAide.h"
#include "TUrlLabel.h"
#include "Tiles.h"
#include "WindowFixture.h"
#include "WindowSurface.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QPainter>
#include <QScreen>
#include <QToolButton>
#include <QWindow>
#include <cmath>

namespace mirelo::test {
namespace {

using namespace geometry;

// Mean absolute difference per colour channel of two pictures of one size.
double MeanDifference(const QImage& a, const QImage& b) {
    EXPECT_EQ(a.size(), b.size());
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    for (int j = 0; j < std::min(x.height(), y.height()); ++j)
        for (int i = 0; i < std::min(x.width(), y.width()); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * x.width() * x.height());
}

// Each pixel the mean of a 2 x 2 block.
QImage Halved(const QImage& image) {
    QImage out(image.size() / 2, QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            int r = 0, g = 0, b = 0;
            for (int d = 0; d < 4; ++d) {
                const QRgb c = image.pixel(2 * x + d % 2, 2 * y + d / 2);
                r += qRed(c);
                g += qGreen(c);
                b += qBlue(c);
            }
            out.setPixel(x, y, qRgb(r / 4, g / 4, b / 4));
        }
    return out;
}

class DenseWindow : public WindowTest {
protected:
    void Start(Options options = {}) {
        Make(options);
        ASSERT_GT(window->devicePixelRatioF(), 1.0)
            << "run with QT_SCALE_FACTOR=2 or 1.5, as its CTest entries do";
        ASSERT_EQ(probe().Surface->Scale(), 2);
    }
    // The surface's pixels under a rectangle of the game's pixels.
    QImage Device(QRect logical) const {
        return probe().Surface->Surface().copy(QRect(logical.topLeft() * 2, logical.size() * 2));
    }
    QRect FaceRect(int tile) const {
        return QRect(probe().Renderer.FaceOrigin(probe().game.Places[tile]) + QPoint(0, 41),
                     QSize(TileWidth, TileHeight));
    }
    void MoveTo(QPoint board) {
        QCursor::setPos(probe().Surface->mapToGlobal(ClientPoint(board.x(), board.y())));
        window->FormMouseMove();
    }
    QPoint FaceMiddle(int tile) const {
        const TilePlace& p = probe().game.Places[tile];
        return {FaceLeft(p.X, p.Z) + 20, FaceTop(p.Y, p.Z) + 25};
    }
    // The tile on top of the highest level: nothing covers any of its face.
    int TopTile() const {
        for (int z = GridLevels; z >= 1; --z)
            for (int x = 1; x <= GridColumns; ++x)
                for (int y = 1; y <= GridRows; ++y)
                    if (const int t = probe().game.Grid.At(x, y, z))
                        return t;
        return 0;
    }
    // The board as scale 1 composes it from the scale-1 pictures.
    BoardRenderer ComposedAtOne() const {
        TileSheet sheet(1);
        sheet.ChangeTexture(probe().TileStyle);
        const QImage background =
            LoadPicture(TMirelo::BackgroundPicture(probe().Menu.Kanji1->isChecked() ? 0 : 1));
        BoardRenderer renderer;
        renderer.PaintBackground(background);
        const GameState& s = probe().game.State;
        renderer.ComposeBoard(
            probe().game.Grid, background, sheet,
            {s.FirstPick, s.SecondPick, s.HintFirst, s.HintSecond, probe().ColorHighlightTile});
        return renderer;
    }
    // The first free tile, and a free tile of the same face.
    std::pair<int, int> FreePair() const {
        const Game& game = probe().game;
        for (int a = 1; a <= TileCount; ++a)
            for (int b = a + 1; b <= TileCount; ++b)
                if (TileFace(a) == TileFace(b) && game.IsFree(a) && game.IsFree(b))
                    return {a, b};
        return {0, 0};
    }

    void ClicksPickWhatTheHitMapGives() {
        // The hit map is the one scale 1 builds.
        EXPECT_EQ(probe().Renderer.HitMap, ComposedAtOne().HitMap);
        const auto [a, b] = FreePair();
        ASSERT_NE(b, 0);
        for (const int tile : {a, b}) {
            const QPoint p = FaceMiddle(tile);
            ASSERT_EQ(probe().Renderer.TileAt(p.x(), p.y()), tile);
        }
        ClickBoard(FaceMiddle(a).x(), FaceMiddle(a).y());
        EXPECT_EQ(probe().game.State.FirstPick, a);
        ClickBoard(FaceMiddle(b).x(), FaceMiddle(b).y());
        EXPECT_EQ(probe().game.State.TilesLeft, 142);
        EXPECT_EQ(probe().game.Grid.At(probe().game.Places[a].X, probe().game.Places[a].Y,
                                       probe().game.Places[a].Z),
                  0);
        // The board shows what scale 2 composes of the board without them.
        EXPECT_EQ(Device(QRect(0, 41, 700, 468)), ComposedAtTwo());
    }
    // The board as a full redraw at scale 2 composes it now, left of the strip.
    QImage ComposedAtTwo() const { return ComposedBoard(2).copy(0, 0, 1400, 936); }
};

using AtRatio2 = DenseWindow;
using AtRatio15 = DenseWindow;
using ScreenChange = DenseWindow;

TEST_F(AtRatio2, PicturesBufferAndSurfaceAreTwiceAsFine) {
    Start();
    EXPECT_EQ(probe().Surface->Surface().size(), probe().Surface->size() * 2);
    EXPECT_EQ(probe().Renderer.Picture().size(), QSize(1600, 936));
    EXPECT_EQ(probe().Sheet.Scale, 2);
    EXPECT_EQ(probe().Sheet.TileGfx.size(), QSize(720, 612));
    EXPECT_EQ(window->CurrentBackground().size(), QSize(1600, 936));
    // Named pictures stay what they are on a dense screen: no "@2x" file is
    // taken in place of the scale-1 one.
    const QImage one = LoadPicture(TileGfxPicture);
    EXPECT_EQ(one.size(), QSize(360, 306));
    EXPECT_EQ(one.devicePixelRatio(), 1.0);
}

TEST_F(AtRatio2, BoardIsTheFinerArtComposedWhereScaleOnePutsIt) {
    Start();
    const QImage board = Device(QRect(0, 41, 700, 468));
    EXPECT_EQ(board, ComposedAtTwo());

    // The uncovered top tile's face is the finer sheet's cell on the finer
    // blank, composed here straight from the @2x files.
    const int top = TopTile();
    const QImage gfx =
        QImage(QStringLiteral(":/pictures/tilegfx@2x.png")).convertToFormat(QImage::Format_RGB32);
    const QImage mask =
        QImage(QStringLiteral(":/pictures/mask@2x.png")).convertToFormat(QImage::Format_RGB32);
    const QPoint cell = TileSheet::TilePictureOrigin(TilePicture(top)) * 2;
    const QPoint blank = TileSheet::TileBlankOrigin(probe().TileStyle) * 2;
    QImage expected(80, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 80; ++x)
            expected.setPixel(x, y,
                              (gfx.pixel(blank + QPoint(x, y)) & mask.pixel(cell + QPoint(x, y))) |
                                  gfx.pixel(cell + QPoint(x, y)));
    EXPECT_EQ(Device(FaceRect(top)).convertToFormat(QImage::Format_RGB32), expected);

    // The whole board, brought back to scale 1, is scale 1's board: every tile
    // lies where it lies there, with the same face.
    const QImage one = ComposedAtOne().Buffer.copy(0, 0, 700, 468);
    EXPECT_LT(MeanDifference(Halved(board), one), 6.0);
    // A tile one column off would be far from it.
    EXPECT_GT(MeanDifference(Halved(board), one.copy(20, 0, 700, 468)), 12.0);
}

TEST_F(AtRatio2, PaintCopiesTheSurfacePixelForPixel) {
    Start();
    window->FullRedraw();
    const QImage painted = probe().Surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(painted.size(), probe().Surface->Surface().size());
    // Below the toolbar row, a child widget painted over the surface.
    const QRect below(0, 82, 1600, 936);
    EXPECT_EQ(painted.copy(below), probe().Surface->Surface().copy(below));
}

TEST_F(AtRatio2, ClicksAtTheGamesPointsTakeTheTilesTheHitMapGives) {
    Start();
    ClicksPickWhatTheHitMapGives();
    // Back puts them back where they were, at scale 2.
    window->Back();
    EXPECT_EQ(probe().game.State.TilesLeft, 144);
    EXPECT_EQ(Device(QRect(0, 41, 700, 468)), ComposedAtTwo());
}

TEST_F(AtRatio2, RectangleIsTwiceAsThickAndPutsBackTheExactPixels) {
    Start();
    const QImage before = probe().Surface->Surface().copy();
    const int tile = probe().game.Grid.At(5, 17, 1);
    MoveTo(FaceMiddle(tile));
    ASSERT_TRUE(probe().HighlightShown);
    EXPECT_EQ(probe().SmallBuf.size(), QSize(92, 112));
    const QImage face = Device(FaceRect(tile));
    int red = 0;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            red += face.pixel(x, y) == qRgb(255, 0, 0);
    // The 40 x 50 ring of 3 px, every length doubled.
    EXPECT_EQ(red, 80 * 100 - 68 * 88);
    EXPECT_EQ(face.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_NE(face.pixel(6, 6), qRgb(255, 0, 0));
    // It survives a redraw of another tile, then goes, leaving the board as it was.
    window->RedrawTile(probe().game.Grid.At(7, 17, 1));
    EXPECT_EQ(Device(FaceRect(tile)), face);
    MoveTo(QPoint(-5, 100));
    EXPECT_FALSE(probe().HighlightShown);
    EXPECT_EQ(probe().Surface->Surface(), before);
}

TEST_F(AtRatio2, MarksAndColourHighlightUseTheOtherBlanksAtTwice) {
    Options options;
    options.HighlightMode = Highlight::Color;
    Start(options);
    const QImage before = probe().Surface->Surface().copy();
    const int tile = probe().game.Grid.At(5, 17, 1);
    MoveTo(FaceMiddle(tile));
    ASSERT_EQ(probe().ColorHighlightTile, tile);
    const QImage& gfx = probe().Sheet.TileGfx;
    const QPoint red = TileSheet::TileBlankOrigin((probe().TileStyle + 2) % 3) * 2;
    // A corner of the face, clear of any symbol: the hover blank's pixel.
    EXPECT_EQ(Device(FaceRect(tile)).pixel(3, 3), gfx.pixel(red + QPoint(3, 3)));
    MoveTo(QPoint(-5, 100));
    EXPECT_EQ(probe().Surface->Surface(), before);

    // A pick: the next style's blank.
    const int a = FreePair().first;
    probe().game.Pick(static_cast<std::uint8_t>(a), *window);
    const QPoint blue = TileSheet::TileBlankOrigin((probe().TileStyle + 1) % 3) * 2;
    EXPECT_EQ(Device(FaceRect(a)).pixel(3, 3), gfx.pixel(blue + QPoint(3, 3)));
}

TEST_F(AtRatio2, PauseAndStopShowTheFinerBackgroundAndLogo) {
    Start();
    probe().Menu.Pause1->trigger();
    EXPECT_EQ(Device(QRect(0, 41, 800, 468)), window->CurrentBackground());
    probe().Menu.Pause1->trigger();
    EXPECT_EQ(Device(QRect(0, 41, 700, 468)), ComposedAtTwo());
    probe().Menu.Stoppe->trigger();
    EXPECT_EQ(window->Logo().size(), QSize(506, 256));
    EXPECT_EQ(Device(QRect(LogoX, 41 + LogoY, 253, 128)), window->Logo());
    EXPECT_EQ(Device(QRect(0, 41, 800, 100)), window->CurrentBackground().copy(0, 0, 1600, 200));
}

TEST_F(AtRatio2, HallOfFameStripIsDrawnAtTwiceTheSize) {
    Start();
    probe().Hall.AddHall(LayoutTraditional, "Dense", 100, 40);
    window->FullRedraw();
    // The yellow title's ink, at scale 2 and as scale 1 draws the same text.
    auto inkOf = [](const QImage& image, QRgb colour) {
        QRect ink;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixel(x, y) == colour)
                    ink |= QRect(x, y, 1, 1);
        return ink;
    };
    const QRgb yellow = qRgb(255, 255, 0);
    const QRect strip(700, 41, 100, 468);
    const QImage dense = Device(strip);
    const QRect ink2 = inkOf(dense, yellow);
    ASSERT_FALSE(ink2.isEmpty());

    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(13);
    title.setBold(true);
    title.setStyleStrategy(QFont::NoAntialias);
    TextOverlay one;
    one.Clear(1);
    one.AddText({725, 80}, QStringLiteral("HALL OF"), title, QColor(yellow));
    one.AddText({735, 100}, QStringLiteral("FAME"), title, QColor(yellow));
    WindowSurface plain;
    plain.SetScale(1);
    plain.SetClientSize(QSize(800, 509));
    one.DrawOn(plain);
    const QRect ink1 = inkOf(plain.Surface().copy(strip), yellow);
    ASSERT_FALSE(ink1.isEmpty());
    EXPECT_NEAR(ink2.left(), 2 * ink1.left(), 3);
    EXPECT_NEAR(ink2.top(), 2 * ink1.top(), 3);
    EXPECT_NEAR(ink2.width(), 2 * ink1.width(), 4);
    EXPECT_NEAR(ink2.height(), 2 * ink1.height(), 4);
    // Drawn at the finer size, not doubled: some 2 x 2 block is part ink.
    bool mixed = false;
    for (int y = ink2.top() & ~1; y < ink2.bottom() && !mixed; y += 2)
        for (int x = ink2.left() & ~1; x < ink2.right() && !mixed; x += 2) {
            const int n = (dense.pixel(x, y) == yellow) + (dense.pixel(x + 1, y) == yellow) +
                          (dense.pixel(x, y + 1) == yellow) + (dense.pixel(x + 1, y + 1) == yellow);
            mixed = n == 1 || n == 3;
        }
    EXPECT_TRUE(mixed);
    // The winner's name is there in white.
    EXPECT_FALSE(inkOf(dense, qRgb(255, 255, 255)).isEmpty());
}

TEST_F(AtRatio2, HelpTableShowsTheFinerTiles) {
    Start();
    TAide aide(window.get());
    aide.PaintTiles(probe().Sheet, StyleBlue);
    EXPECT_EQ(aide.Pai.size(), QSize(820, 818));
    EXPECT_EQ(aide.Pai.devicePixelRatio(), 2.0);
    // Dots 1, first in the table at (0, 24) of the game's pixels.
    const QImage cell =
        probe().Sheet.MaskedTiles.copy(QRect(TileSheet::TilePictureOrigin(1) * 2, QSize(80, 100)));
    EXPECT_EQ(aide.Pai.copy(QRect(QPoint(0, 24) * 2, QSize(80, 100))), cell);
}

TEST_F(AtRatio2, PointersAndIconsUseTheirFinerDrawings) {
    Start();
    // Compared as pixmaps hold them, premultiplied.
    const auto same = [](const QImage& a, const QImage& b) {
        return a.convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
               b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const QPixmap pointer = window->cursor().pixmap();
    EXPECT_EQ(pointer.devicePixelRatio(), 2.0);
    EXPECT_TRUE(same(pointer.toImage(), QImage(QStringLiteral(":/pictures/techno@2x.png"))));
    EXPECT_EQ(window->cursor().hotSpot(), QPoint(0, 0));
    const QPixmap icon = probe().Bar.SpeedButton1->icon().pixmap(QSize(16, 16), 2.0);
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_TRUE(same(icon.toImage(), QImage(QStringLiteral(":/pictures/newgame@2x.png"))));
    const QPixmap disabled =
        probe().Bar.SpeedButton1->icon().pixmap(QSize(16, 16), 2.0, QIcon::Disabled);
    EXPECT_TRUE(
        same(disabled.toImage(), QImage(QStringLiteral(":/pictures/newgame_disabled@2x.png"))));
    // The window's icon offers the desktop both drawings, each pixel for pixel.
    const QIcon windowIcon = window->windowIcon();
    EXPECT_EQ(windowIcon.availableSizes(), (QList<QSize>{QSize(32, 32), QSize(64, 64)}));
    EXPECT_TRUE(same(windowIcon.pixmap(QSize(32, 32), 1.0).toImage(),
                     QImage(QStringLiteral(":/pictures/icon.png"))));
    EXPECT_TRUE(same(windowIcon.pixmap(QSize(32, 32), 2.0).toImage(),
                     QImage(QStringLiteral(":/pictures/icon@2x.png"))));
    TUrlLabel link;
    const QPixmap hand = link.cursor().pixmap();
    EXPECT_EQ(hand.devicePixelRatio(), 2.0);
    EXPECT_TRUE(same(hand.toImage(), QImage(QStringLiteral(":/pictures/hand@2x.png"))));
}

TEST_F(AtRatio15, PaintsTheFinerPictureSmoothlyNeverTheCoarseOneDoubled) {
    Start();
    const QImage& surface = probe().Surface->Surface();
    EXPECT_EQ(surface.size(), probe().Surface->size() * 2);
    EXPECT_EQ(probe().Sheet.TileGfx.size(), QSize(720, 612));
    const QImage painted = probe().Surface->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(painted.size(), probe().Surface->size() * 1.5);

    // The same window at scale 1, as Qt would enlarge it pixel by pixel.
    QImage coarse(probe().Surface->size(), QImage::Format_RGB32);
    coarse.fill(Qt::black);
    {
        QPainter p(&coarse);
        p.drawImage(QPoint(0, 41), ComposedAtOne().Buffer.copy(0, 0, 700, 468));
    }
    const QRect board(QPoint(0, 62), QSize(1050, 702)); // the board, in painted pixels
    const QImage smooth =
        surface.scaled(painted.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage doubled =
        coarse.scaled(painted.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const double fromFine = MeanDifference(painted.copy(board), smooth.copy(board));
    const double fromCoarse = MeanDifference(painted.copy(board), doubled.copy(board));
    EXPECT_LT(fromFine, 4.0);
    EXPECT_LT(fromFine * 2, fromCoarse);
}

TEST_F(AtRatio15, ClicksAtTheGamesPointsTakeTheTilesTheHitMapGives) {
    Start();
    ClicksPickWhatTheHitMapGives();
}

// Run on two screens of ratio 1 and 2 (qpa/two_screens.json with
// QT_SCREEN_SCALE_FACTORS, as its CTest entry does).
TEST_F(ScreenChange, TheWindowRedrawsAtTheScaleOfTheScreenItMovesTo) {
    Make();
    const QList<QScreen*> screens = QGuiApplication::screens();
    ASSERT_EQ(screens.size(), 2) << "run with the two-screen configuration";
    ASSERT_EQ(probe().Surface->Scale(), 1);
    const QImage atOne = probe().Surface->Surface().copy();

    window->windowHandle()->setScreen(screens[1]);
    QApplication::processEvents();
    ASSERT_EQ(window->devicePixelRatioF(), 2.0);
    EXPECT_EQ(probe().Surface->Scale(), 2);
    EXPECT_EQ(probe().Sheet.Scale, 2);
    EXPECT_EQ(probe().Sheet.AppliedTileStyle, probe().TileStyle);
    EXPECT_EQ(probe().Renderer.Picture().size(), QSize(1600, 936));
    EXPECT_EQ(window->CurrentBackground().size(), QSize(1600, 936));
    EXPECT_EQ(Device(QRect(0, 41, 700, 468)), ComposedAtTwo());
    EXPECT_EQ(probe().Renderer.HitMap, ComposedAtOne().HitMap);

    // Back on the ordinary screen: the very picture it had there.
    window->windowHandle()->setScreen(screens[0]);
    QApplication::processEvents();
    EXPECT_EQ(probe().Surface->Scale(), 1);
    EXPECT_EQ(probe().Sheet.TileGfx.size(), QSize(360, 306));
    EXPECT_EQ(probe().Surface->Surface(), atOne);
}

} // namespace
} // namespace mirelo::test
