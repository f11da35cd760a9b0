// Stored glyph pixels must put on the window exactly what drawing the text
// there would.
#include "TextOverlay.h"
#include "WindowSurface.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace mirelo {
namespace {

// A busy picture, so blending against what lies under the text shows.
void Paint(QImage& image) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 37) & 255, (y * 53) & 255, ((x + y) * 11) & 255));
}

int LargestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

struct Text {
    QPoint At;
    QString Words;
    QColor Color;
};

void Compare(QFont::StyleStrategy strategy, int tolerance) {
    QFont font(QStringLiteral("Courier New"));
    font.setPixelSize(13);
    font.setBold(true);
    font.setStyleStrategy(strategy);
    // The second text starts inside the first one's box, and the last runs off
    // the right edge: overlapping glyphs and clipping both count.
    const Text texts[] = {{{10, 5}, QStringLiteral("HALL OF"), QColor(255, 255, 0)},
                          {{30, 9}, QStringLiteral("Player1"), QColor(255, 255, 255)},
                          {{80, 40}, QStringLiteral("01:01"), QColor(0, 255, 255)}};

    WindowSurface surface;
    surface.SetClientSize({110, 60});
    Paint(surface.Surface());
    QImage expected = surface.Surface().copy();
    {
        QPainter painter(&expected);
        painter.setFont(font);
        for (const Text& t : texts) {
            painter.setPen(t.Color);
            const QRect box = painter.boundingRect(QRect(t.At, QSize(1000, 100)),
                                                   Qt::AlignLeft | Qt::AlignTop, t.Words);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignTop, t.Words);
        }
    }

    TextOverlay overlay;
    for (const Text& t : texts)
        overlay.AddText(t.At, t.Words, font, t.Color);
    ASSERT_FALSE(overlay.IsEmpty());
    EXPECT_TRUE(overlay.Bounds().contains(QRect(10, 5, 20, 8)));
    overlay.DrawOn(surface);
    EXPECT_NE(surface.Surface(), QImage(surface.Surface().size(), surface.Surface().format()));
    EXPECT_LE(LargestDifference(surface.Surface(), expected), tolerance);

    // Drawn again on the same pixels: without coverage blending nothing changes.
    if (strategy == QFont::NoAntialias) {
        const QImage once = surface.Surface().copy();
        overlay.DrawOn(surface);
        EXPECT_EQ(surface.Surface(), once);
    }
}

TEST(TextOverlay, LaysDownWhatDrawingTheTextWould) {
    Compare(QFont::NoAntialias, 0);
    // Blended edges may differ by rounding alone.
    Compare(QFont::PreferAntialias, 1);
}

TEST(TextOverlay, ClearedOverlayDrawsNothing) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    TextOverlay overlay;
    overlay.AddText({0, 0}, QStringLiteral("FAME"), font, Qt::yellow);
    overlay.Clear();
    EXPECT_TRUE(overlay.IsEmpty());
    WindowSurface surface;
    surface.SetClientSize({40, 20});
    Paint(surface.Surface());
    const QImage before = surface.Surface().copy();
    overlay.DrawOn(surface);
    EXPECT_EQ(surface.Surface(), before);
}

} // namespace
} // namespace mirelo
