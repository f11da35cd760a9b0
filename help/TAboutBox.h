#pragma once

#include <QDialog>

class QFrame;
class QPushButton;

namespace mirelo {

class TLabel3D;
class TUrlLabel;

// The about box: title, credits and the links to the game's pages.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    TLabel3D* ProductName = nullptr;
    TUrlLabel* HomePage = nullptr;
    TUrlLabel* WebSite = nullptr;
    TUrlLabel* EMail = nullptr;
    QPushButton* OKButton = nullptr;

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace mirelo
