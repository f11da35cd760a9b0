// Checks the committed artwork against the layout the game cuts it up by:
// sizes, cell positions, masks, the edge band and the backgrounds' score band.

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr int kCellW = 40;
constexpr int kCellH = 50;
constexpr int kPictures = 42;
constexpr int kEdgeDepth = 6;
constexpr int kEdgeW = kCellW + kEdgeDepth;
constexpr int kEdgeH = kCellH + kEdgeDepth;
const QPoint kEdgePicture{0, 250};
const QPoint kEdgeMask{46, 250};
const QPoint kBlanks[] = {{320, 200}, {280, 200}, {320, 150}};  // Wood, Blue, Red
constexpr int kScoreBandX = 704;

QImage load(const char* name)
{
    return QImage(QStringLiteral(MIRELO_ASSETS_DIR "/") + QLatin1String(name));
}

QImage loadRgb(const char* name) { return load(name).convertToFormat(QImage::Format_RGB32); }

// Top-left of picture n (1-based), spelled out cell by cell.
QPoint pictureCell(int n)
{
    struct Run {
        int first, count, x0, y;
    };
    static const Run runs[] = {
        {1, 9, 0, 100},   // Cracks
        {10, 9, 0, 50},   // Bamboos
        {19, 9, 0, 0},    // Dots
        {28, 4, 0, 200},  // Flowers
        {32, 4, 0, 150},  // Seasons
        {36, 3, 160, 200},  // Dragons
        {39, 4, 160, 150},  // Winds
    };
    for (const Run& r : runs)
        if (n >= r.first && n < r.first + r.count)
            return {r.x0 + (n - r.first) * kCellW, r.y};
    ADD_FAILURE() << "no cell for picture " << n;
    return {};
}

bool isBlack(QRgb c) { return (c & 0xffffff) == 0; }
bool isWhite(QRgb c) { return (c & 0xffffff) == 0xffffff; }
int luma(QRgb c) { return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000; }

// The band rule, literally: outside the face, and some shift t in 0..6 moves
// the pixel up-right into the face (x 6..45, y 0..49 of the 46 x 56 box).
bool inBand(int x, int y)
{
    const auto inFace = [](int fx, int fy) {
        return fx >= kEdgeDepth && fx < kEdgeW && fy >= 0 && fy < kCellH;
    };
    if (inFace(x, y))
        return false;
    for (int t = 0; t <= kEdgeDepth; ++t)
        if (inFace(x + t, y - t))
            return true;
    return false;
}

class TileSheet : public ::testing::Test {
protected:
    void SetUp() override
    {
        sheet = loadRgb("tilegfx.png");
        mask = loadRgb("mask.png");
        ASSERT_EQ(sheet.size(), QSize(360, 306));
        ASSERT_EQ(mask.size(), QSize(360, 250));
    }
    QImage cell(const QImage& img, QPoint at, QSize size = {kCellW, kCellH}) const
    {
        return img.copy(QRect(at, size));
    }
    QImage sheet;
    QImage mask;
};

} // namespace

TEST(AssetFiles, HaveTheSizesTheGameCutsBy)
{
    const struct {
        const char* name;
        QSize size;
    } files[] = {
        {"tilegfx.png", {360, 306}}, {"mask.png", {360, 250}},    {"kanji.png", {800, 468}},
        {"dragons.png", {800, 468}}, {"logo.png", {253, 128}},    {"icon.png", {32, 32}},
        {"icon_128.png", {128, 128}}, {"techno.png", {32, 32}},   {"hand.png", {32, 32}},
        {"newgame.png", {16, 16}},   {"newgame_disabled.png", {16, 16}},
    };
    for (const auto& f : files) {
        const QImage img = load(f.name);
        ASSERT_FALSE(img.isNull()) << f.name << " did not load";
        EXPECT_EQ(img.size(), f.size) << f.name;
    }
}

