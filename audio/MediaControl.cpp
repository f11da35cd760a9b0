#include "MediaControl.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QToolButton>

namespace mirelo {

namespace {

enum class Glyph { Play, Pause };

// The two glyphs are drawn here rather than looked up in the desktop's icon
// theme: the look stays the same everywhere, and the window does not wait for
// a scan of the icon folders while it is being built. The disabled look is
// made from this one by the style.
QIcon GlyphIcon(Glyph glyph, const QColor& colour) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    if (glyph == Glyph::Play) {
        const QPointF triangle[] = {{3.5, 2}, {13.5, 8}, {3.5, 14}};
        p.drawPolygon(triangle, 3);
    } else {
        p.drawRect(QRectF(4, 3, 3, 10));
        p.drawRect(QRectF(9, 3, 3, 10));
    }
    return QIcon(pixmap);
}

} // namespace

MediaControl::MediaControl(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Media"));
    setFixedSize(57, 25);
    setToolTip(QStringLiteral(" Music control "));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    const QColor colour = palette().color(QPalette::ButtonText);
    auto button = [this, row, colour](const QString& name, Glyph glyph) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setIcon(GlyphIcon(glyph, colour));
        b->setAutoRaise(false);
        // Clicking music must not take the keyboard away from the board.
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        row->addWidget(b);
        return b;
    };
    play_ = button(QStringLiteral("Play"), Glyph::Play);
    pause_ = button(QStringLiteral("Pause"), Glyph::Pause);
    setEnabled(false);
}

} // namespace mirelo
