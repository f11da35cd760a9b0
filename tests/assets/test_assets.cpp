// Checks the committed artwork against the layout the game cuts it up by:
// sizes, cell positions, masks, the edge band and the backgrounds' score band.

#include "asset_images.h"

#include <QColor>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace assets;

namespace {

// The band rule, literally: outside the face, and some shift t in 0..6 moves
// the pixel up-right into the face (x 6..45, y 0..49 of the 46 x 56 box);
// every length times the scale k.
bool inBand(int x, int y, int k = 1) {
    const auto inFace = [k](int fx, int fy) {
        return fx >= kEdgeDepth * k && fx < kEdgeW * k && fy >= 0 && fy < kCellH * k;
    };
    if (inFace(x, y))
        return false;
    for (int t = 0; t <= kEdgeDepth * k; ++t)
        if (inFace(x + t, y - t))
            return true;
    return false;
}

std::string scaleName(const ::testing::TestParamInfo<int>& info) {
    return "x" + std::to_string(info.param);
}

// Each test runs on the scale-1 set and again on the @2x set, where every
// length and count of pixels grows with the scale.
class TileSheet : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        k = GetParam();
        sheet = loadRgb("tilegfx.png", k);
        mask = loadRgb("mask.png", k);
        ASSERT_EQ(sheet.size(), QSize(360, 306) * k);
        ASSERT_EQ(mask.size(), QSize(360, 250) * k);
    }
    QImage cell(const QImage& img, QPoint at) const { return img.copy(cellRect(at, k)); }
    int k = 1;
    QImage sheet;
    QImage mask;
};

} // namespace

TEST(AssetFiles, HaveTheSizesTheGameCutsBy) {
    const struct {
        const char* name;
        QSize size;
    } files[] = {
        {"tilegfx.png", {360, 306}},  {"mask.png", {360, 250}},           {"kanji.png", {800, 468}},
        {"dragons.png", {800, 468}},  {"logo.png", {253, 128}},           {"icon.png", {32, 32}},
        {"icon_128.png", {128, 128}}, {"techno.png", {32, 32}},           {"hand.png", {32, 32}},
        {"newgame.png", {16, 16}},    {"newgame_disabled.png", {16, 16}},
    };
    for (const int k : kScales)
        for (const auto& f : files) {
            const QImage img = load(f.name, k);
            ASSERT_FALSE(img.isNull()) << qPrintable(fileName(f.name, k)) << " did not load";
            EXPECT_EQ(img.size(), f.size * k) << qPrintable(fileName(f.name, k));
            // Qt reads the density from the name, which is what lets the
            // game pick either set by the screen's pixel ratio.
            EXPECT_EQ(img.devicePixelRatio(), k) << qPrintable(fileName(f.name, k));
        }
}

TEST_P(TileSheet, MaskIsBlackExactlyUnderEachPictureSymbol) {
    for (int n = 1; n <= kPictures; ++n) {
        const QPoint at = pictureCell(n) * k;
        int mismatches = 0;
        for (int y = 0; y < kCellH * k; ++y)
            for (int x = 0; x < kCellW * k; ++x) {
                const QRgb pic = sheet.pixel(at + QPoint(x, y));
                const QRgb m = mask.pixel(at + QPoint(x, y));
                const bool ok = isBlack(pic) ? isWhite(m) : isBlack(m);
                mismatches += ok ? 0 : 1;
            }
        EXPECT_EQ(mismatches, 0) << "picture " << n;
    }
}

TEST_P(TileSheet, MaskHoldsOnlyPureBlackAndWhite) {
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x) {
            const QRgb m = mask.pixel(x, y);
            ASSERT_TRUE(isBlack(m) || isWhite(m)) << "at " << x << "," << y;
        }
}

TEST_P(TileSheet, BlanksAreFullFacesAndWhiteInTheMask) {
    for (const QPoint blank : kBlanks) {
        const QPoint at = blank * k;
        for (int y = 0; y < kCellH * k; ++y)
            for (int x = 0; x < kCellW * k; ++x) {
                ASSERT_TRUE(isWhite(mask.pixel(at + QPoint(x, y)))) << at.x() << "," << at.y();
                const QRgb c = sheet.pixel(at + QPoint(x, y));
                ASSERT_FALSE(isBlack(c)) << "blank at " << at.x() << "," << at.y();
            }
        // Light enough for every symbol to read when a tile is picked or hinted.
        const QRgb middle = sheet.pixel(at + QPoint(kCellW, kCellH) * k / 2);
        EXPECT_GT(luma(middle), 190) << "blank at " << at.x() << "," << at.y();
    }
}

