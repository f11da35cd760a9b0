#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace mirelo {

// The name dialog. There is no cancel: the name follows every keystroke, and
// closing the dialog by its close box keeps what was typed, exactly as OK does.
class TConfigu : public QDialog {
    Q_OBJECT
public:
    explicit TConfigu(QWidget* parent = nullptr);

    // Called with the new text on every change of the edit.
    std::function<void(const QString&)> PlayerNameChange;

    QLabel* Label1;
    QLineEdit* PlayerName;
    QPushButton* Button1;
};

} // namespace mirelo
