#include "WindowSurface.h"

#include "Blit.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QTimer>

namespace mirelo {

WindowSurface::WindowSurface(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void WindowSurface::SetClientSize(QSize size) {
    QImage resized(size, QImage::Format_RGB32);
    resized.fill(Qt::black);
    if (!surface_.isNull())
        Blit(resized, {0, 0}, surface_, surface_.rect(), RasterOp::Copy);
    surface_ = resized;
    setFixedSize(size);
}

void WindowSurface::Draw(QPoint at, const QImage& src, QRect from) {
    Blit(surface_, at, src, from, RasterOp::Copy);
    update(QRect(at, from.size()));
}

QImage WindowSurface::Grab(QRect rect) const {
    return surface_.copy(rect);
}

void WindowSurface::DrawOutline(QPoint a, QPoint b, QColor color, int width) {
    // The classic rectangle call leaves out the right and bottom edges and
    // centres a wide pen on the outline: the pen's middle runs from `a` to
    // `b` - (1, 1). Filled band by band, so every pixel is exact.
    const int before = width / 2, after = width - 1 - before;
    const QRect outer(QPoint(a.x() - before, a.y() - before),
                      QPoint(b.x() - 1 + after, b.y() - 1 + after));
    QPainter painter(&surface_);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), color);
    painter.fillRect(QRect(outer.left(), outer.bottom() - width + 1, outer.width(), width), color);
    painter.fillRect(QRect(outer.left(), outer.top(), width, outer.height()), color);
    painter.fillRect(QRect(outer.right() - width + 1, outer.top(), width, outer.height()), color);
    update(outer);
}

void WindowSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.drawImage(event->rect(), surface_, event->rect());
    if (!painted_) {
        painted_ = true;
        QTimer::singleShot(0, this, [this] {
            if (OnFirstPaint)
                OnFirstPaint();
        });
    }
}

void WindowSurface::mouseReleaseEvent(QMouseEvent* event) {
    if (OnButtonUp)
        OnButtonUp(event->button());
}

void WindowSurface::mouseMoveEvent(QMouseEvent*) {
    if (OnPointerMove)
        OnPointerMove();
}

void WindowSurface::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The first paint of the board runs outside paintEvent: it may find a won
    // game and open a message box.
    if (OnFirstShow)
        QTimer::singleShot(0, this, [this] {
            if (OnFirstShow)
                OnFirstShow();
        });
}

} // namespace mirelo
