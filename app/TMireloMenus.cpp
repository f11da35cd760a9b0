// The menu bar, the toolbar row and the status bar, each control built once.
#include "Geometry.h"
#include "LayoutTemplate.h"
#include "SoundInterface.h"
#include "TMirelo.h"
#include "WindowSurface.h"

#include <QAction>
#include <QActionGroup>
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
    Menu.New1 = AddItem(file, QStringLiteral("&New"), QKeySequence(Qt::CTRL | Qt::Key_N));
    Menu.Exit1 = AddItem(file, QStringLiteral("E&xit"), QKeySequence(Qt::CTRL | Qt::Key_C));

    QMenu* play = bar->addMenu(QStringLiteral("&Play"));
    Menu.Undo1 = AddItem(play, QStringLiteral("&Back"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    Menu.GiveHint = AddItem(play, QStringLiteral("Hint"), QKeySequence(Qt::CTRL | Qt::Key_H));
    play->addSeparator();
    Menu.Shuffle1 = AddItem(play, QStringLiteral("Shuffle"), QKeySequence(Qt::CTRL | Qt::Key_S));
    Menu.Restart1 = AddItem(play, QStringLiteral("Restart"), QKeySequence(Qt::CTRL | Qt::Key_R));
    Menu.Stoppe = AddItem(play, QStringLiteral("&Stop"), QKeySequence(Qt::CTRL | Qt::Key_X));
    Menu.Pause1 = AddItem(play, QStringLiteral("&Pause"), QKeySequence(Qt::CTRL | Qt::Key_P));
    play->addSeparator();
    Menu.CanIWin1 =
        AddItem(play, QStringLiteral("Can I still win?"), QKeySequence(Qt::CTRL | Qt::Key_W));

    QMenu* options = bar->addMenu(QStringLiteral("Options"));
    QMenu* config = options->addMenu(QStringLiteral("&Configuration"));
    Menu.WarnMe = AddCheckItem(config, QStringLiteral("Never warn about switches"));
    Menu.StartupGame = AddCheckItem(config, QStringLiteral("Begin game at startup"));
    if (sound) {
        Menu.Playsounds1 = AddCheckItem(config, QStringLiteral("Play sound effects"));
        Menu.Playmusic1 = AddCheckItem(config, QStringLiteral("Play music"));
    }
    Menu.WinnableDeals1 = AddCheckItem(config, QStringLiteral("Deal only winnable boards"));
    Menu.Changeplayername1 = AddItem(options, QStringLiteral("Player name"));
    Menu.Moves =
        AddCheckItem(options, QStringLiteral("Show &Moves"), QKeySequence(Qt::CTRL | Qt::Key_M));
    Menu.Toolbar1 =
        AddCheckItem(options, QStringLiteral("Show &Toolbar"), QKeySequence(Qt::CTRL | Qt::Key_T));
    Menu.Toolbar1->setChecked(true);
    QMenu* highlight = options->addMenu(QStringLiteral("&Highlight"));
    Menu.Highlight1 = AddCheckItem(highlight, QStringLiteral("None"));
    Menu.Highlight2 = AddCheckItem(highlight, QStringLiteral("Rectangle"));
    Menu.Highlight3 = AddCheckItem(highlight, QStringLiteral("Color"));
    QMenu* zoom = options->addMenu(QStringLiteral("&Zoom"));
    Menu.Zoom100 = AddCheckItem(zoom, QStringLiteral("100 %"));
    Menu.Zoom150 = AddCheckItem(zoom, QStringLiteral("150 %"));
    Menu.Zoom200 = AddCheckItem(zoom, QStringLiteral("200 %"));

    QMenu* background = bar->addMenu(QStringLiteral("&Background"));
    Menu.Kanji1 = AddCheckItem(background, QStringLiteral("&Kanji (classic)"));
    Menu.Dragons1 = AddCheckItem(background, QStringLiteral("&Dragons"));

    QMenu* layout = bar->addMenu(QStringLiteral("&Layout"));
    Menu.Theater1 = AddCheckItem(layout, QStringLiteral("Theater (Very easy)"));
    Menu.Traditional1 = AddCheckItem(layout, QStringLiteral("Traditional (Normal)"));
    Menu.Dragon1 = AddCheckItem(layout, QStringLiteral("Dragon (Hard)"));
    Menu.BigHole1 = AddCheckItem(layout, QStringLiteral("Big Hole (Very hard)"));
    Menu.Beatle1 = AddCheckItem(layout, QStringLiteral("Beatle (Nightmare !)"));
    Menu.Traditional1->setChecked(true);
    Menu.Dragon1->setEnabled(false);

    QMenu* tiles = bar->addMenu(QStringLiteral("&Tiles"));
    Menu.Wood1 = AddCheckItem(tiles, QStringLiteral("Wood"));
    Menu.Blue1 = AddCheckItem(tiles, QStringLiteral("Blue"));
    Menu.Red1 = AddCheckItem(tiles, QStringLiteral("Red"));

    if (sound) {
        Menu.Music2 = bar->addMenu(QStringLiteral("M&usic"));
        Menu.FerralMus = AddCheckItem(Menu.Music2, QStringLiteral("Ferral"));
        Menu.GokurakuMus = AddCheckItem(Menu.Music2, QStringLiteral("Gokuraku"));
        Menu.MireloMus = AddCheckItem(Menu.Music2, QStringLiteral("Mirelo"));
        Menu.GisorsMus = AddCheckItem(Menu.Music2, QStringLiteral("Gisors"));
        Menu.FerralMus->setChecked(true);
    }

    QMenu* help = bar->addMenu(QStringLiteral("&Help"));
    Menu.Contents1 = AddItem(help, QStringLiteral("&Contents"), QKeySequence(Qt::Key_F1));
    Menu.About1 = AddItem(help, QStringLiteral("&About..."), QKeySequence(Qt::CTRL | Qt::Key_A));

    // Moves and Toolbar flip their own marks in their handlers, as the
    // commands of those names always did: Qt's own flip is undone first.
    auto keepMark = [](QAction* action, auto handler) {
        return [action, handler] {
            action->setChecked(!action->isChecked());
            handler();
        };
    };
    connect(Menu.New1, &QAction::triggered, this, &TMirelo::ResetGame);
    connect(Menu.Exit1, &QAction::triggered, this, &TMirelo::Exit1Click);
    connect(Menu.Undo1, &QAction::triggered, this, &TMirelo::Back);
    connect(Menu.GiveHint, &QAction::triggered, this, &TMirelo::Hint);
    connect(Menu.Shuffle1, &QAction::triggered, this, &TMirelo::Shuffle1Click);
    connect(Menu.Restart1, &QAction::triggered, this, &TMirelo::Restart);
    connect(Menu.Stoppe, &QAction::triggered, this, &TMirelo::Stop);
    connect(Menu.Pause1, &QAction::triggered, this, &TMirelo::PauseClick);
    connect(Menu.WarnMe, &QAction::triggered, this, &TMirelo::WarnMeClick);
    connect(Menu.Contents1, &QAction::triggered, this, &TMirelo::HelpClick);
    connect(Menu.CanIWin1, &QAction::triggered, this, &TMirelo::CanIWinClick);
    connect(Menu.About1, &QAction::triggered, this, &TMirelo::About1Click);
    connect(Menu.Changeplayername1, &QAction::triggered, this, &TMirelo::ConfigClick);
    // "Begin game at startup" needs no handler: its check mark is the setting.
    connect(Menu.Moves, &QAction::triggered, this, keepMark(Menu.Moves, [this] { NStatus(); }));
    connect(Menu.Toolbar1, &QAction::triggered, this,
            keepMark(Menu.Toolbar1, [this] { Toolbar1Click(); }));
    if (sound) {
        connect(Menu.Playsounds1, &QAction::triggered, this, &TMirelo::Playsounds1Click);
        connect(Menu.Playmusic1, &QAction::triggered, this, &TMirelo::Playmusic1Click);
    }

    // The exclusive choices: one group each, one handler taking the item's place.
    auto group = [this](std::initializer_list<QAction*> items, auto handler,
                        QActionGroup::ExclusionPolicy policy =
                            QActionGroup::ExclusionPolicy::Exclusive) {
        auto* g = new QActionGroup(this);
        g->setExclusionPolicy(policy);
        for (QAction* item : items)
            g->addAction(item);
        connect(g, &QActionGroup::triggered, this, [g, handler](QAction* item) {
            handler(item, static_cast<int>(g->actions().indexOf(item)));
        });
    };
    group({Menu.Wood1, Menu.Blue1, Menu.Red1}, [this](QAction*, int i) { ChooseStyle(i); });
    group({Menu.Kanji1, Menu.Dragons1}, [this](QAction*, int i) { ChooseBackground(i); });
    group({Menu.Highlight1, Menu.Highlight2, Menu.Highlight3},
          [this](QAction*, int i) { ChooseHighlight(static_cast<Highlight>(i)); });
    group({Menu.Zoom100, Menu.Zoom150, Menu.Zoom200},
          [this](QAction*, int i) { ChooseZoom(100 + 50 * i); });
    if (sound) {
        const char* const files[] = {"ferral.mid", "gokuraku.mid", "mirelo.mid", "gisors.mid"};
        int i = 0;
        for (QAction* item : Menu.Music2->actions())
            item->setData(QString::fromLatin1(files[i++]));
        tuneMark_ = Menu.FerralMus;
        group({Menu.FerralMus, Menu.GokurakuMus, Menu.MireloMus, Menu.GisorsMus},
              [this](QAction*, int i) { ChooseTune(i); });
    }
    // The rules set every mark of the Layout menu, and may leave two checked
    // (Dragon stays marked when Traditional unlocks it): no exclusive group
    // could show that, so the marks are theirs alone and Qt's flip is undone.
    group(
        {Menu.Theater1, Menu.Traditional1, Menu.Dragon1, Menu.BigHole1, Menu.Beatle1},
        [this](QAction* item, int i) {
            item->setChecked(!item->isChecked());
            static constexpr int Layouts[] = {LayoutTheater, LayoutTraditional, LayoutDragon,
                                              LayoutBigHole, LayoutBeatle};
            SelectLayout(Layouts[i]);
        },
        QActionGroup::ExclusionPolicy::None);
    // Every command may change tiles, moves, penalties or the message.
    for (QAction* action : bar->findChildren<QAction*>())
        connect(action, &QAction::triggered, this, &TMirelo::WakeHeartbeat);
}

void TMirelo::BuildToolbar() {
    Bar.Panel1 = new QFrame(Surface);
    Bar.Panel1->setObjectName(QStringLiteral("ToolbarRow"));
    Bar.Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Bar.Panel1->setLineWidth(2);
    Bar.Panel1->setGeometry(0, 0, geometry::WideClientWidth, geometry::ToolbarRowHeight);
    Bar.Panel1->setAutoFillBackground(true);
    // The toolbar row is not the board: a click on its panels or between its
    // buttons must not reach the board's button handler underneath.
    Bar.Panel1->setAttribute(Qt::WA_NoMousePropagation);

    QFont caption(QStringLiteral("Times New Roman"));
    caption.setPixelSize(15);
    auto button = [&](const QString& text, int left, int width) {
        auto* b = new QToolButton(Bar.Panel1);
        b->setText(text);
        b->setFont(caption);
        b->setGeometry(left, 8, width, 25);
        b->setFocusPolicy(Qt::NoFocus);
        return b;
    };
    Bar.SpeedButton1 = button(QString(), 8, 33);
    QIcon newGame;
    AddIconPicture(newGame, "newgame.png", QIcon::Normal);
    AddIconPicture(newGame, "newgame_disabled.png", QIcon::Disabled);
    Bar.SpeedButton1->setIcon(newGame);
    Bar.SpeedButton1->setIconSize(QSize(16, 16));
    Bar.SpeedButton1->setToolTip(QStringLiteral(" New game "));
    Bar.SpeedButton3 = button(QStringLiteral("Back"), 48, 49);
    Bar.SpeedButton4 = button(QStringLiteral("Hint"), 96, 49);
    Bar.ShuffleButton = button(QStringLiteral("Shuffle"), 152, 57);
    Bar.SpeedButton2 = button(QStringLiteral("Pause"), 216, 49);

    Bar.PlayerPanel = new QLabel(Bar.Panel1);
    Bar.PlayerPanel->setGeometry(272, 8, 73, 25);
    Bar.PlayerPanel->setAlignment(Qt::AlignCenter);
    Bar.PlayerPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont courier(QStringLiteral("Courier New"));
    courier.setPixelSize(12);
    courier.setBold(true);
    Bar.PlayerPanel->setFont(courier);

    // The music control sits over the toolbar row, a child of the window.
    Bar.Media = env_.Sound->CreateMediaControl(Surface);
    if (Bar.Media) {
        Bar.Media->setGeometry(392, 8, 57, 25);
        Bar.Media->setToolTip(QStringLiteral(" Music control "));
        Bar.Media->setEnabled(false);
        Bar.Media->setAttribute(Qt::WA_NoMousePropagation); // greyed, it would pass clicks on
    }

    Bar.HelpButton = button(QStringLiteral("Help"), 456, 49);
    Bar.AboutButton = button(QStringLiteral("About"), 512, 49);
    Bar.ExitButton = button(QStringLiteral("Exit"), 568, 49);

    connect(Bar.SpeedButton1, &QToolButton::clicked, this, &TMirelo::ResetGame);
    connect(Bar.SpeedButton3, &QToolButton::clicked, this, &TMirelo::Back);
    connect(Bar.SpeedButton4, &QToolButton::clicked, this, &TMirelo::Hint);
    connect(Bar.ShuffleButton, &QToolButton::clicked, this, &TMirelo::Shuffle1Click);
    connect(Bar.SpeedButton2, &QToolButton::clicked, this, &TMirelo::PauseClick);
    connect(Bar.ExitButton, &QToolButton::clicked, this, &TMirelo::Exit1Click);
    connect(Bar.HelpButton, &QToolButton::clicked, this, &TMirelo::HelpClick);
    connect(Bar.AboutButton, &QToolButton::clicked, this, &TMirelo::About1Click);
    for (QToolButton* b : Bar.Panel1->findChildren<QToolButton*>())
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
        // Fixed in both directions, a value panel's new text changes no size:
        // the status bar is not laid out and repainted whole every second.
        // The bar keeps 5 of its pixels above and below its items.
        if (i < 7)
            panel->setFixedSize(widths[i], geometry::StatusBarHeight - 5);
        else
            panel->setIndent(4);
        layout->addWidget(panel, i == 7 ? 1 : 0);
        LigneStatus[i] = panel;
    }
    bar->addWidget(row, 1);
}

} // namespace mirelo
