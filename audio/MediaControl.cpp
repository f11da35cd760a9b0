#include "MediaControl.h"

#include <QHBoxLayout>
#include <QStyle>
#include <QToolButton>

namespace mirelo {

MediaControl::MediaControl(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Media"));
    setFixedSize(57, 25);
    setToolTip(QStringLiteral(" Music control "));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    auto button = [this, row](const QString& name, QStyle::StandardPixmap icon) {
        auto* b = new QToolButton(this);
        b->setObjectName(name);
        b->setIcon(style()->standardIcon(icon));
        b->setAutoRaise(false);
        // Clicking music must not take the keyboard away from the board.
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        row->addWidget(b);
        return b;
    };
    play_ = button(QStringLiteral("Play"), QStyle::SP_MediaPlay);
    pause_ = button(QStringLiteral("Pause"), QStyle::SP_MediaPause);
    setEnabled(false);
}

} // namespace mirelo
