// Start-up, window geometry and shut-down.
#include "TMirelo.h"

#include "Geometry.h"
#include "LayoutTemplate.h"
#include "ProgramPointer.h"
#include "Settings.h"
#include "SettingsLocation.h"
#include "SoundInterface.h"
#include "SystemClock.h"
#include "TAboutBox.h"
#include "TAide.h"
#include "TConfigu.h"
#include "WindowSurface.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace mirelo {

using namespace geometry;

// The tile sheet starts empty and takes its pictures at the end of Init, so
// that their decoding on the start-up's worker overlaps the building of the window.
TMirelo::TMirelo(Environment env, QWidget* parent)
    : QMainWindow(parent), Sheet(QImage(), QImage()), env_(std::move(env)) {
    setWindowTitle(QString::fromLatin1(WindowCaption));
    QIcon icon;
    AddIconPicture(icon, "icon.png");
    setWindowIcon(icon);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    setFont(font);

    SmallBuf = QImage(TileBoxWidth, TileBoxHeight, QImage::Format_RGB32);
    SmallBuf.fill(Qt::black);

    InfoBox = [this](const QString& caption, const QString& text) {
        QMessageBox::information(this, caption, text);
    };
    WriteFailedBox = [this](const QString& text) {
        QMessageBox box(QMessageBox::Information, QString::fromLatin1(WindowCaption), text,
                        QMessageBox::NoButton, this);
        QPushButton* retry = box.addButton(QMessageBox::Retry);
        QPushButton* quit =
            box.addButton(QStringLiteral("&Quit without saving"), QMessageBox::DestructiveRole);
        QPushButton* cancel = box.addButton(QMessageBox::Cancel);
        box.setDefaultButton(retry);
        box.setEscapeButton(cancel);
        box.exec();
        if (box.clickedButton() == retry)
            return WriteFailure::Retry;
        return box.clickedButton() == quit ? WriteFailure::QuitWithoutSaving : WriteFailure::Cancel;
    };
    HeldModifiers = [] { return QGuiApplication::queryKeyboardModifiers(); };

    Surface = new WindowSurface(this);
    setCentralWidget(Surface);
    Surface->OnButtonUp = [this](Qt::MouseButton b) {
        ButtonDown(b);
        WakeHeartbeat();
    };
    Surface->OnPointerMove = [this] { FormMouseMove(); };
    Surface->OnFirstShow = [this] { Peindre(); };
    Surface->OnScaleChange = [this] { Rescale(); };
    // The sound device is set up once the first picture is on the screen, not
    // while the window is built, and only when sound or music is wanted.
    Surface->OnFirstPaint = [this] {
        // Said once, when the window first shows: a second copy never shows.
        if (!settingsReadError_.isEmpty())
            InfoBox(QString::fromLatin1(WindowCaption), settingsReadError_);
        if (Menu.Playmusic1 && !soundSettingsApplied_) {
            ApplySoundSettings();
            WakeHeartbeat(); // the music, if it may play, starts now
        }
    };

    // A precise single shot: it never fires early, so a second shown changes
    // on time, and it is armed anew by every turn.
    Timer = new QTimer(this);
    Timer->setSingleShot(true);
    Timer->setTimerType(Qt::PreciseTimer);
    connect(Timer, &QTimer::timeout, this, &TMirelo::Temps);

    // The secondary windows (help, name, about) are made on first use and reused.

    BuildMenus();
    BuildToolbar();
    BuildStatusBar();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    Init();
}

TMirelo::~TMirelo() = default;

