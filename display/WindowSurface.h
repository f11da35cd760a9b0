#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace mirelo {

// The main window's client area. The game draws "onto the window" at any time,
// from any handler; Qt paints only in paintEvent. So every drawing goes into
// one client-sized image and asks Qt to update the touched rectangle, and
// paintEvent does nothing but copy that image.
class WindowSurface : public QWidget {
    Q_OBJECT
public:
    explicit WindowSurface(QWidget* parent = nullptr);

    // Resizes the surface and the widget together; new pixels are black.
    void SetClientSize(QSize size);

    // Copies `from` of `src` to `at`, like a block copy onto the window.
    void Draw(QPoint at, const QImage& src, QRect from);
    void Draw(QPoint at, const QImage& src) { Draw(at, src, src.rect()); }
    // A copy of the window pixels in `rect`.
    QImage Grab(QRect rect) const;
    // An outline with corners `a` and `b` drawn with a pen `width` px wide, no
    // fill: with a 3 px pen and corners one pixel inside a tile's face, it
    // covers the face's outer three pixels all round.
    void DrawOutline(QPoint a, QPoint b, QColor color, int width);

    const QImage& Surface() const { return surface_; }
    QImage& Surface() { return surface_; }

    std::function<void(Qt::MouseButton)> OnButtonUp;
    std::function<void()> OnPointerMove;
    std::function<void()> OnFirstShow;
    // Once, just after the first paint has reached the screen.
    std::function<void()> OnFirstPaint;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QImage surface_;
    bool painted_ = false;
};

} // namespace mirelo