TEST_F(TileSheet, MaskIsBlackExactlyUnderEachPictureSymbol)
{
    for (int n = 1; n <= kPictures; ++n) {
        const QPoint at = pictureCell(n);
        int mismatches = 0;
        for (int y = 0; y < kCellH; ++y)
            for (int x = 0; x < kCellW; ++x) {
                const QRgb pic = sheet.pixel(at + QPoint(x, y));
                const QRgb m = mask.pixel(at + QPoint(x, y));
                const bool ok = isBlack(pic) ? isWhite(m) : isBlack(m);
                mismatches += ok ? 0 : 1;
            }
        EXPECT_EQ(mismatches, 0) << "picture " << n;
    }
}

TEST_F(TileSheet, MaskHoldsOnlyPureBlackAndWhite)
{
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            const QRgb m = mask.pixel(x, y);
            ASSERT_TRUE(isBlack(m) || isWhite(m)) << "at " << x << "," << y;
        }
}

TEST_F(TileSheet, BlanksAreFullFacesAndWhiteInTheMask)
{
    for (const QPoint at : kBlanks) {
        for (int y = 0; y < kCellH; ++y)
            for (int x = 0; x < kCellW; ++x) {
                ASSERT_TRUE(isWhite(mask.pixel(at + QPoint(x, y)))) << at.x() << "," << at.y();
                const QRgb c = sheet.pixel(at + QPoint(x, y));
                ASSERT_FALSE(isBlack(c)) << "blank at " << at.x() << "," << at.y();
            }
        // Light enough for every symbol to read when a tile is picked or hinted.
        const QRgb middle = sheet.pixel(at + QPoint(kCellW / 2, kCellH / 2));
        EXPECT_GT(luma(middle), 190) << "blank at " << at.x() << "," << at.y();
    }
}

TEST_F(TileSheet, PicturesHaveASymbolInsideABlankMargin)
{
    constexpr int kMargin = 2;
    for (int n = 1; n <= kPictures; ++n) {
        const QImage c = cell(sheet, pictureCell(n));
        int ink = 0, inMargin = 0;
        for (int y = 0; y < kCellH; ++y)
            for (int x = 0; x < kCellW; ++x) {
                if (isBlack(c.pixel(x, y)))
                    continue;
                ++ink;
                const bool margin = x < kMargin || y < kMargin || x >= kCellW - kMargin
                                    || y >= kCellH - kMargin;
                inMargin += margin ? 1 : 0;
            }
        EXPECT_GT(ink, 150) << "picture " << n << " is nearly empty";
        EXPECT_LT(ink, kCellW * kCellH * 3 / 4) << "picture " << n << " covers the blank";
        EXPECT_EQ(inMargin, 0) << "picture " << n << " reaches the blank's border";
    }
}

TEST_F(TileSheet, PicturesArePairwiseDifferent)
{
    std::vector<QImage> cells;
    for (int n = 1; n <= kPictures; ++n)
        cells.push_back(cell(sheet, pictureCell(n)));
    for (int a = 0; a < kPictures; ++a)
        for (int b = a + 1; b < kPictures; ++b) {
            int differing = 0;
            for (int y = 0; y < kCellH; ++y)
                for (int x = 0; x < kCellW; ++x)
                    differing += cells[a].pixel(x, y) != cells[b].pixel(x, y) ? 1 : 0;
            // Not just a stray pixel: a player has to tell them apart.
            EXPECT_GT(differing, 40) << "pictures " << a + 1 << " and " << b + 1;
        }
}