void TMirelo::Init() {
    game.State.Phase = GamePhase::Stopped;
    Renderer.Dirty = DirtyRect::FullRect();

    Options options;
    if (env_.ReadOptions) {
        options = env_.ReadOptions();
    } else {
        // A file that exists but cannot be read is reported once the window
        // shows; the game runs on the defaults and leaves that file alone.
        const StoredSettings stored =
            env_.StoredAtStart ? env_.StoredAtStart() : LoadStoredSettings(SettingsPath());
        settingsReadError_ = stored.ReadError;
        options = ReadSettings(stored.File, env_.Sound->HasSound(), Hall);
    }
    // Out-of-range values from a hand-edited file fall back to the defaults, so
    // the style and highlight always name a real blank and mode.
    TileStyle =
        options.TileStyle >= 0 && options.TileStyle < StyleCount ? options.TileStyle : StyleWood;
    const int highlight = static_cast<int>(options.HighlightMode);
    HighlightMode = highlight >= 0 && highlight <= 2 ? options.HighlightMode : Highlight::Rectangle;
    Menu.Moves->setChecked(options.ShowMoves);
    PlayMusic = options.PlayMusic;
    PlaySounds = options.PlaySounds;
    Layouts.NeverWarn = options.NeverWarn;
    CurrentPlayer = options.CurrentPlayer;
    Menu.StartupGame->setChecked(options.StartDirectly);
    Menu.WinnableDeals1->setChecked(options.WinnableDeals);

    Menu.Kanji1->setChecked(options.Background == 0);
    Menu.Dragons1->setChecked(options.Background == 1);
    Bar.PlayerPanel->setText(CurrentPlayer);
    const std::array<QAction*, 3> styles{Menu.Wood1, Menu.Blue1, Menu.Red1};
    styles[TileStyle]->setChecked(true);
    const std::array<QAction*, 3> highlights{Menu.Highlight1, Menu.Highlight2, Menu.Highlight3};
    highlights[static_cast<int>(HighlightMode)]->setChecked(true);
    zoom_ = zoomAtStart_ = options.Zoom;
    (zoom_ == 200 ? Menu.Zoom200 : zoom_ == 150 ? Menu.Zoom150 : Menu.Zoom100)->setChecked(true);
    Menu.WarnMe->setChecked(Layouts.NeverWarn);
    if (Menu.Playmusic1) {
        Menu.Playmusic1->setChecked(PlayMusic);
        Menu.Playsounds1->setChecked(PlaySounds);
        // Whether music can play is asked once the window has its first
        // picture (ApplySoundSettings); until then nothing plays.
        PlayMusic = false;
    }

    // The program's own pointer, inherited by every control of the window and
    // given to every other window of the program as it shows.
    // On a dense screen its finer drawing, at the same size.
    const QCursor techno(LoadPixmap("techno.png", Surface->Scale()), 0, 0);
    setCursor(techno);
    new ProgramPointer(techno, this);

    const int screenWidth = env_.ScreenWidth > 0
                                ? env_.ScreenWidth
                                : QGuiApplication::primaryScreen()->geometry().width();
    // Any screen 640 pixels wide or less gets the small window without the toolbar.
    if (screenWidth > NarrowClientWidth) {
        WideScreen = 1;
        ToolbarHeight = ToolbarRowHeight;
        Bar.HelpButton->move(626, Bar.HelpButton->y());
        Bar.AboutButton->move(678, Bar.AboutButton->y());
        Bar.ExitButton->move(734, Bar.ExitButton->y());
        if (Bar.Media)
            Bar.Media->move(564, Bar.Media->y());
    } else {
        Menu.Toolbar1->setChecked(false);
        Menu.Toolbar1->setEnabled(false);
        if (Bar.Media)
            Bar.Media->hide();
        ToolbarHeight = 0;
        WideScreen = 0;
        Bar.Panel1->hide();
    }
    Renderer.WideScreen = WideScreen;
    FormResize();
    Renderer.SetScale(Surface->Scale());

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
    Sheet = TileSheet(Surface->Scale()); // no style applied yet

    SetGameCommandsEnabled(false);
    ShowMessage(QString::fromLatin1(BannerLine));
    WakeHeartbeat();
    if (Menu.StartupGame->isChecked())
        BeginGame();
    else
        Peindre();
}

