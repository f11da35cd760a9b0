#include "TAboutBox.h"

#include "TLabel3D.h"
#include "TUrlLabel.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace mirelo {

namespace {

const QColor Teal(0, 128, 128);
const QColor Navy(0, 0, 128);
const QColor Purple(128, 0, 128);

QFont TextFont(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QLabel* Line(const QString& text, QWidget* parent, bool bold = false) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignHCenter);
    label->setFont(TextFont(12, bold));
    return label;
}

TUrlLabel* Link(const QString& caption, const QString& url, QWidget* parent) {
    auto* link = new TUrlLabel(caption, url, parent);
    QFont font = link->font();
    font.setPixelSize(12);
    link->setFont(font);
    link->SetFontColor(Navy);
    link->ActiveColor = Purple;
    return link;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Mirelo"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(TextFont(11));
    setFixedSize(369, 408);
    const QColor face = palette().color(QPalette::Window);
    QPalette teal = palette();
    teal.setColor(QPalette::Window, Teal);
    setPalette(teal);
    setAutoFillBackground(true);

    // The panel keeps the desktop's face colour, so it stands out from the teal.
    Panel1 = new QFrame(this);
    Panel1->setGeometry(16, 16, 337, 345);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel1->setLineWidth(2);
    QPalette panel = palette();
    panel.setColor(QPalette::Window, face);
    Panel1->setPalette(panel);
    Panel1->setAutoFillBackground(true);

    auto* column = new QVBoxLayout(Panel1);
    column->setContentsMargins(10, 14, 10, 14);
    column->setSpacing(2);

    ProductName = new TLabel3D(QStringLiteral("MIRELO 2.8"), Panel1);
    QFont title(QStringLiteral("Arial"));
    title.setPixelSize(32);
    title.setBold(true);
    ProductName->setFont(title);
    ProductName->SetFontColor(Teal);
    ProductName->SetAlignment(Qt::AlignHCenter);
    ProductName->SetCaptionStyle(TCaptionStyle::csHeavyRecessed);
    column->addWidget(ProductName);
    column->addWidget(Line(QStringLiteral("Mahjong solitaire"), Panel1, true));
    column->addSpacing(14);

    column->addWidget(Line(QStringLiteral("Game design and programming"), Panel1));
    column->addWidget(Line(QStringLiteral("by the Mirelo team"), Panel1, true));
    column->addWidget(Line(QStringLiteral("Tiles, pictures, sounds and tunes"), Panel1));
    column->addWidget(Line(QStringLiteral("made with Mirelo's own tools"), Panel1));
    column->addSpacing(12);

    column->addWidget(Line(QStringLiteral("Release 2.8 for Linux"), Panel1, true));
    column->addWidget(Line(QStringLiteral("\u00A9 The Mirelo authors. Provided as is,"), Panel1));
    column->addWidget(Line(QStringLiteral("without warranty of any kind."), Panel1));
    column->addSpacing(12);

    column->addWidget(Line(QStringLiteral("For news and the latest release,"), Panel1));
    column->addWidget(Line(QStringLiteral("visit the Mirelo web site:"), Panel1));
    column->addSpacing(8);

    auto* links = new QGridLayout;
    links->setHorizontalSpacing(8);
    links->setVerticalSpacing(4);
    HomePage = Link(QStringLiteral("www.example.org/mirelo"),
                    QStringLiteral("https://www.example.org/mirelo/"), Panel1);
    WebSite =
        Link(QStringLiteral("www.example.org"), QStringLiteral("https://www.example.org/"), Panel1);
    EMail = Link(QStringLiteral("mirelo@example.com"), QStringLiteral("mailto:mirelo@example.com"),
                 Panel1);
    const std::pair<const char*, TUrlLabel*> rows[] = {
        {"Home page:", HomePage}, {"Web site:", WebSite}, {"E-mail:", EMail}};
    int row = 0;
    for (const auto& [caption, link] : rows) {
        QLabel* name = Line(QString::fromLatin1(caption), Panel1);
        name->setAlignment(Qt::AlignRight);
        links->addWidget(name, row, 1);
        links->addWidget(link, row, 2);
        ++row;
    }
    links->setColumnStretch(0, 1);
    links->setColumnStretch(3, 1);
    column->addLayout(links);
    column->addStretch();

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(151, 372, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen rather than over the main window.
    if (const QScreen* s = screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(s->geometry().center());
        move(frame.topLeft());
    }
}

} // namespace mirelo
