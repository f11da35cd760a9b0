// The window after start-up: menus, toolbar, status bar and geometry.
#include "HelpTexts.h"
#include "TAide.h"
#include "WindowFixture.h"
#include "WindowSurface.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

namespace mirelo::test {
namespace {

// "caption|shortcut" for every item of a menu, sub-menus as "caption>".
QStringList Items(QMenu* menu) {
    QStringList items;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            items << QStringLiteral("-");
        else if (a->menu())
            items << a->text() + QStringLiteral(">");
        else
            items << a->text() + QStringLiteral("|") + a->shortcut().toString();
    }
    return items;
}

QMenu* MenuTitled(QMenuBar* bar, const QString& title) {
    for (QAction* a : bar->actions())
        if (a->text() == title)
            return a->menu();
    return nullptr;
}

QStringList Titles(QMenuBar* bar) {
    QStringList titles;
    for (QAction* a : bar->actions())
        titles << a->text();
    return titles;
}

TEST_F(WindowTest, FullEditionMenusInOrderWithShortcuts) {
    Make({}, true);
    QMenuBar* bar = window->menuBar();
    EXPECT_EQ(Titles(bar), (QStringList{"&File", "&Play", "Options", "&Background", "&Layout",
                                        "&Tiles", "M&usic", "&Help"}));
    EXPECT_EQ(Items(MenuTitled(bar, "&File")), (QStringList{"&New|Ctrl+N", "E&xit|Ctrl+C"}));
    EXPECT_EQ(Items(MenuTitled(bar, "&Play")),
              (QStringList{"&Back|Ctrl+Z", "Hint|Ctrl+H", "-", "Shuffle|Ctrl+S", "Restart|Ctrl+R",
                           "&Stop|Ctrl+X", "&Pause|Ctrl+P", "-", "Can I still win?|Ctrl+W"}));
    QMenu* options = MenuTitled(bar, "Options");
    EXPECT_EQ(Items(options), (QStringList{"&Configuration>", "Player name|", "Show &Moves|Ctrl+M",
                                           "Show &Toolbar|Ctrl+T", "&Highlight>", "&Zoom>"}));
    EXPECT_EQ(Items(options->actions()[0]->menu()),
              (QStringList{"Never warn about switches|", "Begin game at startup|",
                           "Play sound effects|", "Play music|", "Deal only winnable boards|"}));
    EXPECT_EQ(Items(options->actions()[4]->menu()), (QStringList{"None|", "Rectangle|", "Color|"}));
    EXPECT_EQ(Items(options->actions()[5]->menu()), (QStringList{"100 %|", "150 %|", "200 %|"}));
    EXPECT_TRUE(probe().Menu.Zoom100->isChecked());
    EXPECT_EQ(Items(MenuTitled(bar, "&Background")),
              (QStringList{"&Kanji (classic)|", "&Dragons|"}));
    EXPECT_EQ(Items(MenuTitled(bar, "&Layout")),
              (QStringList{"Theater (Very easy)|", "Traditional (Normal)|", "Dragon (Hard)|",
                           "Big Hole (Very hard)|", "Beatle (Nightmare !)|"}));
    EXPECT_EQ(Items(MenuTitled(bar, "&Tiles")), (QStringList{"Wood|", "Blue|", "Red|"}));
    EXPECT_EQ(Items(MenuTitled(bar, "M&usic")),
              (QStringList{"Ferral|", "Gokuraku|", "Mirelo|", "Gisors|"}));
    EXPECT_TRUE(probe().Menu.FerralMus->isChecked());
    EXPECT_EQ(Items(MenuTitled(bar, "&Help")), (QStringList{"&Contents|F1", "&About...|Ctrl+A"}));
    ASSERT_NE(probe().Bar.Media, nullptr);
    EXPECT_FALSE(probe().Bar.Media->isEnabled());
}

TEST_F(WindowTest, SilentEditionHasNoSoundItemsMenuOrControl) {
    Make({}, false);
    QMenuBar* bar = window->menuBar();
    EXPECT_EQ(MenuTitled(bar, "M&usic"), nullptr);
    EXPECT_EQ(Items(MenuTitled(bar, "Options")->actions()[0]->menu()),
              (QStringList{"Never warn about switches|", "Begin game at startup|",
                           "Deal only winnable boards|"}));
    EXPECT_EQ(probe().Bar.Media, nullptr);
    EXPECT_EQ(probe().Menu.Playsounds1, nullptr);
}

TEST_F(WindowTest, FreshStartDealsAndEnablesTheGameCommands) {
    Make();
    EXPECT_EQ(window->windowTitle(), "MIRELO 2.8");
    EXPECT_TRUE(probe().game.State.InPlay());
    for (QAction* a :
         {probe().Menu.Restart1, probe().Menu.Pause1, probe().Menu.Stoppe, probe().Menu.Shuffle1})
        EXPECT_TRUE(a->isEnabled()) << a->text().toStdString();
    EXPECT_TRUE(probe().Bar.ShuffleButton->isEnabled());
    EXPECT_TRUE(probe().Menu.Traditional1->isChecked());
    EXPECT_FALSE(probe().Menu.Dragon1->isEnabled());
    EXPECT_TRUE(probe().Menu.Wood1->isChecked());
    EXPECT_TRUE(probe().Menu.Highlight2->isChecked());
    EXPECT_TRUE(probe().Menu.Moves->isChecked());
    EXPECT_TRUE(probe().Menu.Dragons1->isChecked());
    EXPECT_FALSE(probe().Menu.Kanji1->isChecked());
    EXPECT_TRUE(probe().Menu.StartupGame->isChecked());
    EXPECT_FALSE(probe().Menu.WarnMe->isChecked());
    // The heartbeat is due within the second the clock panel next changes.
    ASSERT_TRUE(window->NextWake());
    EXPECT_LE(*window->NextWake() - clock.Tick, 1000u);
    EXPECT_TRUE(probe().Timer->isActive());
}

TEST_F(WindowTest, WithoutBeginGameAtStartupNoGameRuns) {
    Options options;
    options.StartDirectly = false;
    Make(options);
    EXPECT_FALSE(probe().game.State.InPlay());
    for (QAction* a :
         {probe().Menu.Restart1, probe().Menu.Pause1, probe().Menu.Stoppe, probe().Menu.Shuffle1})
        EXPECT_FALSE(a->isEnabled()) << a->text().toStdString();
    EXPECT_FALSE(probe().Bar.ShuffleButton->isEnabled());
    EXPECT_TRUE(probe().Menu.Undo1->isEnabled());
    EXPECT_TRUE(probe().Menu.GiveHint->isEnabled());
    window->Temps();
    EXPECT_EQ(probe().LigneStatus[1]->text(), "");
    EXPECT_EQ(probe().LigneStatus[5]->text(), "");
    // With no game nothing can change by itself: the heartbeat sleeps.
    EXPECT_FALSE(window->NextWake());
    EXPECT_FALSE(probe().Timer->isActive());
    // The window shows the background alone.
    const QImage& background = window->CurrentBackground();
    EXPECT_EQ(SurfaceRows(41, 468), background.copy(0, 0, 800, 468));

    probe().Menu.New1->trigger();
    EXPECT_TRUE(probe().game.State.InPlay());
    EXPECT_TRUE(probe().Menu.Stoppe->isEnabled());
}

TEST_F(WindowTest, OptionsOutOfRangeFallBackAndBackgroundTwoChecksNeither) {
    Options options;
    options.TileStyle = 7;
    options.HighlightMode = static_cast<Highlight>(-1);
    options.Background = 2;
    Make(options);
    EXPECT_EQ(probe().TileStyle, StyleWood);
    EXPECT_EQ(probe().HighlightMode, Highlight::Rectangle);
    EXPECT_FALSE(probe().Menu.Kanji1->isChecked());
    EXPECT_FALSE(probe().Menu.Dragons1->isChecked());
    EXPECT_EQ(&window->CurrentBackground(), &window->Dragons());
}

TEST_F(WindowTest, WideScreenGeometry) {
    Make({}, true, 1024);
    EXPECT_EQ(probe().WideScreen, 1);
    EXPECT_EQ(probe().ToolbarHeight, 41);
    EXPECT_EQ(probe().Surface->size(), QSize(800, 41 + 468));
    EXPECT_TRUE(probe().Bar.Panel1->isVisible());
    // What the row shows is its reference picture's (test_window_rows.cpp).
    EXPECT_EQ(probe().Bar.SpeedButton1->toolTip(), " New game ");
    EXPECT_TRUE(probe().Menu.Toolbar1->isChecked());
    EXPECT_TRUE(probe().Menu.Toolbar1->isEnabled());
}

TEST_F(WindowTest, NarrowScreenHasNoToolbar) {
    // Narrower screens than 640 get the same small window.
    for (int width : {600, 640}) {
        Make({}, true, width);
        EXPECT_EQ(probe().WideScreen, 0) << width;
        EXPECT_EQ(probe().Surface->width(), 640) << width;
        EXPECT_FALSE(probe().Bar.Panel1->isVisible()) << width;
    }
    EXPECT_EQ(probe().WideScreen, 0);
    EXPECT_EQ(probe().ToolbarHeight, 0);
    EXPECT_EQ(probe().Surface->width(), 640);
    EXPECT_FALSE(probe().Bar.Panel1->isVisible());
    EXPECT_FALSE(probe().Bar.Media->isVisible());
    EXPECT_FALSE(probe().Menu.Toolbar1->isChecked());
    EXPECT_FALSE(probe().Menu.Toolbar1->isEnabled());
    EXPECT_EQ(probe().Bar.HelpButton->x(), 456);
    EXPECT_EQ(probe().Bar.ExitButton->x(), 568);
    // The board's origin is the window's corner.
    EXPECT_EQ(SurfaceRows(0, 400), ComposedBoard().copy(0, 0, 640, 400));
}

TEST_F(WindowTest, ToolbarToggleMovesBoardAndHitTestUpTogether) {
    Make();
    const QImage withToolbar = BoardRows(41);
    const int surfaceHeight = probe().Surface->height();
    probe().Menu.Toolbar1->trigger();
    EXPECT_FALSE(probe().Menu.Toolbar1->isChecked());
    EXPECT_EQ(probe().ToolbarHeight, 0);
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Toolbar hidden.");
    EXPECT_EQ(probe().Surface->height(), surfaceHeight - 41);
    EXPECT_FALSE(probe().Bar.Panel1->isVisible());
    EXPECT_EQ(BoardRows(0), withToolbar);

    // A click at the tile's new place still picks it.
    const TilePlace place = probe().game.Places[probe().game.Grid.At(3, 10, 1)];
    ClickBoard(20 * place.X + 6 - 46 + 20, 25 * place.Y - 6 - 59 + 25);
    EXPECT_EQ(probe().game.State.FirstPick, probe().game.Grid.At(3, 10, 1));

    probe().Menu.Toolbar1->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Toolbar shown.");
    EXPECT_EQ(probe().ToolbarHeight, 41);
    EXPECT_EQ(probe().Surface->height(), surfaceHeight);
}

TEST_F(WindowTest, ReleaseNotesNameTheSolversMenuItemsAsTheMenusShowThem) {
    Make();
    const QString notes = ReleaseNotes().simplified();
    for (QAction* item : {probe().Menu.WinnableDeals1, probe().Menu.CanIWin1}) {
        const QString caption =
            QLatin1Char('"') + QString(item->text()).remove(QLatin1Char('&')) + QLatin1Char('"');
        EXPECT_TRUE(notes.contains(caption)) << caption.toStdString();
    }
}

TEST_F(WindowTest, ExitClosesTheWindowAndStopsTheClock) {
    Make();
    probe().Menu.Exit1->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(probe().Timer->isActive());
}

} // namespace
} // namespace mirelo::test