TEST_P(TileSheet, PicturesHaveASymbolInsideABlankMargin) {
    const int margin = 2 * k;
    for (int n = 1; n <= kPictures; ++n) {
        const QImage c = cell(sheet, pictureCell(n));
        int ink = 0, inMargin = 0;
        for (int y = 0; y < c.height(); ++y)
            for (int x = 0; x < c.width(); ++x) {
                if (isBlack(c.pixel(x, y)))
                    continue;
                ++ink;
                const bool edge =
                    x < margin || y < margin || x >= c.width() - margin || y >= c.height() - margin;
                inMargin += edge ? 1 : 0;
            }
        EXPECT_GT(ink, 150 * k * k) << "picture " << n << " is nearly empty";
        EXPECT_LT(ink, c.width() * c.height() * 3 / 4) << "picture " << n << " covers the blank";
        EXPECT_EQ(inMargin, 0) << "picture " << n << " reaches the blank's border";
    }
}

TEST_P(TileSheet, PicturesArePairwiseDifferent) {
    std::vector<QImage> cells;
    for (int n = 1; n <= kPictures; ++n)
        cells.push_back(cell(sheet, pictureCell(n)));
    for (int a = 0; a < kPictures; ++a)
        for (int b = a + 1; b < kPictures; ++b) {
            int differing = 0;
            for (int y = 0; y < kCellH * k; ++y)
                for (int x = 0; x < kCellW * k; ++x)
                    differing += cells[a].pixel(x, y) != cells[b].pixel(x, y) ? 1 : 0;
            // Not just a stray pixel: a player has to tell them apart.
            EXPECT_GT(differing, 40 * k * k) << "pictures " << a + 1 << " and " << b + 1;
        }
}

TEST_P(TileSheet, SymbolsStandOutOnEveryBlank) {
    for (const QPoint blank : kBlanks) {
        for (int n = 1; n <= kPictures; ++n) {
            const QPoint at = pictureCell(n) * k;
            int contrasting = 0;
            for (int y = 0; y < kCellH * k; ++y)
                for (int x = 0; x < kCellW * k; ++x) {
                    const QRgb pic = sheet.pixel(at + QPoint(x, y));
                    if (isBlack(pic))
                        continue;
                    const QRgb base = sheet.pixel(blank * k + QPoint(x, y));
                    const int dist = std::abs(qRed(pic) - qRed(base)) +
                                     std::abs(qGreen(pic) - qGreen(base)) +
                                     std::abs(qBlue(pic) - qBlue(base));
                    contrasting += dist > 150 ? 1 : 0;
                }
            EXPECT_GT(contrasting, 100 * k * k)
                << "picture " << n << " on blank " << blank.x() << "," << blank.y();
        }
    }
}