void TMirelo::FormResize() {
    // The client area is fixed; the window manager adds the frame around it.
    const int width = WideScreen ? WideClientWidth : NarrowClientWidth;
    const int height = WideScreen ? ToolbarHeight + BackgroundHeight : NarrowBoardHeight;
    Surface->SetClientSize(QSize(width, height));
    // The board is drawn straight onto the surface, below the toolbar.
    Renderer.DrawOnto(&Surface->Surface(), QPoint(0, ToolbarHeight));
    Bar.Panel1->setFixedWidth(width);
    move(0, 0);
}

void TMirelo::Toolbar1Click() {
    Menu.Toolbar1->setChecked(!Menu.Toolbar1->isChecked());
    if (Menu.Toolbar1->isChecked()) {
        ShowMessage(QStringLiteral("Toolbar shown."));
        Bar.Panel1->show();
        if (Bar.Media)
            Bar.Media->show();
        ToolbarHeight = ToolbarRowHeight;
    } else {
        ShowMessage(QStringLiteral("Toolbar hidden."));
        ToolbarHeight = 0;
        Bar.Panel1->hide();
        if (Bar.Media)
            Bar.Media->hide();
    }
    // The board moves by the toolbar's height: a rectangle saved where it was
    // would come back 41 pixels away from its tile.
    DropHighlightRectangle();
    FormResize();
    FullRedraw();
}

void TMirelo::WarnMeClick() {
    Layouts.NeverWarn = Menu.WarnMe->isChecked();
}

void TMirelo::Playsounds1Click() {
    PlaySounds = Menu.Playsounds1->isChecked();
    if (PlaySounds && soundSettingsApplied_)
        SayWhySilent();
}

// The check mark is the player's choice and is saved as it stands, whatever
// this machine lacks today; music plays only where it can. With both options
// off nothing is asked of the sound, so the device and its libraries are not
// opened until the player switches one on.
void TMirelo::ApplySoundSettings() {
    soundSettingsApplied_ = true;
    if (Menu.Playmusic1->isChecked()) {
        PlayMusic = env_.Sound->MusicPossible();
        if (env_.Sound->MusicCanPlay()) {
            env_.Sound->EnableMusic();
            if (Bar.Media)
                Bar.Media->setEnabled(true);
        }
    }
    if (PlaySounds || Menu.Playmusic1->isChecked())
        SayWhySilent();
    if (Menu.Playmusic1->isChecked())
        SayWhyNoMusic();
}

// Once a run, when sound is first wanted and this machine cannot give it:
// at the first paint, or when the player switches sound or music on.
void TMirelo::SayWhySilent() {
    const QString reason = env_.Sound->UnavailableReason();
    if (reason.isEmpty() || soundWarningShown_)
        return;
    soundWarningShown_ = true;
    InfoBox(
        QString::fromLatin1(WindowCaption),
        QStringLiteral("Sound is unavailable: %1\nThe game goes on without sound.").arg(reason));
}

// Once a run, when music is wanted and cannot play; a machine without a sound
// device has said so already.
void TMirelo::SayWhyNoMusic() {
    if (musicWarningShown_ || !env_.Sound->UnavailableReason().isEmpty())
        return;
    const QString reason = env_.Sound->MusicUnavailableReason();
    if (reason.isEmpty())
        return;
    musicWarningShown_ = true;
    const QString text =
        env_.Sound->MusicPossible()
            ? QStringLiteral("The default tune cannot be played: %1\n"
                             "The other tunes can still be chosen from the Music menu.")
            : QStringLiteral("Music is unavailable: %1\nThe game goes on without music.");
    InfoBox(QString::fromLatin1(WindowCaption), text.arg(reason));
}

void TMirelo::Playmusic1Click() {
    // Before the first paint the check mark is all there is; the sound is asked then.
    if (!soundSettingsApplied_)
        return;
    PlayMusic = Menu.Playmusic1->isChecked() && env_.Sound->MusicPossible();
    if (Menu.Playmusic1->isChecked()) {
        SayWhySilent();
        SayWhyNoMusic();
    }
}

