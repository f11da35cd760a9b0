#pragma once
// Font loading and glyph outlines. Fonts are loaded from fixed files so a
// rerun draws exactly the same outlines regardless of fontconfig's choices.

#include <QColor>
#include <QFont>
#include <QPainterPath>
#include <QRectF>
#include <QString>

class QPainter;

namespace artgen {

struct Fonts {
    QString cjk;     // brush-style CJK face for tile symbols and decoration
    QString cjkBold; // heavy CJK face for small characters
    QString serif;   // bold Latin serif for the title
    QString sans;    // bold Latin sans for digits on tiles
    QString label;   // plain Latin sans for captions on the contact sheet

    // Loads every face or returns an empty Fonts and prints what is missing.
    static Fonts load();
    bool ok() const {
        return !cjk.isEmpty() && !cjkBold.isEmpty() && !serif.isEmpty() && !sans.isEmpty() &&
               !label.isEmpty();
    }
};

// Outline of text at a large reference size, with its origin on the baseline.
QPainterPath textPath(const QString& family, const QString& text, int weight = QFont::Normal);

// Scales the path uniformly so its ink fits box, centred in it.
QPainterPath fitInk(const QPainterPath& path, const QRectF& box);

// Same, but may stretch up to maxStretch along one axis to fill the box more.
QPainterPath fitInkStretched(const QPainterPath& path, const QRectF& box, qreal maxStretch);

// Fills the outline and strokes it with a pen of width `embolden` so thin brush
// strokes survive at tile size.
void paintInk(QPainter& p, const QPainterPath& path, const QColor& color, qreal embolden);

// Fits text into box (allowing for the emboldening) and paints it.
void paintText(QPainter& p, const QString& family, const QString& text, const QRectF& box,
               const QColor& color, qreal embolden, qreal maxStretch = 1.0,
               int weight = QFont::Normal);

} // namespace artgen
