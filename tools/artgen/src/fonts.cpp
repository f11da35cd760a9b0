#include "fonts.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPen>
#include <QStringList>
#include <QTransform>
#include <algorithm>
#include <cstdio>

namespace artgen {
namespace {

constexpr int kReferencePixelSize = 256;

QString loadFamily(const QString& file, const QString& wanted) {
    const int id = QFontDatabase::addApplicationFont(file);
    if (id < 0) {
        std::fprintf(stderr, "artgen: cannot load font %s\n", qPrintable(file));
        return {};
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.contains(wanted))
        return wanted;
    std::fprintf(stderr, "artgen: %s does not provide %s\n", qPrintable(file), qPrintable(wanted));
    return {};
}

} // namespace

Fonts Fonts::load() {
    Fonts f;
    f.cjk = loadFamily(QStringLiteral("/usr/share/fonts/truetype/arphic/ukai.ttc"),
                       QStringLiteral("AR PL UKai TW"));
    f.cjkBold = loadFamily(QStringLiteral("/usr/share/fonts/opentype/noto/NotoSerifCJK-Bold.ttc"),
                           QStringLiteral("Noto Serif CJK TC"));
    f.serif = loadFamily(QStringLiteral("/usr/share/fonts/opentype/urw-base35/C059-Bold.otf"),
                         QStringLiteral("C059"));
    f.sans = loadFamily(QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"),
                        QStringLiteral("DejaVu Sans"));
    f.label = loadFamily(
        QStringLiteral("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"),
        QStringLiteral("Liberation Sans"));
    return f;
}

QPainterPath textPath(const QString& family, const QString& text, int weight) {
    QFont font(family);
    font.setPixelSize(kReferencePixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    font.setHintingPreference(QFont::PreferNoHinting);
    QPainterPath path;
    path.addText(0, 0, font, text);
    return path;
}

QPainterPath fitInk(const QPainterPath& path, const QRectF& box) {
    return fitInkStretched(path, box, 1.0);
}

QPainterPath fitInkStretched(const QPainterPath& path, const QRectF& box, qreal maxStretch) {
    const QRectF ink = path.boundingRect();
    if (ink.isEmpty())
        return path;
    const qreal sx = box.width() / ink.width();
    const qreal sy = box.height() / ink.height();
    const qreal s = std::min(sx, sy);
    const qreal kx = sx > sy ? std::min(sx / s, maxStretch) : 1.0;
    const qreal ky = sy > sx ? std::min(sy / s, maxStretch) : 1.0;
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(s * kx, s * ky);
    t.translate(-ink.center().x(), -ink.center().y());
    return t.map(path);
}

void paintInk(QPainter& p, const QPainterPath& path, const QColor& color, qreal embolden) {
    p.fillPath(path, color);
    if (embolden > 0) {
        p.strokePath(path, QPen(color, embolden, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
}

void paintText(QPainter& p, const QString& family, const QString& text, const QRectF& box,
               const QColor& color, qreal embolden, qreal maxStretch, int weight) {
    const qreal grow = embolden / 2;
    const QRectF inner = box.adjusted(grow, grow, -grow, -grow);
    paintInk(p, fitInkStretched(textPath(family, text, weight), inner, maxStretch), color,
             embolden);
}

} // namespace artgen
