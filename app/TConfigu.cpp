#include "TConfigu.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBoundaryFinder>
#include <QValidator>
#include <algorithm>

namespace mirelo {

namespace {

// Refuses an edit that would leave more characters than allowed. It counts
// whole characters, so an edit that fits is kept whole and one that does not
// is refused whole: no character is ever split, as a cut by UTF-16 units would
// split an emoji's surrogate pair.
class NameLimit final : public QValidator {
public:
    NameLimit(const int& allowed, QObject* parent) : QValidator(parent), allowed_(allowed) {}
    State validate(QString& input, int&) const override {
        return VisibleCharacters(input) <= allowed_ ? Acceptable : Invalid;
    }

private:
    const int& allowed_;
};

} // namespace

int VisibleCharacters(const QString& text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() != -1)
        ++count;
    return count;
}

TConfigu::TConfigu(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Enter your name"));
    // A fixed border with only the close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(172, 73);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    Label1 = new QLabel(QStringLiteral("Your name"), this);
    Label1->setGeometry(8, 12, 65, 16);
    QFont labelFont(QStringLiteral("MS Sans Serif"));
    labelFont.setPixelSize(13);
    Label1->setFont(labelFont);

    PlayerName = new QLineEdit(QStringLiteral("Player1"), this);
    PlayerName->setGeometry(80, 8, 81, 23);
    // The edit's own length limit counts UTF-16 units and cuts a text set from
    // the program too; the validator counts characters and holds only edits.
    PlayerName->setValidator(new NameLimit(allowedCharacters_, this));
    QFont courier(QStringLiteral("Courier New"));
    courier.setPixelSize(12);
    PlayerName->setFont(courier);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(56, 40, 57, 25);
    Button1->setDefault(true);

    connect(PlayerName, &QLineEdit::textChanged, this, [this](const QString& text) {
        allowedCharacters_ = std::max(MaxTypedCharacters, VisibleCharacters(text));
        if (PlayerNameChange)
            PlayerNameChange(text);
    });
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

void TConfigu::SetName(const QString& name) {
    allowedCharacters_ = std::max(MaxTypedCharacters, VisibleCharacters(name));
    PlayerName->setText(name);
}

} // namespace mirelo