void TMirelo::ConfigClick() {
    if (!Configu) {
        Configu = new TConfigu(this);
        Configu->PlayerNameChange = [this](const QString& name) {
            CurrentPlayer = name;
            Bar.PlayerPanel->setText(CurrentPlayer);
        };
    }
    Configu->SetName(CurrentPlayer);
    Configu->move(309, 231);
    Configu->exec();
    Surface->repaint();
}

void TMirelo::HelpClick() {
    if (!Aide)
        Aide = new TAide(this);
    Aide->HelpClick(Sheet, TileStyle);
}

void TMirelo::About1Click() {
    if (!AboutBox)
        AboutBox = new TAboutBox(this);
    AboutBox->exec();
}

void TMirelo::Exit1Click() {
    close();
}

QByteArray TMirelo::SettingsPath() const {
    return env_.SettingsPath.isEmpty() ? SettingsFilePath() : env_.SettingsPath;
}

bool TMirelo::WriteSettingsFile(QString* error) {
    Options o;
    // The style last composed is the one last chosen; before any composition, the one read.
    o.TileStyle = Sheet.AppliedTileStyle == NoStyleApplied ? TileStyle : Sheet.AppliedTileStyle;
    o.HighlightMode = HighlightMode;
    o.ShowMoves = Menu.Moves->isChecked();
    // The player's choice, whether or not music could play this run.
    o.PlayMusic = Menu.Playmusic1 && Menu.Playmusic1->isChecked();
    o.PlaySounds = PlaySounds;
    o.NeverWarn = Layouts.NeverWarn;
    o.CurrentPlayer = CurrentPlayer;
    o.Background = Menu.Kanji1->isChecked() ? 0 : 1;
    o.StartDirectly = Menu.StartupGame->isChecked();
    o.WinnableDeals = Menu.WinnableDeals1->isChecked();
    o.Zoom = zoom_;
    // Read afresh: what others wrote since the start (a section added by hand,
    // the other edition's sound keys) stays, and only the game's own keys change.
    ProfileFile file;
    if (!file.Load(SettingsPath(), error))
        return false;
    WriteSettings(file, o, env_.Sound->HasSound(), Hall);
    return file.Save(SettingsPath(), error); // "Unable to write to <path>"
}

QString TMirelo::NotSavedText() const {
    return settingsReadError_ + QStringLiteral("\nThe settings of this game were not saved, "
                                               "so that file stays as it was.");
}

// Whether the close goes on.
bool TMirelo::SaveAtClose() {
    // Options handed over by a test have no file behind them.
    if (env_.ReadOptions)
        return true;
    if (!settingsReadError_.isEmpty()) {
        InfoBox(QString::fromLatin1(WindowCaption), NotSavedText());
        return true;
    }
    for (;;) {
        QString error;
        if (WriteSettingsFile(&error))
            return true;
        const WriteFailure answer = WriteFailedBox(error);
        // The desktop ended the game while the box was up, and saved what it could.
        if (ended_)
            return true;
        if (answer == WriteFailure::QuitWithoutSaving)
            return true;
        if (answer == WriteFailure::Cancel)
            return false;
    }
}

bool TMirelo::FormCloseQuery() {
    // Saved already, or left unsaved on purpose: the window just closes.
    if (ended_)
        return true;
    Timer->stop();
    if (!SaveAtClose()) {
        // The old file is intact; the game goes on so the player can fix the folder and retry.
        WakeHeartbeat();
        return false;
    }
    if (!ended_ && PlayMusic)
        env_.Sound->CloseMusic();
    ended_ = true;
    return true;
}

QString TMirelo::EndSession() {
    if (ended_)
        return endError_;
    ended_ = true;
    Timer->stop();
    if (!settingsReadError_.isEmpty())
        endError_ = NotSavedText();
    else if (!env_.ReadOptions && WriteSettingsFile(&endError_))
        endError_.clear();
    if (PlayMusic)
        env_.Sound->CloseMusic();
    return endError_;
}

void TMirelo::closeEvent(QCloseEvent* event) {
    if (FormCloseQuery())
        event->accept();
    else
        event->ignore();
}

} // namespace mirelo