TEST_P(TileSheet, EdgePictureAndMaskFollowTheBandRule) {
    for (int y = 0; y < kEdgeH * k; ++y)
        for (int x = 0; x < kEdgeW * k; ++x) {
            const bool band = inBand(x, y, k);
            const QRgb pic = sheet.pixel(kEdgePicture * k + QPoint(x, y));
            const QRgb m = sheet.pixel(kEdgeMask * k + QPoint(x, y));
            ASSERT_EQ(!isBlack(pic), band) << "edge picture at " << x << "," << y;
            ASSERT_TRUE(band ? isBlack(m) : isWhite(m)) << "edge mask at " << x << "," << y;
        }
    // The shape itself: corners outside, both arms inside, ends cut at 45 degrees.
    const int d = kEdgeDepth * k, w = kCellW * k, h = kCellH * k;
    EXPECT_FALSE(inBand(0, 0, k));
    EXPECT_FALSE(inBand(w + d - 1, h + d - 1, k));
    EXPECT_TRUE(inBand(0, 10 * k, k));
    EXPECT_TRUE(inBand(20 * k, h + 3 * k, k));
    EXPECT_FALSE(inBand(d - 1, 0, k));
    EXPECT_TRUE(inBand(d - 1, 1, k));
    EXPECT_FALSE(inBand(0, d - 1, k));
    EXPECT_TRUE(inBand(0, d, k));
    EXPECT_TRUE(inBand(w - 1, h + d - 1, k));
    EXPECT_FALSE(inBand(w, h + d - 1, k));
    EXPECT_TRUE(inBand(w + d - 2, h, k));
    EXPECT_FALSE(inBand(w + d - 1, h, k));
    if (k == 1) {
        // The same corners in the numbers the game uses.
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
}

TEST_P(TileSheet, RestOfTheEdgeStripIsBlack) {
    for (int y = 250 * k; y < 306 * k; ++y)
        for (int x = 2 * kEdgeW * k; x < sheet.width(); ++x)
            ASSERT_TRUE(isBlack(sheet.pixel(x, y))) << x << "," << y;
}

TEST_P(TileSheet, BottomBandReadsTheSameWhenCutShort) {
    // The game may draw only the left 27 px of the band's bottom rows; each
    // row must then be uniform along its length, not a gradient that stops.
    for (int y = kCellH * k; y < kEdgeH * k; ++y) {
        const int from = kEdgeDepth * k;
        const QRgb ref = sheet.pixel(kEdgePicture * k + QPoint(from, y));
        for (int x = from; x < 27 * k; ++x)
            EXPECT_EQ(sheet.pixel(kEdgePicture * k + QPoint(x, y)), ref) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(Assets, TileSheet, ::testing::ValuesIn(kScales), scaleName);

class Background : public ::testing::TestWithParam<std::tuple<const char*, int>> {
protected:
    const char* name() const { return std::get<0>(GetParam()); }
    int scale() const { return std::get<1>(GetParam()); }
};

TEST_P(Background, EndsInAPurpleScoreBandThatKeepsTextReadable) {
    const QImage raw = load(name(), scale());
    EXPECT_FALSE(raw.hasAlphaChannel());
    const QImage img = raw.convertToFormat(QImage::Format_RGB32);
    double r = 0, g = 0, b = 0;
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = kScoreBandX * scale(); x < img.width(); ++x) {
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

TEST_P(Background, BoardAreaIsTexturedButDarkerThanTiles) {
    const int k = scale();
    const QImage img = load(name(), k).convertToFormat(QImage::Format_RGB32);
    double sum = 0, sq = 0;
    int n = 0;
    for (int y = 25 * k; y < 453 * k; ++y)
        for (int x = 36 * k; x < 664 * k; ++x) {
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

INSTANTIATE_TEST_SUITE_P(Assets, Background,
                         ::testing::Combine(::testing::Values("kanji.png", "dragons.png"),
                                            ::testing::ValuesIn(kScales)));

TEST(Pointers, AreTwoColoursOnTransparencyWithOpaqueHotSpots) {
    const struct {
        const char* name;
        QPoint hotSpot;
    } pointers[] = {{"techno.png", {0, 0}}, {"hand.png", {5, 0}}};
    for (const int k : kScales)
        for (const auto& ptr : pointers) {
            const QString file = fileName(ptr.name, k);
            const QImage img = load(ptr.name, k).convertToFormat(QImage::Format_ARGB32);
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
                        ADD_FAILURE()
                            << qPrintable(file) << " has a third colour at " << x << "," << y;
                }
            EXPECT_GT(clear, 32 * 32 * k * k / 2) << qPrintable(file);
            EXPECT_GT(black, 30 * k * k) << qPrintable(file);
            EXPECT_GT(white, 30 * k * k) << qPrintable(file);
            EXPECT_EQ(qAlpha(img.pixel(ptr.hotSpot * k)), 255)
                << qPrintable(file) << " hot spot is clear";
        }
}

TEST(Icons, HaveTransparentCornersAndAVisibleBody) {
    const char* const icons[] = {"icon.png", "icon_128.png", "newgame.png", "newgame_disabled.png"};
    for (const int k : kScales)
        for (const char* name : icons) {
            const QString file = fileName(name, k);
            const QImage img = load(name, k).convertToFormat(QImage::Format_ARGB32);
            ASSERT_TRUE(img.hasAlphaChannel()) << qPrintable(file);
            EXPECT_EQ(qAlpha(img.pixel(0, img.height() - 1)), 0) << qPrintable(file);
            const QRgb middle = img.pixel(img.width() / 2, img.height() / 2);
            EXPECT_GT(qAlpha(middle), 128) << qPrintable(file);
        }
}

TEST(Icons, DisabledNewGameIsAGreyTwinOfTheGreenOne) {
    for (const int k : kScales) {
        const QImage on = load("newgame.png", k).convertToFormat(QImage::Format_ARGB32);
        const QImage off = load("newgame_disabled.png", k).convertToFormat(QImage::Format_ARGB32);
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
        EXPECT_GT(green, 40 * k * k) << "scale " << k;
    }
}

TEST(Logo, IsOpaqueAndNotFlat) {
    for (const int k : kScales) {
        const QImage img = load("logo.png", k);
        EXPECT_FALSE(img.hasAlphaChannel());
        const QImage rgb = img.convertToFormat(QImage::Format_RGB32);
        int lo = 255, hi = 0;
        for (int y = 0; y < rgb.height(); ++y)
            for (int x = 0; x < rgb.width(); ++x) {
                lo = std::min(lo, luma(rgb.pixel(x, y)));
                hi = std::max(hi, luma(rgb.pixel(x, y)));
            }
        EXPECT_GT(hi - lo, 150) << "scale " << k;
    }
}
