#include "TAide.h"

#include "Blit.h"
#include "Geometry.h"
#include "HelpTexts.h"
#include "TLabel3D.h"
#include "TileSheet.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace mirelo {

namespace {

const QColor HelpPurple(128, 0, 64); // 4194432
const QColor HeadingColour(255, 0, 255);

constexpr int PaiWidth = 410;
constexpr int PaiHeight = 409;

// One row of the tile table: pictures first..last side by side.
struct TableRow {
    int first, last;
    int x, y;
};
constexpr int TableStep = 45;
constexpr TableRow TableRows[] = {
    {1, 9, 0, 24},      // Cracks
    {10, 18, 0, 104},   // Bamboos
    {19, 27, 0, 184},   // Dots
    {28, 31, 0, 264},   // Flowers
    {39, 42, 225, 264}, // Winds
    {32, 35, 0, 344},   // Seasons
    {36, 38, 270, 344}, // Dragons
};

struct TableCaption {
    int x, y;
    const char* text;
};
constexpr TableCaption TableCaptions[] = {
    {0, 4, "Cracks (4 times each)"},      {0, 82, "Bamboos (4 times each)"},
    {0, 162, "Dots (4 times each)"},      {0, 242, "Flowers (once each)"},
    {0, 322, "Seasons (once each)"},      {295, 242, "Winds (4 times each)"},
    {287, 322, "Dragons (4 times each)"},
};

QFont WindowFont(int pixelSize, bool bold = false) {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

QFont HeadingFont(int pixelSize) {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

void MakePurple(QWidget* widget) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Window, HelpPurple);
    pal.setColor(QPalette::WindowText, Qt::white);
    widget->setPalette(pal);
    widget->setAutoFillBackground(true);
}

// The desktop's own colours, every role set, so that nothing inherits the purple.
QPalette DesktopPalette() {
    const QPalette desktop = QApplication::palette();
    QPalette own;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto r = QPalette::ColorRole(role);
            own.setColor(group, r, desktop.color(group, r));
        }
    return own;
}

QPushButton* OkButton(QWidget* parent) {
    auto* ok = new QPushButton(QStringLiteral("OK"), parent);
    ok->setFixedSize(75, 25);
    return ok;
}

} // namespace

TAide::TAide(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Mirelo Help"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFont(WindowFont(11));
    setFixedSize(435, 442);

    AideEnLigne = new QTabWidget(this);
    AideEnLigne->setGeometry(rect());
    EnglishPage = TextPage(EnglishHelp(), EnglishTitle, PageOK[English]);
    FrancaisPage = TextPage(FrenchHelp(), FrancaisTitle, PageOK[Francais]);
    TilesPage = BuildTilesPage();
    NotesPage = BuildNotesPage();
    AideEnLigne->addTab(EnglishPage, QStringLiteral("English"));
    AideEnLigne->addTab(FrancaisPage, QStringLiteral("Francais"));
    AideEnLigne->addTab(TilesPage, QStringLiteral("Tiles"));
    AideEnLigne->addTab(NotesPage, QStringLiteral("Notes"));
    for (QPushButton* ok : PageOK)
        connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    // Sits in the empty end of the tab row, above the page control.
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setGeometry(384, 1, 49, 17);
    BitBtn1->setAutoDefault(false);
    BitBtn1->setFocusPolicy(Qt::TabFocus);
    BitBtn1->raise();
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);

    connect(AideEnLigne, &QTabWidget::currentChanged, this, &TAide::PageShown);
    AideEnLigne->setCurrentIndex(Notes); // the first opening; later ones keep the last page

    Pai = QImage(PaiWidth, PaiHeight, QImage::Format_RGB32);
    Pai.fill(HelpPurple);
}

