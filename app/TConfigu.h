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
    // How many characters a player may type, counted as a person sees them.
    static constexpr int MaxTypedCharacters = 8;

    explicit TConfigu(QWidget* parent = nullptr);

    // Shows `name` in the edit whole, also when it is longer than a player may
    // type: only the player's own edits are held to the limit.
    void SetName(const QString& name);

    // Called with the new text on every change of the edit.
    std::function<void(const QString&)> PlayerNameChange;

    QLabel* Label1;
    QLineEdit* PlayerName;
    QPushButton* Button1;

private:
    // The length an edit may leave: the limit, or the length of a longer name
    // shown, so that an edit may shorten such a name but never lengthen it.
    int allowedCharacters_ = MaxTypedCharacters;
};

// The number of characters a person sees in `text` (grapheme clusters): an
// emoji or a letter with its accents counts once.
int VisibleCharacters(const QString& text);

} // namespace mirelo
