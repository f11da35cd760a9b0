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

QImage WindowSurface::Grab(QRect rect) const { return surface_.copy(rect); }

void WindowSurface::DrawOutline(QPoint a, QPoint b, QColor color, int width) {
    QPainter painter(&surface_);
    QPen pen(color, width);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const QRect rect(a, b);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    update(rect.adjusted(-width, -width, width, width));
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
