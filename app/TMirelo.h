#pragma once

#include "BoardRenderer.h"
#include "Game.h"
#include "HallOfFame.h"
#include "LayoutChoice.h"
#include "LayoutTemplate.h"
#include "Options.h"
#include "Settings.h"
#include "TextOverlay.h"
#include "TileSheet.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QTimer;
class QToolButton;

namespace mirelo {

namespace test {
class WindowProbe;
}

class SoundInterface;
class SystemClock;
class TAboutBox;
class TAide;
class TConfigu;
class WindowSurface;

inline constexpr const char* ApplicationTitle = "Mirelo 2.8";
inline constexpr const char* WindowCaption = "MIRELO 2.8";
inline constexpr const char* BannerLine = "MIRELO - Match the free tiles and clear the board!";

// The main window. It owns every piece of the game's state and turns the rules'
// outcomes into drawing, sounds and status texts, in the order the game requires.
// Handlers keep the game's names and stay short: check the state, then call the
// subsystems.
class TMirelo : public QMainWindow, public BoardView {
    Q_OBJECT
public:
    // Everything that depends on time, the screen or the machine comes in here.
    struct Environment {
        SystemClock* Clock = nullptr;
        SoundInterface* Sound = nullptr;
        int ScreenWidth = 0;     // 0: ask the screen
        QByteArray SettingsPath; // file-system bytes; empty: Mirelo.ini in the settings folder
        // The settings file as the program already read it at start, so that it
        // is read once; empty: the window reads SettingsPath itself.
        std::function<StoredSettings()> StoredAtStart;
        // Tests may hand the options over instead of a file; nothing is then read.
        std::function<Options()> ReadOptions;
    };

    explicit TMirelo(Environment env, QWidget* parent = nullptr);
    ~TMirelo() override;

    // The player's answers when the settings cannot be saved at the close.
    enum class WriteFailure { Retry, QuitWithoutSaving, Cancel };

    // The menu bar's items, by the names the commands are known by.
    struct MenuItems {
        QAction *New1 = nullptr, *Exit1 = nullptr;
        QAction *Undo1 = nullptr, *GiveHint = nullptr, *Shuffle1 = nullptr, *Restart1 = nullptr,
                *Stoppe = nullptr, *Pause1 = nullptr, *CanIWin1 = nullptr;
        QAction *WarnMe = nullptr, *StartupGame = nullptr, *Playsounds1 = nullptr,
                *Playmusic1 = nullptr, *WinnableDeals1 = nullptr;
        QAction *Changeplayername1 = nullptr, *Moves = nullptr, *Toolbar1 = nullptr;
        QAction *Highlight1 = nullptr, *Highlight2 = nullptr, *Highlight3 = nullptr;
        QAction *Zoom100 = nullptr, *Zoom150 = nullptr, *Zoom200 = nullptr;
        QAction *Kanji1 = nullptr, *Dragons1 = nullptr;
        QAction *Theater1 = nullptr, *Traditional1 = nullptr, *Dragon1 = nullptr,
                *BigHole1 = nullptr, *Beatle1 = nullptr;
        QAction *Wood1 = nullptr, *Blue1 = nullptr, *Red1 = nullptr;
        // The full edition's only.
        QAction *FerralMus = nullptr, *GokurakuMus = nullptr, *MireloMus = nullptr,
                *GisorsMus = nullptr;
        QAction *Contents1 = nullptr, *About1 = nullptr;
        QMenu* Music2 = nullptr;
    };
    // The toolbar row over the board.
    struct ToolbarRow {
        QFrame* Panel1 = nullptr;
        QToolButton *SpeedButton1 = nullptr, *SpeedButton3 = nullptr, *SpeedButton4 = nullptr,
                    *ShuffleButton = nullptr, *SpeedButton2 = nullptr;
        QToolButton *HelpButton = nullptr, *AboutButton = nullptr, *ExitButton = nullptr;
        QLabel* PlayerPanel = nullptr;
        QWidget* Media = nullptr; // the music control; the full edition's only
    };

    // The pictures are decoded on first use: the background not in use and the
    // logo cost start-up time for nothing.
    const QImage& Kanji();
    const QImage& Dragons();
    const QImage& Logo();
    // The picture of background setting 0 (Kanji) or any other (Dragons).
    static PictureName BackgroundPicture(int background);

    // ----- handlers (the game's names) -----
    void ResetGame();
    void BeginGame();
    void Restart();
    void Stop();
    void StopGame();
    void Back();
    void Hint();
    void Shuffle1Click();
    void PauseClick();
    void NStatus();
    void ButtonDown(Qt::MouseButton button);
    void FormMouseMove();
    void Temps();
    // Runs the heartbeat as soon as the event loop is free: after a command.
    void WakeHeartbeat();
    // The tick at which the heartbeat is next due; none while it sleeps for good.
    std::optional<std::uint32_t> NextWake() const { return nextWake_; }
    void Exit1Click();
    void Toolbar1Click();
    // The Layout menu: LayoutTheater .. LayoutBeatle. Traditional with Ctrl,
    // Alt and Shift held unlocks Dragon.
    void SelectLayout(int layout);
    // The Tiles menu: StyleWood, StyleBlue or StyleRed.
    void ChooseStyle(int style);
    // The Background menu: 0 Kanji, 1 Dragons.
    void ChooseBackground(int background);
    void ChooseHighlight(Highlight mode);
    void WarnMeClick();
    void Playsounds1Click();
    void Playmusic1Click();
    void ConfigClick();
    void HelpClick();
    void CanIWinClick();
    void About1Click();
    // The Music menu's tunes, in its order: Ferral, Gokuraku, Mirelo, Gisors.
    void ChooseTune(int tune);
    // False (after saying why) when the tune cannot be played.
    bool SelectedMusic(const QString& fileName);
    void ShowHiScores();
    void RenderHallStrip();
    void ApplySoundSettings();
    // Writes every setting into the file as it is now; false, with the reason
    // in `error`, when the file cannot be read or written.
    bool WriteSettingsFile(QString* error);
    QByteArray SettingsPath() const;
    // An end asked by the desktop: stops the clock and the music and saves the
    // settings once, asking nothing. Returns why they were not saved, or an
    // empty text when they were. The caller then ends the program.
    QString EndSession();

