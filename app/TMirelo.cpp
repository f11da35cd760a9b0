// Start-up, window geometry and shut-down.
#include "TMirelo.h"

#include "Geometry.h"
#include "LayoutTemplate.h"
#include "SoundInterface.h"
#include "SystemClock.h"
#include "WindowSurface.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace mirelo {

using namespace geometry;

TMirelo::TMirelo(Environment env, QWidget* parent) : QMainWindow(parent), env_(std::move(env)) {
    setWindowTitle(QString::fromLatin1(WindowCaption));
    setWindowIcon(QIcon(QStringLiteral(":/pictures/icon.png")));
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    SmallBuf = QImage(TileBoxWidth, TileBoxHeight, QImage::Format_RGB32);
    SmallBuf.fill(Qt::black);

    InfoBox = [this](const QString& caption, const QString& text) {
        QMessageBox::information(this, caption, text);
    };
    HeldModifiers = [] { return QGuiApplication::queryKeyboardModifiers(); };

    Surface = new WindowSurface(this);
    setCentralWidget(Surface);
    Surface->OnButtonUp = [this](Qt::MouseButton b) { ButtonDown(b); };
    Surface->OnPointerMove = [this] { FormMouseMove(); };
    Surface->OnFirstShow = [this] { Peindre(); };

    Timer = new QTimer(this);
    Timer->setInterval(10);
    connect(Timer, &QTimer::timeout, this, &TMirelo::Temps);

    BuildMenus();
    BuildToolbar();
    BuildStatusBar();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Init();
}

TMirelo::~TMirelo() = default;

void TMirelo::Init() {
    game.State.GameOver = true;
    Renderer.Dirty = DirtyRect::FullRect();

    const Options options = env_.ReadOptions ? env_.ReadOptions() : Options{};
    // Out-of-range values from a hand-edited file fall back to the defaults, so
    // the style and highlight always name a real blank and mode.
    TileStyle = options.TileStyle >= 0 && options.TileStyle < StyleCount ? options.TileStyle : StyleWood;
    HighlightMode = options.HighlightMode >= 0 && options.HighlightMode <= 2 ? options.HighlightMode : 1;
    Moves->setChecked(options.ShowMoves);
    PlayMusic = options.PlayMusic;
    PlaySounds = options.PlaySounds;
    Layouts.NeverWarn = options.NeverWarn;
    CurrentPlayer = options.CurrentPlayer;
    StartupGame->setChecked(options.StartDirectly);

    Kanji1->setChecked(options.Background == 0);
    Dragons1->setChecked(options.Background == 1);
    PlayerPanel->setText(CurrentPlayer);
    Wood1->setChecked(TileStyle == StyleWood);
    Blue1->setChecked(TileStyle == StyleBlue);
    Red1->setChecked(TileStyle == StyleRed);
    Highlight1->setChecked(HighlightMode == 0);
    Highlight2->setChecked(HighlightMode == 1);
    Highlight3->setChecked(HighlightMode == 2);
    WarnMe->setChecked(Layouts.NeverWarn);
    if (Playmusic1) {
        Playmusic1->setChecked(PlayMusic);
        Playsounds1->setChecked(PlaySounds);
    }
    // Music cannot play yet in this build: the control stays disabled.
    PlayMusic = false;

    // The program's own pointer, inherited by every control of the window.
    setCursor(QCursor(QPixmap(QStringLiteral(":/pictures/techno.png")), 0, 0));

    const int screenWidth =
        env_.ScreenWidth > 0 ? env_.ScreenWidth : QGuiApplication::primaryScreen()->geometry().width();
    if (screenWidth != NarrowClientWidth) {
        WideScreen = 1;
        ToolbarHeight = ToolbarRowHeight;
        HelpButton->move(626, HelpButton->y());
        AboutButton->move(678, AboutButton->y());
        ExitButton->move(734, ExitButton->y());
        if (Media)
            Media->move(564, Media->y());
    } else {
        Toolbar1->setChecked(false);
        Toolbar1->setEnabled(false);
        if (Media)
            Media->hide();
        ToolbarHeight = 0;
        WideScreen = 0;
        Panel1->hide();
    }
    Renderer.WideScreen = WideScreen;
    FormResize();

    game.State.GameWon = false;
    game.State.WinAnnounced = false;
    game.State.Paused = false;
    Layouts.LayoutWarned = false;
    Layouts.DragonUnlocked = false;
    game.State.FirstPick = 0;
    game.State.SecondPick = 0;
    HoverTile = PrevHoverTile = 0;
    HighlightShown = false;
    ColorHighlightTile = 0;
    Layouts.CurrentLayout = LayoutTraditional;
    game.State.ElapsedSeconds = 0;
    game.State.PausedTicks = 0;
    game.State.TilesLeft = TileCount;
    Sheet.AppliedTileStyle = NoStyleApplied;

    SetGameCommandsEnabled(false);
    ShowMessage(QString::fromLatin1(BannerLine));
    Timer->start();
    if (StartupGame->isChecked())
        BeginGame();
    else
        Peindre();
}

void TMirelo::FormResize() {
    // The client area is fixed; the window manager adds the frame around it.
    const int width = WideScreen ? WideClientWidth : NarrowClientWidth;
    const int height = WideScreen ? ToolbarHeight + BackgroundHeight : NarrowBoardHeight;
    Surface->SetClientSize(QSize(width, height));
    Panel1->setFixedWidth(width);
    move(0, 0);
}

void TMirelo::Toolbar1Click() {
    Toolbar1->setChecked(!Toolbar1->isChecked());
    if (Toolbar1->isChecked()) {
        ShowMessage(QStringLiteral("Toolbar shown."));
        Panel1->show();
        if (Media)
            Media->show();
        ToolbarHeight = ToolbarRowHeight;
    } else {
        ShowMessage(QStringLiteral("Toolbar hidden."));
        ToolbarHeight = 0;
        Panel1->hide();
        if (Media)
            Media->hide();
    }
    FormResize();
    FullRedraw();
}

void TMirelo::WarnMeClick() { Layouts.NeverWarn = WarnMe->isChecked(); }

void TMirelo::StartupGameClick() {
    // The check mark itself is the setting.
}

void TMirelo::Exit1Click() { close(); }

bool TMirelo::FormCloseQuery() {
    Timer->stop();
    return true;
}

void TMirelo::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

} // namespace mirelo