TEST_F(TileSheet, SymbolsStandOutOnEveryBlank)
{
    for (const QPoint blank : kBlanks) {
        for (int n = 1; n <= kPictures; ++n) {
            const QPoint at = pictureCell(n);
            int contrasting = 0;
            for (int y = 0; y < kCellH; ++y)
                for (int x = 0; x < kCellW; ++x) {
                    const QRgb pic = sheet.pixel(at + QPoint(x, y));
                    if (isBlack(pic))
                        continue;
                    const QRgb base = sheet.pixel(blank + QPoint(x, y));
                    const int dist = std::abs(qRed(pic) - qRed(base)) + std::abs(qGreen(pic) - qGreen(base))
                                     + std::abs(qBlue(pic) - qBlue(base));
                    contrasting += dist > 150 ? 1 : 0;
                }
            EXPECT_GT(contrasting, 100) << "picture " << n << " on blank " << blank.x() << ","
                                        << blank.y();
        }
    }
}

TEST_F(TileSheet, EdgePictureAndMaskFollowTheBandRule)
{
    for (int y = 0; y < kEdgeH; ++y)
        for (int x = 0; x < kEdgeW; ++x) {
            const bool band = inBand(x, y);
            const QRgb pic = sheet.pixel(kEdgePicture + QPoint(x, y));
            const QRgb m = sheet.pixel(kEdgeMask + QPoint(x, y));
            ASSERT_EQ(!isBlack(pic), band) << "edge picture at " << x << "," << y;
            ASSERT_TRUE(band ? isBlack(m) : isWhite(m)) << "edge mask at " << x << "," << y;
        }
    // The shape itself: corners outside, both arms inside, ends cut at 45 degrees.
    EXPECT_FALSE(inBand(0, 0));
    EXPECT_FALSE(inBand(45, 55));
    EXPECT_TRUE(inBand(0, 10));
    EXPECT_TRUE(inBand(20, 53));
    EXPECT_FALSE(inBand(5, 0));
    EXPECT_TRUE(inBand(5, 1));
    EXPECT_FALSE(inBand(0, 5));
    EXPECT_TRUE(inBand(0, 6));
    EXPECT_TRUE(inBand(39, 55));
    EXPECT_FALSE(inBand(40, 55));
    EXPECT_TRUE(inBand(44, 50));
    EXPECT_FALSE(inBand(45, 50));
}

TEST_F(TileSheet, RestOfTheEdgeStripIsBlack)
{
    for (int y = 250; y < 306; ++y)
        for (int x = 2 * kEdgeW; x < sheet.width(); ++x)
            ASSERT_TRUE(isBlack(sheet.pixel(x, y))) << x << "," << y;
}

TEST_F(TileSheet, BottomBandReadsTheSameWhenCutShort)
{
    // The game may draw only the left 27 px of the band's bottom rows; each
    // row must then be uniform along its length, not a gradient that stops.
    for (int y = kCellH; y < kEdgeH; ++y) {
        const int from = kEdgeDepth;
        const QRgb ref = sheet.pixel(kEdgePicture + QPoint(from, y));
        for (int x = from; x < 27; ++x)
            EXPECT_EQ(sheet.pixel(kEdgePicture + QPoint(x, y)), ref) << x << "," << y;
    }
}

class Background : public ::testing::TestWithParam<const char*> {};

TEST_P(Background, EndsInAPurpleScoreBandThatKeepsTextReadable)
{
    const QImage raw = load(GetParam());
    EXPECT_FALSE(raw.hasAlphaChannel());
    const QImage img = raw.convertToFormat(QImage::Format_RGB32);
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = kScoreBandX; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y);
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
            ++n;
            // Decoration stays dim: yellow, white and cyan text must read anywhere.
            ASSERT_LT(luma(c), 90) << x << "," << y;
            ASSERT_GT(qRed(c), qGreen(c) + 60) << x << "," << y;
            ASSERT_GT(qBlue(c), qGreen(c) + 60) << x << "," << y;
        }
    EXPECT_NEAR(r / n, 128, 12);
    EXPECT_NEAR(g / n, 0, 12);
    EXPECT_NEAR(b / n, 128, 12);
}