    // ----- drawing -----
    void Redraw();
    void FullRedraw() override;
    void RedrawTile(std::uint8_t tile) override;
    void Peindre();
    const QImage& CurrentBackground();

    // ----- status line -----
    void ShowMessage(const QString& text);

    // Board point of the pointer, from its current screen position.
    QPoint PointerBoardPosition() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Tests reach the window's insides through their probe alone.
    friend class test::WindowProbe;

    // ----- state -----
    Game game;
    LayoutChoice Layouts;
    HallOfFame Hall;
    // The layout the board in play was dealt on: a win is judged against its table.
    int DealtLayout = LayoutTraditional;
    TileSheet Sheet;
    BoardRenderer Renderer;
    QImage SmallBuf;
    int TileStyle = StyleWood;
    Highlight HighlightMode = Highlight::Rectangle;
    bool PlaySounds = false;
    bool PlayMusic = false;
    QString CurrentPlayer;
    int WideScreen = 1;
    int ToolbarHeight = 41;
    std::uint8_t ColorHighlightTile = 0;
    int HoverTile = 0;
    int PrevHoverTile = 0;
    bool HighlightShown = false;
    QRect HighlightRect;

    // ----- controls -----
    MenuItems Menu;
    ToolbarRow Bar;
    std::array<QLabel*, 8> LigneStatus{}; // the status bar's panels, labels and values
    QTimer* Timer = nullptr;
    WindowSurface* Surface = nullptr;
    TAboutBox* AboutBox = nullptr;
    // Made on first use: their text layout (and the name box's own font) would
    // cost every start-up.
    TConfigu* Configu = nullptr;
    TAide* Aide = nullptr;

    // Shows a modal information box; tests replace it to record the boxes.
    std::function<void(const QString& caption, const QString& text)> InfoBox;
    // Shows why the save failed ("Unable to write to <path>", or "Unable to
    // read <path>: <why>" when the file can no longer be read) in a modal box
    // with the three answers; tests replace it to answer.
    std::function<WriteFailure(const QString& text)> WriteFailedBox;
    // The keys held down right now; the Dragon unlock reads them. Tests replace it.
    std::function<Qt::KeyboardModifiers()> HeldModifiers;

    void BuildMenus();
    void BuildToolbar();
    void BuildStatusBar();
    void Init();
    void FormResize();
    void SetCheckedLayout(const LayoutOutcome& outcome);
    void ApplyLayoutOutcome(const LayoutOutcome& outcome);
    void CheckTuneItems(const QString& fileName);
    void SayWhySilent();
    void SayWhyNoMusic();
    void SetPauseCaptions(bool paused);
    void SetGameCommandsEnabled(bool enabled);
    void WinSequence();
    // The screen of a game that ended: stopped, out of time or won.
    void ShowStopped();
    // The value panels, each touched only when its text changes.
    void WriteScore(const TickOutcome& turn);
    void WinAnnouncement();
    void RemoveHighlight();
    // Loads the pictures again at the surface's new scale and redraws.
    void Rescale();
    // Options > Zoom: 100, 150 or 200 %, saved, in force from the next start.
    void ChooseZoom(int zoom);
    void DropHighlightRectangle();
    TileMarks Marks() const;
    bool FormCloseQuery();
    bool SaveAtClose();
    QString NotSavedText() const;

    // BoardView: what the rules ask of the window.
    void SonOK(std::uint8_t tile) override;
    void SonBip() override;
    void PairRemovedSound() override;

    Environment env_;
    // Why an existing settings file could not be read at start; while it is
    // set, that file is never written over.
    QString settingsReadError_;
    // Set once the settings have had their save at the end (by the close or by
    // the desktop's end): nothing is saved or asked again.
    bool ended_ = false;
    QString endError_; // why the desktop's end could not save them
    bool soundSettingsApplied_ = false;
    // Why sound or music is unavailable is said once a run.
    bool soundWarningShown_ = false;
    bool musicWarningShown_ = false;
    // The Hall of Fame strip as last drawn, and the layout and table state it shows.
    TextOverlay hallStrip_;
    int hallStripLayout_ = -1; // none yet
    unsigned hallStripChanges_ = 0;
    // What the value panels show, so the 10 ms tick formats nothing that did not change.
    struct ShownScore {
        int Tiles = -1;
        int Moves = -1; // -2 for "--"
        int Time = -1;  // -2 for "---"
    } shown_;
    QImage kanji_, dragons_, logo_;
    // The zoom chosen in the menu, and the one the program started with.
    int zoom_ = 100;
    int zoomAtStart_ = 100;
    // The tune item checked before the last choice: a refused choice puts the mark back.
    QAction* tuneMark_ = nullptr;
    std::optional<std::uint32_t> nextWake_;
    // How often the heartbeat looks at music that is still loading.
    static constexpr std::uint32_t MusicLoadStepMs = 10;
    void ArmHeartbeat(std::uint32_t delay);
};

} // namespace mirelo
