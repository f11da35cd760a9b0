// Checks that each @2x picture is the scale-1 picture drawn finer, not a
// different one: averaged down over 2 x 2 blocks it must come out close to
// its scale-1 twin, and every tile face closest to its own.

#include "asset_images.h"

#include <QColor>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

using namespace assets;

namespace {

// Box filter: each pixel the mean of a 2 x 2 block, alpha included, colour
// weighted by alpha so clear pixels lend no colour.
QImage halve(const QImage& img) {
    const QImage src = img.convertToFormat(QImage::Format_ARGB32);
    QImage out(src.width() / 2, src.height() / 2, QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x) {
            int r = 0, g = 0, b = 0, a = 0;
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx) {
                    const QRgb c = src.pixel(2 * x + dx, 2 * y + dy);
                    r += qRed(c) * qAlpha(c);
                    g += qGreen(c) * qAlpha(c);
                    b += qBlue(c) * qAlpha(c);
                    a += qAlpha(c);
                }
            out.setPixel(x, y,
                         a == 0 ? qRgba(0, 0, 0, 0) : qRgba(r / a, g / a, b / a, (a + 2) / 4));
        }
    return out;
}

// Mean absolute difference per channel (alpha too) over two same-sized
// pictures, in 0..255. Colours are weighed by their opacity, as they show.
double meanDifference(const QImage& a, const QImage& b) {
    EXPECT_EQ(a.size(), b.size());
    const QImage x = a.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    double sum = 0;
    for (int j = 0; j < x.height(); ++j)
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q)) + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * x.width() * x.height());
}

// A finished face as the game composes it: blank copied, mask ANDed,
// picture ORed.
QImage face(const QImage& sheet, const QImage& mask, int picture, QPoint blank, int k) {
    const QRect cell = cellRect(pictureCell(picture), k);
    const QImage base = sheet.copy(cellRect(blank, k));
    QImage out(cell.size(), QImage::Format_RGB32);
    for (int y = 0; y < cell.height(); ++y)
        for (int x = 0; x < cell.width(); ++x) {
            const QPoint at = cell.topLeft() + QPoint(x, y);
            out.setPixel(x, y, (base.pixel(x, y) & mask.pixel(at)) | sheet.pixel(at));
        }
    return out;
}

class ScaleTwins : public ::testing::Test {
protected:
    void SetUp() override {
        sheet1 = loadRgb("tilegfx.png", 1);
        mask1 = loadRgb("mask.png", 1);
        sheet2 = loadRgb("tilegfx.png", 2);
        mask2 = loadRgb("mask.png", 2);
        ASSERT_EQ(sheet2.size(), sheet1.size() * 2);
        ASSERT_EQ(mask2.size(), mask1.size() * 2);
    }
    QImage sheet1, mask1, sheet2, mask2;
};

} // namespace

TEST_F(ScaleTwins, EveryFaceMatchesItsOwnScaleOneFaceOnEveryBlank) {
    // Edges land a little differently on the finer grid. Faces of one suit
    // can be nearly as close as that (a Crack differs from the next by one
    // stroke), so each face must also be nearer its own twin than any other.
    constexpr double kClose = 6.0;
    for (const QPoint blank : kBlanks) {
        std::vector<QImage> ones;
        for (int n = 1; n <= kPictures; ++n)
            ones.push_back(face(sheet1, mask1, n, blank, 1));
        for (int n = 1; n <= kPictures; ++n) {
            const QImage reduced = halve(face(sheet2, mask2, n, blank, 2));
            const double own = meanDifference(reduced, ones[n - 1]);
            EXPECT_LT(own, kClose)
                << "picture " << n << " on blank " << blank.x() << "," << blank.y();
            for (int m = 1; m <= kPictures; ++m)
                if (m != n) {
                    const double other = meanDifference(reduced, ones[m - 1]);
                    EXPECT_LT(own, other) << "picture " << n << " looks more like " << m;
                }
        }
    }
}

TEST_F(ScaleTwins, BlanksAndEdgeBandMatchTheirScaleOneTwins) {
    constexpr double kClose = 1.5;
    const auto twins = [this](QRect one) {
        return meanDifference(halve(sheet2.copy(QRect(one.topLeft() * 2, one.size() * 2))),
                              sheet1.copy(one));
    };
    for (const QPoint blank : kBlanks)
        EXPECT_LT(twins(cellRect(blank, 1)), kClose)
            << "blank at " << blank.x() << "," << blank.y();
    for (const QPoint at : {kEdgePicture, kEdgeMask})
        EXPECT_LT(twins(QRect(at, QSize(kEdgeW, kEdgeH))), kClose)
            << "edge strip at " << at.x() << "," << at.y();
}

TEST(ScaleTwinPictures, ReduceToTheirScaleOneTwins) {
    const struct {
        const char* name;
        double close;
    } pictures[] = {
        // Textures carry their own per-pixel grain, which a reduction averages away.
        {"kanji.png", 3.0},
        {"dragons.png", 3.0},
        {"logo.png", 3.0},
        // The 32 px icon strokes heavier than its 64 px twin so it reads small.
        {"icon.png", 12.0},
        {"icon_128.png", 2.0},
        // At 16 px anti-aliased edges fall on quite different pixels.
        {"newgame.png", 7.0},
        {"newgame_disabled.png", 6.0},
    };
    for (const auto& p : pictures) {
        const QImage one = load(p.name, 1);
        const QImage two = load(p.name, 2);
        ASSERT_EQ(two.size(), one.size() * 2) << p.name;
        EXPECT_LT(meanDifference(halve(two), one), p.close) << p.name;
    }
}

TEST(ScaleTwinPictures, BackgroundsMatchBlockByBlock) {
    // A whole-picture mean could hide a misplaced figure; compare tile-sized
    // blocks so the dragon, the clouds and the characters must each line up.
    for (const char* name : {"kanji.png", "dragons.png"}) {
        const QImage one = loadRgb(name, 1);
        const QImage reduced = halve(loadRgb(name, 2));
        double worst = 0;
        for (int y = 0; y + kCellH <= one.height(); y += kCellH)
            for (int x = 0; x + kCellW <= one.width(); x += kCellW) {
                const QRect block(x, y, kCellW, kCellH);
                worst = std::max(worst, meanDifference(reduced.copy(block), one.copy(block)));
            }
        EXPECT_LT(worst, 4.0) << name;
    }
}

TEST(ScaleTwinPictures, PointersCoverTheSameShape) {
    for (const char* name : {"techno.png", "hand.png"}) {
        const QImage one = load(name, 1).convertToFormat(QImage::Format_ARGB32);
        const QImage reduced = halve(load(name, 2));
        int agree = 0, opaque = 0;
        for (int y = 0; y < one.height(); ++y)
            for (int x = 0; x < one.width(); ++x) {
                const bool a = qAlpha(one.pixel(x, y)) > 0;
                const bool b = qAlpha(reduced.pixel(x, y)) >= 128;
                opaque += a ? 1 : 0;
                agree += a == b ? 1 : 0;
            }
        // Only the outline's staircase may differ.
        EXPECT_GT(agree, one.width() * one.height() - opaque / 20) << name;
    }
}