namespace mirelo::test {
namespace {

TEST_F(WindowTest, HelpAndAboutOpenModallyFromMenuAndToolbar) {
    Options options;
    options.StartDirectly = false;
    options.TileStyle = StyleBlue;
    Make(options);
    QWidget* shown = nullptr;
    QCursor pointer;
    bool isMessageBox = false;
    auto closeWhatOpens = [&] {
        QTimer::singleShot(0, [&] {
            shown = QApplication::activeModalWidget();
            if (shown) {
                pointer = shown->cursor();
                isMessageBox = qobject_cast<QMessageBox*>(shown) != nullptr;
                shown->close();
            }
        });
    };
    // Every window of the program shows the program's pointer, not the system's arrow.
    const QImage techno(QStringLiteral(":/pictures/techno.png"));
    auto expectProgramPointer = [&](const char* what) {
        EXPECT_EQ(pointer.shape(), Qt::BitmapCursor) << what;
        EXPECT_EQ(pointer.pixmap().toImage().convertToFormat(techno.format()), techno) << what;
    };
    closeWhatOpens();
    probe().Menu.Contents1->trigger();
    EXPECT_EQ(shown, reinterpret_cast<QWidget*>(probe().Aide));
    EXPECT_EQ(shown->windowTitle(), "Mirelo Help");
    expectProgramPointer("help");
    // The tile table was painted in the style in force, before any game.
    EXPECT_EQ(probe().Sheet.AppliedTileStyle, StyleBlue);

    shown = nullptr;
    closeWhatOpens();
    probe().Bar.AboutButton->click();
    EXPECT_EQ(shown, reinterpret_cast<QWidget*>(probe().AboutBox));
    EXPECT_EQ(shown->windowTitle(), "About Mirelo");
    expectProgramPointer("about");

    closeWhatOpens();
    probe().Menu.Changeplayername1->trigger();
    EXPECT_EQ(shown, reinterpret_cast<QWidget*>(probe().Configu));
    expectProgramPointer("name");

    shown = nullptr;
    closeWhatOpens();
    realInfoBox(QStringLiteral("MIRELO 2.8"), QStringLiteral("A message"));
    ASSERT_TRUE(isMessageBox); // gone by now: QMessageBox::information keeps it on its stack
    expectProgramPointer("message box");

    shown = nullptr;
    closeWhatOpens();
    probe().Bar.HelpButton->click();
    EXPECT_EQ(shown, reinterpret_cast<QWidget*>(probe().Aide));
}

TEST_F(WindowTest, HelpWindowIsMadeOnFirstUseAndThenKeepsItsPage) {
    Options options;
    options.StartDirectly = false;
    Make(options);
    EXPECT_EQ(probe().Aide, nullptr);

    // The first opening shows the release notes; the player leaves it on English.
    int firstPage = -1;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        if (auto* aide = qobject_cast<TAide*>(shown)) {
            firstPage = aide->AideEnLigne->currentIndex();
            aide->AideEnLigne->setCurrentIndex(TAide::English);
        }
        if (shown)
            shown->close();
    });
    probe().Menu.Contents1->trigger();
    EXPECT_EQ(firstPage, TAide::Notes);
    TAide* const made = probe().Aide;
    ASSERT_NE(made, nullptr);

    // A later opening reuses the window, on the page left, with the table in
    // the style chosen since.
    window->ChooseStyle(StyleRed);
    int secondPage = -1;
    QTimer::singleShot(0, [&] {
        QWidget* shown = QApplication::activeModalWidget();
        secondPage = made->AideEnLigne->currentIndex();
        if (shown)
            shown->close();
    });
    probe().Bar.HelpButton->click();
    EXPECT_EQ(probe().Aide, made);
    EXPECT_EQ(secondPage, TAide::English);
    TAide reference;
    TileSheet sheet;
    reference.PaintTiles(sheet, StyleRed);
    EXPECT_EQ(made->Pai, reference.Pai);
}

} // namespace
} // namespace mirelo::test
