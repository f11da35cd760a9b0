#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstdint>
#include <vector>

namespace mirelo {

class WindowSurface;

// Text drawn once and laid onto the window as often as needed. The Hall of
// Fame strip goes onto the window after every redraw, single tiles included;
// laying down stored glyph pixels costs a few microseconds where drawing the
// text again costs a few hundred.
class TextOverlay {
public:
    void Clear();
    // Text with its top-left at `at`, as WindowSurface::DrawText places it.
    void AddText(QPoint at, const QString& text, const QFont& font, QColor color);
    // Paints the glyph pixels onto the window, blended by their coverage, and
    // asks for the touched rectangle to be shown.
    void DrawOn(WindowSurface& surface) const;

    bool IsEmpty() const { return runs_.empty(); }
    QRect Bounds() const { return bounds_; }

private:
    // A row of glyph pixels of one premultiplied colour.
    struct Run {
        int Y;
        int X;
        int Length;
        std::uint32_t Argb;
    };
    std::vector<Run> runs_;
    QRect bounds_;
};

} // namespace mirelo
