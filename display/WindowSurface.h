#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace mirelo {

// The main window's client area. The game draws "onto the window" at any time,
// from any handler; Qt paints only in paintEvent. So every drawing goes into
// one client-sized image and asks Qt to update the touched rectangle, and
// paintEvent does nothing but copy that image.
//
// The image is kept at a whole scale, 1 or 2, picked from the window's device
// pixel ratio (WholeScale): at scale 2 it has four pixels for every pixel of
// the game. Every position and rectangle below is in the game's own pixels; the
// pictures drawn must be at the surface's scale.
class WindowSurface : public QWidget {
    Q_OBJECT
public:
    explicit WindowSurface(QWidget* parent = nullptr);

    // Resizes the surface and the widget together; new pixels are black.
    void SetClientSize(QSize size);
    // Makes the image `scale` times finer, all black; the game must draw it again.
    void SetScale(int scale);
    int Scale() const { return scale_; }

    // Copies `from` of `src` to `at`, like a block copy onto the window.
    void Draw(QPoint at, const QImage& src, QRect from);
    void Draw(QPoint at, const QImage& src) { Draw(at, src, QRect(QPoint(), src.size() / scale_)); }
    // A copy of the window pixels in `rect`, at the surface's scale.
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
    // After the window reached a screen whose ratio asks for another scale
    // (SetScale has run): everything on the surface must be drawn again.
    std::function<void()> OnScaleChange;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Picks the scale again for the window's ratio now; tells OnScaleChange.
    void FollowScreen();

    QImage surface_;
    int scale_ = 1;
    bool painted_ = false;
    bool followingScreen_ = false;
};

} // namespace mirelo
