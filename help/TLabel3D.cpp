#include "TLabel3D.h"

#include <QEvent>
#include <QFontMetrics>
#include <QPainter>

namespace mirelo {

namespace {

// Room for the echo below and right of the text.
constexpr int EchoMargin = 1;

struct Echo {
    bool drawn;
    QPalette::ColorRole role;
};

// The (+1, +1) and (-1, -1) echoes of each style.
struct Echoes {
    Echo down;
    Echo up;
};

Echoes EchoesOf(TCaptionStyle style) {
    constexpr Echo none{false, QPalette::NoRole};
    constexpr Echo highlight{true, QPalette::Light};
    constexpr Echo shadow{true, QPalette::Dark};
    switch (style) {
    case TCaptionStyle::csRaised:
        return {none, highlight};
    case TCaptionStyle::csHeavyRaised:
        return {shadow, highlight};
    case TCaptionStyle::csRecessed:
        return {highlight, none};
    case TCaptionStyle::csHeavyRecessed:
        return {highlight, shadow};
    case TCaptionStyle::csNone:
        break;
    }
    return {none, none};
}

} // namespace

TLabel3D::TLabel3D(QWidget* parent) : TLabel3D(QString(), parent) {}

TLabel3D::TLabel3D(const QString& caption, QWidget* parent) : QWidget(parent), caption_(caption) {
    resize(62, 16);
    // Wrapped by default: a caption longer than the label goes on to the next line.
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(wordWrap_);
    setSizePolicy(policy);
}

void TLabel3D::SetCaption(const QString& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    Changed();
}

void TLabel3D::SetCaptionStyle(TCaptionStyle style) {
    if (style_ == style)
        return;
    style_ = style;
    update();
}

void TLabel3D::SetAlignment(Qt::Alignment alignment) {
    alignment_ = alignment & Qt::AlignHorizontal_Mask;
    update();
}

void TLabel3D::SetWordWrap(bool wrap) {
    if (wordWrap_ == wrap)
        return;
    wordWrap_ = wrap;
    QSizePolicy policy = sizePolicy();
    policy.setHeightForWidth(wrap);
    setSizePolicy(policy);
    Changed();
}

void TLabel3D::SetShowAccelChar(bool show) {
    showAccelChar_ = show;
    Changed();
}

void TLabel3D::SetTransparent(bool transparent) {
    transparent_ = transparent;
    update();
}

QColor TLabel3D::Color() const {
    return color_.isValid() ? color_ : palette().color(QPalette::Window);
}

void TLabel3D::SetColor(const QColor& color) {
    color_ = color;
    update();
}

void TLabel3D::SetFontColor(const QColor& color) {
    fontColor_ = color;
    update();
}

int TLabel3D::TextFlags() const {
    int flags = int(alignment_) | Qt::AlignTop | Qt::TextExpandTabs;
    if (wordWrap_)
        flags |= Qt::TextWordWrap;
    if (showAccelChar_)
        flags |= Qt::TextShowMnemonic;
    return flags;
}

void TLabel3D::Changed() {
    updateGeometry();
    update();
}

QSize TLabel3D::sizeHint() const {
    const QRect text =
        fontMetrics().boundingRect(QRect(0, 0, 0, 0), TextFlags() & ~Qt::TextWordWrap, caption_);
    return {text.width() + EchoMargin, text.height() + EchoMargin};
}

QSize TLabel3D::minimumSizeHint() const {
    if (!wordWrap_)
        return sizeHint();
    return {0, heightForWidth(width())};
}

int TLabel3D::heightForWidth(int width) const {
    const QRect text = fontMetrics().boundingRect(QRect(0, 0, qMax(1, width - EchoMargin), 100000),
                                                  TextFlags(), caption_);
    return text.height() + EchoMargin;
}

void TLabel3D::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!transparent_)
        painter.fillRect(rect(), Color());
    painter.setFont(font());
    const QRect area = rect();
    const int flags = TextFlags();
    const Echoes echoes = EchoesOf(style_);
    auto pass = [&](QPoint offset, const QColor& colour) {
        painter.setPen(colour);
        painter.drawText(area.translated(offset), flags, caption_);
    };
    // The system colours do not dim with the label, so they come from the active group.
    if (echoes.down.drawn)
        pass({1, 1}, palette().color(QPalette::Active, echoes.down.role));
    if (echoes.up.drawn)
        pass({-1, -1}, palette().color(QPalette::Active, echoes.up.role));
    pass({0, 0},
         isEnabled() ? fontColor_ : palette().color(QPalette::Disabled, QPalette::WindowText));
}

void TLabel3D::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange)
        updateGeometry();
    QWidget::changeEvent(event);
}

} // namespace mirelo