TEST_P(Background, BoardAreaIsTexturedButDarkerThanTiles)
{
    const QImage img = load(GetParam()).convertToFormat(QImage::Format_RGB32);
    double sum = 0, sq = 0;
    int n = 0;
    for (int y = 25; y <= 452; ++y)
        for (int x = 36; x <= 663; ++x) {
            const int l = luma(img.pixel(x, y));
            sum += l;
            sq += double(l) * l;
            ++n;
        }
    const double mean = sum / n;
    const double stddev = std::sqrt(sq / n - mean * mean);
    EXPECT_GT(stddev, 2.5) << "flat board area";
    EXPECT_LT(mean, 110) << "too light for ivory tiles to stand out";
}

INSTANTIATE_TEST_SUITE_P(Assets, Background, ::testing::Values("kanji.png", "dragons.png"));

TEST(Pointers, AreTwoColoursOnTransparencyWithOpaqueHotSpots)
{
    const struct {
        const char* name;
        QPoint hotSpot;
    } pointers[] = {{"techno.png", {0, 0}}, {"hand.png", {5, 0}}};
    for (const auto& ptr : pointers) {
        const QImage img = load(ptr.name).convertToFormat(QImage::Format_ARGB32);
        int clear = 0, black = 0, white = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb c = img.pixel(x, y);
                if (qAlpha(c) == 0)
                    ++clear;
                else if (c == qRgba(0, 0, 0, 255))
                    ++black;
                else if (c == qRgba(255, 255, 255, 255))
                    ++white;
                else
                    ADD_FAILURE() << ptr.name << " has a third colour at " << x << "," << y;
            }
        EXPECT_GT(clear, 32 * 32 / 2) << ptr.name;
        EXPECT_GT(black, 30) << ptr.name;
        EXPECT_GT(white, 30) << ptr.name;
        EXPECT_EQ(qAlpha(img.pixel(ptr.hotSpot)), 255) << ptr.name << " hot spot is clear";
    }
}

TEST(Icons, HaveTransparentCornersAndAVisibleBody)
{
    for (const char* name : {"icon.png", "icon_128.png", "newgame.png", "newgame_disabled.png"}) {
        const QImage img = load(name).convertToFormat(QImage::Format_ARGB32);
        ASSERT_TRUE(img.hasAlphaChannel()) << name;
        EXPECT_EQ(qAlpha(img.pixel(0, img.height() - 1)), 0) << name;
        EXPECT_GT(qAlpha(img.pixel(img.width() / 2, img.height() / 2)), 128) << name;
    }
}

TEST(Icons, DisabledNewGameIsAGreyTwinOfTheGreenOne)
{
    const QImage on = load("newgame.png").convertToFormat(QImage::Format_ARGB32);
    const QImage off = load("newgame_disabled.png").convertToFormat(QImage::Format_ARGB32);
    int green = 0;
    for (int y = 0; y < on.height(); ++y)
        for (int x = 0; x < on.width(); ++x) {
            const QRgb a = on.pixel(x, y), b = off.pixel(x, y);
            EXPECT_EQ(qAlpha(a) > 0, qAlpha(b) > 0) << "shapes differ at " << x << "," << y;
            if (qAlpha(b) > 0) {
                EXPECT_LE(std::abs(qRed(b) - qGreen(b)), 2) << x << "," << y;
                EXPECT_LE(std::abs(qBlue(b) - qGreen(b)), 2) << x << "," << y;
            }
            green += qAlpha(a) > 128 && qGreen(a) > qRed(a) + 40 ? 1 : 0;
        }
    EXPECT_GT(green, 40);
}

TEST(Logo, IsOpaqueAndNotFlat)
{
    const QImage img = load("logo.png");
    EXPECT_FALSE(img.hasAlphaChannel());
    const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
    int lo = 255, hi = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            lo = std::min(lo, luma(rgb.pixel(x, y)));
            hi = std::max(hi, luma(rgb.pixel(x, y)));
        }
    EXPECT_GT(hi - lo, 150);
}
