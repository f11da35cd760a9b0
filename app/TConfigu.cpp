#include "TConfigu.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace mirelo {

TConfigu::TConfigu(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Enter your name"));
    // A fixed border with only the close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
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
    PlayerName->setMaxLength(8);
    QFont courier(QStringLiteral("Courier New"));
    courier.setPixelSize(12);
    PlayerName->setFont(courier);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setGeometry(56, 40, 57, 25);
    Button1->setDefault(true);

    connect(PlayerName, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (PlayerNameChange)
            PlayerNameChange(text);
    });
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
}

} // namespace mirelo
