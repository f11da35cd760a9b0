// The menu bar, the toolbar row and the status bar, each control built once.
#include "Geometry.h"
#include "SoundInterface.h"
#include "TMirelo.h"
#include "WindowSurface.h"

#include <QAction>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolButton>

namespace mirelo {

namespace {

QAction* AddItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {}) {
    QAction* action = menu->addAction(caption);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

QAction* AddCheckItem(QMenu* menu, const QString& caption, const QKeySequence& shortcut = {}) {
    QAction* action = AddItem(menu, caption, shortcut);
    action->setCheckable(true);
    return action;
}

} // namespace

void TMirelo::BuildMenus() {
    const bool sound = env_.Sound->HasSound();
    QMenuBar* bar = menuBar();

    QMenu* file = bar->addMenu(QStringLiteral("&File"));
    New1 = AddItem(file, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    Exit1 = AddItem(file, QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_C));

    QMenu* play = bar->addMenu(QStringLiteral("&Play"));
    Undo1 = AddItem(play, QStringLiteral("&Back"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    GiveHint = AddItem(play, QStringLiteral("Hint"), QKeySequence(Qt::CTRL | Qt::Key_H));
    play->addSeparator();
    Shuffle1 = AddItem(play, QStringLiteral("Shuffle"), QKeySequence(Qt::CTRL | Qt::Key_S));
    Restart1 = AddItem(play, QStringLiteral("Restart"), QKeySequence(Qt::CTRL | Qt::Key_R));
    Stoppe = AddItem(play, QStringLiteral("&Stop"), QKeySequence(Qt::CTRL | Qt::Key_X));
    Pause1 = AddItem(play, QStringLiteral("&Pause"), QKeySequence(Qt::CTRL | Qt::Key_P));
    play->addSeparator();
    CanIWin1 =
        AddItem(play, QStringLiteral("Can I still win?"), QKeySequence(Qt::CTRL | Qt::Key_W));

    QMenu* options = bar->addMenu(QStringLiteral("Options"));
    QMenu* config = options->addMenu(QStringLiteral("&Configuration"));
    WarnMe = AddCheckItem(config, QStringLiteral("Never warn about switches"));
    StartupGame = AddCheckItem(config, QStringLiteral("Begin game at startup"));
    if (sound) {
        Playsounds1 = AddCheckItem(config, QStringLiteral("Play sound effects"));
        Playmusic1 = AddCheckItem(config, QStringLiteral("Play music"));
    }
    WinnableDeals1 = AddCheckItem(config, QStringLiteral("Deal only winnable boards"));
    Changeplayername1 = AddItem(options, QStringLiteral("Player name"));
    Moves =
        AddCheckItem(options, QStringLiteral("Show &Moves"), QKeySequence(Qt::CTRL | Qt::Key_M));
    Toolbar1 =
        AddCheckItem(options, QStringLiteral("Show &Toolbar"), QKeySequence(Qt::CTRL | Qt::Key_T));
    Toolbar1->setChecked(true);
    QMenu* highlight = options->addMenu(QStringLiteral("&Highlight"));
    Highlight1 = AddCheckItem(highlight, QStringLiteral("None"));
    Highlight2 = AddCheckItem(highlight, QStringLiteral("Rectangle"));
    Highlight3 = AddCheckItem(highlight, QStringLiteral("Color"));

    QMenu* background = bar->addMenu(QStringLiteral("&Background"));
    Kanji1 = AddCheckItem(background, QStringLiteral("&Kanji (classic)"));
    Dragons1 = AddCheckItem(background, QStringLiteral("&Dragons"));

    QMenu* layout = bar->addMenu(QStringLiteral("&Layout"));
    Theater1 = AddCheckItem(layout, QStringLiteral("Theater (Very easy)"));
    Traditional1 = AddCheckItem(layout, QStringLiteral("Traditional (Normal)"));
    Dragon1 = AddCheckItem(layout, QStringLiteral("Dragon (Hard)"));
    BigHole1 = AddCheckItem(layout, QStringLiteral("Big Hole (Very hard)"));
    Beatle1 = AddCheckItem(layout, QStringLiteral("Beatle (Nightmare !)"));
    Traditional1->setChecked(true);
    Dragon1->setEnabled(false);

    QMenu* tiles = bar->addMenu(QStringLiteral("&Tiles"));
    Wood1 = AddCheckItem(tiles, QStringLiteral("Wood"));
    Blue1 = AddCheckItem(tiles, QStringLiteral("Blue"));
    Red1 = AddCheckItem(tiles, QStringLiteral("Red"));

    if (sound) {
        Music2 = bar->addMenu(QStringLiteral("M&usic"));
        FerralMus = AddCheckItem(Music2, QStringLiteral("Ferral"));
        GokurakuMus = AddCheckItem(Music2, QStringLiteral("Gokuraku"));
        MireloMus = AddCheckItem(Music2, QStringLiteral("Mirelo"));
        GisorsMus = AddCheckItem(Music2, QStringLiteral("Gisors"));
        FerralMus->setChecked(true);
    }

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    Contents1 = AddItem(help, QStringLiteral("&Contents"), QKeySequence(Qt::Key_F1));
    About1 = AddItem(help, QStringLiteral("&About..."), QKeySequence(Qt::CTRL | Qt::Key_A));

    // A checkable item flips its own mark before the handler runs; the handlers
    // set every mark themselves, so the automatic flip is undone first where the
    // handler may decide to change nothing.
    auto keepMark = [](QAction* action, auto handler) {
        return [action, handler] {
            action->setChecked(!action->isChecked());
            handler();
        };
    };
    connect(New1, &QAction::triggered, this, &TMirelo::ResetGame);
    connect(Exit1, &QAction::triggered, this, &TMirelo::Exit1Click);
    connect(Undo1, &QAction::triggered, this, &TMirelo::Back);
    connect(GiveHint, &QAction::triggered, this, &TMirelo::Hint);
    connect(Shuffle1, &QAction::triggered, this, &TMirelo::Shuffle1Click);
    connect(Restart1, &QAction::triggered, this, &TMirelo::Restart);
    connect(Stoppe, &QAction::triggered, this, &TMirelo::Stop);
    connect(Pause1, &QAction::triggered, this, &TMirelo::PauseClick);
    connect(WarnMe, &QAction::triggered, this, &TMirelo::WarnMeClick);
    connect(Contents1, &QAction::triggered, this, &TMirelo::HelpClick);
    connect(CanIWin1, &QAction::triggered, this, &TMirelo::CanIWinClick);
    connect(About1, &QAction::triggered, this, &TMirelo::About1Click);
    connect(Changeplayername1, &QAction::triggered, this, &TMirelo::ConfigClick);
    if (sound) {
        connect(Playsounds1, &QAction::triggered, this, &TMirelo::Playsounds1Click);
        connect(Playmusic1, &QAction::triggered, this, &TMirelo::Playmusic1Click);
        connect(FerralMus, &QAction::triggered, this,
                keepMark(FerralMus, [this] { FerralMusClick(); }));
        connect(GokurakuMus, &QAction::triggered, this,
                keepMark(GokurakuMus, [this] { GokurakuMusClick(); }));
        connect(MireloMus, &QAction::triggered, this,
                keepMark(MireloMus, [this] { MireloMusClick(); }));
        connect(GisorsMus, &QAction::triggered, this,
                keepMark(GisorsMus, [this] { GisorsMusClick(); }));
    }
    // "Begin game at startup" needs no handler: its check mark is the setting.
    connect(Moves, &QAction::triggered, this, keepMark(Moves, [this] { NStatus(); }));
    connect(Toolbar1, &QAction::triggered, this, keepMark(Toolbar1, [this] { Toolbar1Click(); }));
    connect(Highlight1, &QAction::triggered, this,
            keepMark(Highlight1, [this] { Highlight1Click(); }));
    connect(Highlight2, &QAction::triggered, this,
            keepMark(Highlight2, [this] { Highlight2Click(); }));
    connect(Highlight3, &QAction::triggered, this,
            keepMark(Highlight3, [this] { Highlight3Click(); }));
    connect(Kanji1, &QAction::triggered, this, keepMark(Kanji1, [this] { Kanji1Click(); }));
    connect(Dragons1, &QAction::triggered, this, keepMark(Dragons1, [this] { Dragons1Click(); }));
    connect(Theater1, &QAction::triggered, this, keepMark(Theater1, [this] { SelectTheater(); }));
    connect(Traditional1, &QAction::triggered, this,
            keepMark(Traditional1, [this] { SelectTraditional(); }));
    connect(Dragon1, &QAction::triggered, this, keepMark(Dragon1, [this] { SelectDragon(); }));
    connect(BigHole1, &QAction::triggered, this, keepMark(BigHole1, [this] { SelectBlock(); }));
    connect(Beatle1, &QAction::triggered, this, keepMark(Beatle1, [this] { SelectBeatle(); }));
    connect(Wood1, &QAction::triggered, this, keepMark(Wood1, [this] { TilesWood(); }));
    connect(Blue1, &QAction::triggered, this, keepMark(Blue1, [this] { TilesBlue(); }));
    connect(Red1, &QAction::triggered, this, keepMark(Red1, [this] { TilesRed(); }));
    // Every command may change tiles, moves, penalties or the message.
    for (QAction* action : bar->findChildren<QAction*>())
        connect(action, &QAction::triggered, this, &TMirelo::WakeHeartbeat);
}

void TMirelo::BuildToolbar() {
    Panel1 = new QFrame(Surface);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setGeometry(0, 0, geometry::WideClientWidth, geometry::ToolbarRowHeight);
    Panel1->setAutoFillBackground(true);
    // The toolbar row is not the board: a click on its panels or between its
    // buttons must not reach the board's button handler underneath.
    Panel1->setAttribute(Qt::WA_NoMousePropagation);

    QFont caption(QStringLiteral("Times New Roman"));
    caption.setPixelSize(15);
    auto button = [&](const QString& text, int left, int width) {
        auto* b = new QToolButton(Panel1);
        b->setText(text);
        b->setFont(caption);
        b->setGeometry(left, 8, width, 25);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    SpeedButton1 = button(QString(), 8, 33);
    QIcon newGame;
    newGame.addPixmap(QPixmap(QStringLiteral(":/pictures/newgame.png")), QIcon::Normal);
    newGame.addPixmap(QPixmap(QStringLiteral(":/pictures/newgame_disabled.png")), QIcon::Disabled);
    SpeedButton1->setIcon(newGame);
    SpeedButton1->setIconSize(QSize(16, 16));
    SpeedButton1->setToolTip(QStringLiteral(" New game "));
    SpeedButton3 = button(QStringLiteral("Back"), 48, 49);
    SpeedButton4 = button(QStringLiteral("Hint"), 96, 49);
    ShuffleButton = button(QStringLiteral("Shuffle"), 152, 57);
    SpeedButton2 = button(QStringLiteral("Pause"), 216, 49);

    PlayerPanel = new QLabel(Panel1);
    PlayerPanel->setGeometry(272, 8, 73, 25);
    PlayerPanel->setAlignment(Qt::AlignCenter);
    PlayerPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont courier(QStringLiteral("Courier New"));
    courier.setPixelSize(12);
    courier.setBold(true);
    PlayerPanel->setFont(courier);

    // The music control sits over the toolbar row, a child of the window.
    Media = env_.Sound->CreateMediaControl(Surface);
    if (Media) {
        Media->setGeometry(392, 8, 57, 25);
        Media->setToolTip(QStringLiteral(" Music control "));
        Media->setEnabled(false);
        Media->setAttribute(Qt::WA_NoMousePropagation); // greyed, it would pass clicks on
    }

    HelpButton = button(QStringLiteral("Help"), 456, 49);
    AboutButton = button(QStringLiteral("About"), 512, 49);
    ExitButton = button(QStringLiteral("Exit"), 568, 49);

    connect(SpeedButton1, &QToolButton::clicked, this, &TMirelo::ResetGame);
    connect(SpeedButton3, &QToolButton::clicked, this, &TMirelo::Back);
    connect(SpeedButton4, &QToolButton::clicked, this, &TMirelo::Hint);
    connect(ShuffleButton, &QToolButton::clicked, this, &TMirelo::Shuffle1Click);
    connect(SpeedButton2, &QToolButton::clicked, this, &TMirelo::PauseClick);
    connect(ExitButton, &QToolButton::clicked, this, &TMirelo::Exit1Click);
    connect(HelpButton, &QToolButton::clicked, this, &TMirelo::HelpClick);
    connect(AboutButton, &QToolButton::clicked, this, &TMirelo::About1Click);
    for (QToolButton* b : Panel1->findChildren<QToolButton*>())
        connect(b, &QToolButton::clicked, this, &TMirelo::WakeHeartbeat);
}

void TMirelo::BuildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(geometry::StatusBarHeight);
    bar->setContentsMargins(0, 0, 0, 0);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    font.setBold(true);

    auto* row = new QWidget(bar);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    const std::array<int, 7> widths{70, 45, 80, 35, 50, 50, 55};
    const std::array<const char*, 8> fixed{"Tiles left", "", "Moves left", "",
                                           "Time",       "", "Status",     ""};
    for (int i = 0; i < 8; ++i) {
        auto* panel = new QLabel(QString::fromLatin1(fixed[i]), row);
        panel->setFont(font);
        const bool sunken = i % 2 == 1;
        panel->setFrameStyle(sunken ? QFrame::Panel | QFrame::Sunken : QFrame::NoFrame);
        panel->setAlignment(i == 7 ? Qt::AlignLeft | Qt::AlignVCenter : Qt::AlignCenter);
        if (i < 7)
            panel->setFixedWidth(widths[i]);
        else
            panel->setIndent(4);
        layout->addWidget(panel, i == 7 ? 1 : 0);
        LigneStatus[i] = panel;
    }
    bar->addWidget(row, 1);
}

} // namespace mirelo
