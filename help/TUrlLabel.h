#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QUrl>
#include <functional>

class QAction;
class QMenu;

namespace mirelo {

// A label that opens its link with the desktop's default browser or mail
// program when clicked, and offers "Copy" on its context menu.
class TUrlLabel : public QLabel {
    Q_OBJECT
public:
    explicit TUrlLabel(QWidget* parent = nullptr);
    TUrlLabel(const QString& caption, const QString& url, QWidget* parent = nullptr);

    // The link; when blank, the caption is the link.
    QString URL;
    // The text colour while the left button is held down.
    QColor ActiveColor{128, 0, 128};

    QColor FontColor() const;
    void SetFontColor(const QColor& color);

    // Opens the link as a click does; nothing when both URL and caption are blank.
    void Click();
    // What Click opens, or an empty QUrl.
    QUrl Target() const;

    // How links are opened: QDesktopServices::openUrl, replaced in tests so
    // that no browser starts.
    static std::function<void(const QUrl&)> OpenLink;

    // "www.example.org" and "someone@example.org" as the desktop understands them.
    static QUrl LinkFor(const QString& target);

    QMenu* PopupMenu = nullptr;
    QAction* Copy1 = nullptr;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    QColor heldColour_;
    bool held_ = false;
};

} // namespace mirelo