QWidget* TAide::TextPage(const HelpText& text, TLabel3D*& title, QPushButton*& ok) {
    auto* page = new QWidget;
    MakePurple(page);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(10, 8, 4, 8);
    layout->setSpacing(6);

    title = new TLabel3D(text.Title);
    title->setFont(HeadingFont(24));
    title->SetFontColor(HeadingColour);
    title->SetWordWrap(true);
    layout->addWidget(title);

    // The text is longer than the page: it scrolls under the fixed title.
    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->verticalScrollBar()->setPalette(DesktopPalette());
    auto* body = new QWidget;
    MakePurple(body);
    MakePurple(scroll->viewport());
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(0, 0, 8, 4);
    column->setSpacing(8);
    for (const HelpSection& section : text.Sections) {
        if (!section.Heading.isEmpty()) {
            auto* heading = new TLabel3D(section.Heading);
            heading->setFont(HeadingFont(17));
            heading->SetFontColor(HeadingColour);
            column->addSpacing(4);
            column->addWidget(heading);
        }
        for (const QString& paragraph : section.Paragraphs) {
            auto* label = new QLabel(paragraph);
            label->setFont(WindowFont(12));
            label->setWordWrap(true);
            label->setTextFormat(Qt::PlainText);
            column->addWidget(label);
        }
    }
    column->addStretch();
    scroll->setWidget(body);
    layout->addWidget(scroll, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    ok = OkButton(page);
    buttons->addWidget(ok);
    buttons->addSpacing(6);
    layout->addLayout(buttons);
    return page;
}

QWidget* TAide::BuildTilesPage() {
    auto* page = new QWidget;
    MakePurple(page);
    PaiView = new QLabel(page);
    PaiView->setGeometry(8, 0, PaiWidth, PaiHeight);
    // In the gap between the Seasons and the Dragons.
    PageOK[Tiles] = OkButton(page);
    PageOK[Tiles]->move(8 + 185, 357);
    return page;
}

QWidget* TAide::BuildNotesPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);
    NotesMemo = new QPlainTextEdit;
    NotesMemo->setReadOnly(true);
    NotesMemo->setFont(WindowFont(12));
    NotesMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    NotesMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    NotesMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    NotesMemo->setPlainText(ReleaseNotes());
    layout->addWidget(NotesMemo, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    PageOK[Notes] = OkButton(page);
    buttons->addWidget(PageOK[Notes]);
    layout->addLayout(buttons);
    return page;
}

void TAide::PageShown(int index) {
    // Enter closes the window from whichever page is shown.
    if (index >= 0 && index < 4)
        PageOK[index]->setDefault(true);
}

void TAide::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QPushButton* ok = PageOK[AideEnLigne->currentIndex()])
        ok->setFocus();
}

void TAide::PaintTiles(TileSheet& sheet, int tileStyle) {
    sheet.ChangeTexture(tileStyle);
    // The window's own tiles, at its scale: the label shows the finer table at
    // the same size, and the captions follow the picture's ratio.
    const int scale = sheet.Scale;
    Pai = QImage(PaiWidth * scale, PaiHeight * scale, QImage::Format_RGB32);
    Pai.setDevicePixelRatio(scale);
    Pai.fill(HelpPurple);
    const QSize tile(geometry::TileWidth, geometry::TileHeight);
    for (const TableRow& row : TableRows)
        for (int picture = row.first; picture <= row.last; ++picture) {
            const QPoint at(row.x + TableStep * (picture - row.first), row.y);
            Blit(Pai, at, sheet.MaskedTiles, QRect(TileSheet::TilePictureOrigin(picture), tile),
                 RasterOp::Copy, scale);
        }
    QPainter painter(&Pai);
    painter.setFont(WindowFont(11));
    painter.setPen(Qt::white);
    for (const TableCaption& caption : TableCaptions)
        painter.drawText(QRect(caption.x, caption.y, PaiWidth - caption.x, 20),
                         Qt::AlignLeft | Qt::AlignTop, QString::fromLatin1(caption.text));
    painter.end();
    PaiView->setPixmap(QPixmap::fromImage(Pai));
}

void TAide::HelpClick(TileSheet& sheet, int tileStyle) {
    PaintTiles(sheet, tileStyle);
    exec();
}

} // namespace mirelo
