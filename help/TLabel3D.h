#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace mirelo {

enum class TCaptionStyle { csNone, csRaised, csHeavyRaised, csRecessed, csHeavyRecessed };

// A text label drawn with a one-pixel light and dark echo, so that it looks
// raised from or pressed into its background. The echo colours are the
// desktop's button highlight and shadow (the palette's Light and Dark roles).
class TLabel3D : public QWidget {
    Q_OBJECT
public:
    explicit TLabel3D(QWidget* parent = nullptr);
    TLabel3D(const QString& caption, QWidget* parent = nullptr);

    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

    TCaptionStyle CaptionStyle() const { return style_; }
    void SetCaptionStyle(TCaptionStyle style);

    // Only the horizontal part counts: the text always starts at the top.
    Qt::Alignment Alignment() const { return alignment_; }
    void SetAlignment(Qt::Alignment alignment);

    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wrap);

    // "&" underlines the next character when set, and is shown as is otherwise.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool show);

    // A transparent label leaves what lies behind it; otherwise it fills with
    // Color, which follows the parent's background until it is set.
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    QColor Color() const;
    void SetColor(const QColor& color);

    QColor FontColor() const { return fontColor_; }
    void SetFontColor(const QColor& color);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return wordWrap_; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int TextFlags() const;
    void Changed();

    QString caption_;
    TCaptionStyle style_ = TCaptionStyle::csRecessed;
    Qt::Alignment alignment_ = Qt::AlignLeft;
    bool wordWrap_ = true;
    bool showAccelChar_ = true;
    bool transparent_ = false;
    QColor color_; // invalid: the parent's background
    QColor fontColor_ = Qt::black;
};

} // namespace mirelo
