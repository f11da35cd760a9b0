#include "TUrlLabel.h"

#include "Scale.h"
#include "TileSheet.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QRegularExpression>

namespace mirelo {

namespace {

QCursor HandCursor() {
    // On a dense screen its finer drawing, at the same size.
    const int scale = WholeScale(qApp->devicePixelRatio());
    const QPixmap hand = LoadPixmap("hand.png", scale);
    if (hand.isNull())
        return QCursor(Qt::PointingHandCursor);
    // The hot spot is the tip of the raised finger.
    return QCursor(hand, 5, 0);
}

} // namespace

std::function<void(const QUrl&)> TUrlLabel::OpenLink = [](const QUrl& url) {
    QDesktopServices::openUrl(url);
};

TUrlLabel::TUrlLabel(QWidget* parent) : TUrlLabel(QString(), QString(), parent) {}

TUrlLabel::TUrlLabel(const QString& caption, const QString& url, QWidget* parent)
    : QLabel(caption, parent), URL(url) {
    setTextFormat(Qt::PlainText);
    QFont underlined = font();
    underlined.setUnderline(true);
    setFont(underlined);
    SetFontColor(QColor(0, 0, 255));
    setCursor(HandCursor());

    PopupMenu = new QMenu(this);
    Copy1 = PopupMenu->addAction(QStringLiteral("Copy"));
    connect(Copy1, &QAction::triggered, this,
            [this] { QGuiApplication::clipboard()->setText(text()); });
}

QColor TUrlLabel::FontColor() const {
    return palette().color(QPalette::WindowText);
}

void TUrlLabel::SetFontColor(const QColor& color) {
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, color);
    setPalette(pal);
}

QUrl TUrlLabel::LinkFor(const QString& target) {
    const QString t = target.trimmed();
    if (t.isEmpty())
        return {};
    // A bare address is meant for the mail program.
    static const QRegularExpression mailAddress(QStringLiteral("^[^@/:\\s]+@[^@/:\\s]+$"));
    if (mailAddress.match(t).hasMatch())
        return QUrl(QStringLiteral("mailto:") + t);
    return QUrl::fromUserInput(t);
}

QUrl TUrlLabel::Target() const {
    return LinkFor(URL.trimmed().isEmpty() ? text() : URL);
}

void TUrlLabel::Click() {
    const QUrl target = Target();
    // Whether the desktop managed to open it is not our concern.
    if (!target.isEmpty() && OpenLink)
        OpenLink(target);
}

void TUrlLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && !held_) {
        held_ = true;
        heldColour_ = FontColor();
        SetFontColor(ActiveColor);
    }
    QLabel::mousePressEvent(event);
}

void TUrlLabel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && held_) {
        held_ = false;
        SetFontColor(heldColour_);
        if (rect().contains(event->position().toPoint()))
            Click();
    }
    QLabel::mouseReleaseEvent(event);
}

void TUrlLabel::contextMenuEvent(QContextMenuEvent* event) {
    PopupMenu->exec(event->globalPos());
}

} // namespace mirelo
