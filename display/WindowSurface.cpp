#include "WindowSurface.h"

#include "Blit.h"
#include "FreshPixels.h"
#include "Scale.h"

#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>
#include <QPen>
#include <QTimer>
#include <QWindow>

namespace mirelo {

WindowSurface::WindowSurface(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Before the window exists this is the screen's ratio, where it will show.
    scale_ = WholeScale(devicePixelRatioF());
}

void WindowSurface::SetClientSize(QSize size) {
    QImage resized = FreshImage(size * scale_, QImage::Format_RGB32);
    resized.fill(Qt::black);
    resized.setDevicePixelRatio(scale_);
    if (!surface_.isNull())
        Blit(resized, {0, 0}, surface_, surface_.rect(), RasterOp::Copy);
    surface_ = resized;
    setFixedSize(size);
}

void WindowSurface::SetScale(int scale) {
    if (scale == scale_)
        return;
    const QSize size = surface_.size() / scale_;
    scale_ = scale;
    surface_ = QImage();
    SetClientSize(size);
    update();
}

void WindowSurface::Draw(QPoint at, const QImage& src, QRect from) {
    Blit(surface_, at, src, from, RasterOp::Copy, scale_);
    update(QRect(at, from.size()));
}

QImage WindowSurface::Grab(QRect rect) const {
    return surface_.copy(QRect(rect.topLeft() * scale_, rect.size() * scale_));
}

void WindowSurface::DrawOutline(QPoint a, QPoint b, QColor color, int width) {
    // The classic rectangle call leaves out the right and bottom edges and
    // centres a wide pen on the outline: the pen's middle runs from `a` to
    // `b` - (1, 1). Filled band by band, so every pixel is exact.
    const int before = width / 2, after = width - 1 - before;
    const QRect outer(QPoint(a.x() - before, a.y() - before),
                      QPoint(b.x() - 1 + after, b.y() - 1 + after));
    // The painter follows the image's device pixel ratio: at scale 2 every
    // band is twice as long and wide, still on whole pixels.
    QPainter painter(&surface_);
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), color);
    painter.fillRect(QRect(outer.left(), outer.bottom() - width + 1, outer.width(), width), color);
    painter.fillRect(QRect(outer.left(), outer.top(), width, outer.height()), color);
    painter.fillRect(QRect(outer.right() - width + 1, outer.top(), width, outer.height()), color);
    update(outer);
}

void WindowSurface::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    // The window's own pixels, Qt's, are new at the first paint as well.
    const QPaintEngine* engine = painter.paintEngine();
    const QPaintDevice* target = engine ? engine->paintDevice() : nullptr;
    if (!painted_ && target && target->devType() == QInternal::Image)
        MapInPixels(*static_cast<const QImage*>(target));
    const qreal ratio = devicePixelRatioF();
    if (ratio == scale_) {
        // Pixel for pixel.
        const QRect r = event->rect();
        painter.drawImage(r, surface_, QRect(r.topLeft() * scale_, r.size() * scale_));
    } else {
        // Between the whole scales the finer picture is shrunk smoothly, the
        // whole surface onto the whole widget (clipped to what needs painting),
        // so that a partial update samples exactly as a full one.
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rect()), surface_, QRectF(surface_.rect()));
        if (WholeScale(ratio) != scale_)
            QTimer::singleShot(0, this, &WindowSurface::FollowScreen);
    }
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

void WindowSurface::FollowScreen() {
    const int scale = WholeScale(devicePixelRatioF());
    if (scale == scale_)
        return;
    SetScale(scale);
    if (OnScaleChange)
        OnScaleChange();
}

void WindowSurface::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!followingScreen_) {
        if (QWindow* handle = window()->windowHandle()) {
            followingScreen_ = true;
            // Queued: the window's ratio follows its new screen after the signal.
            connect(handle, &QWindow::screenChanged, this,
                    [this] { QTimer::singleShot(0, this, &WindowSurface::FollowScreen); });
        }
    }
    FollowScreen();
    // The first paint of the board runs outside paintEvent: it may find a won
    // game and open a message box.
    if (OnFirstShow)
        QTimer::singleShot(0, this, [this] {
            if (OnFirstShow)
                OnFirstShow();
        });
}

} // namespace mirelo
