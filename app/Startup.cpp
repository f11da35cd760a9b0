#include "Startup.h"

#include "ClassicFonts.h"
#include "FirstPaintExit.h"
#include "HallOfFame.h"
#include "ProfileFile.h"
#include "QuitSignals.h"
#include "Scale.h"
#include "SessionBus.h"
#include "Settings.h"
#include "SettingsLocation.h"
#include "SoundInterface.h"
#include "SystemClock.h"
#include "TMirelo.h"
#include "TOnlyOne.h"
#include "WindowSurface.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QScreen>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <malloc.h>
#include <memory>

namespace mirelo {

namespace {

// For the start-up benchmark: ends the program at the first paint of the board.
class ExitOnFirstPaint final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            QTimer::singleShot(0, qApp, [] { ReportFirstPaintAndExit(); });
        }
        return false;
    }

private:
    bool seen_ = false;
};

// For end-to-end tests: every deal is seeded with the same number, so a test
// knows where the tiles lie. The game clock stays real.
class FixedSeedClock final : public SystemClock {
public:
    explicit FixedSeedClock(std::uint32_t seed) : seed_(seed) {}
    std::uint32_t GetTickCount() const override { return real_.GetTickCount(); }
    std::uint32_t TimeOfDayMilliseconds() const override { return seed_; }

private:
    RealClock real_;
    std::uint32_t seed_;
};

// Qt asks the session bus about a desktop menu bar and screen readers while
// the window is built, and waits for the answer without a time limit: a bus
// that takes connections but never answers (stopped, or wedged) would keep
// the window from ever showing. Such a bus is left out before Qt starts.
void GoWithoutASilentSessionBus() {
    const QByteArray address = SessionBusAddress();
    if (CheckSessionBus(address, 2000) != BusAnswer::Silent)
        return;
    std::fprintf(stderr,
                 "Mirelo: the session bus (%s) does not answer; the game goes on without it, "
                 "with its own menu bar and no screen reader.\n",
                 address.constData());
    // An address of no known kind: the bus library gives up on it at once.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "disabled:");
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeMenuBar);
}

} // namespace

int RunMirelo(int argc, char** argv, const SoundFactory& makeSound) {
#ifdef M_ARENA_MAX
    // One heap for every thread. Each thread that allocates would otherwise
    // get a heap of its own, and what the start-up threads leave in theirs
    // (the font list, the sound font's tables) is kept apart from the window's
    // free memory: 0.3 MiB and more of peak memory. The game's threads
    // allocate little, and the sound's mixing thread nothing.
    mallopt(M_ARENA_MAX, 1);
#endif
    // Past a file-size limit (ulimit -f) a write then fails with an error that
    // the game reports, instead of the signal ending the game on the spot.
    std::signal(SIGXFSZ, SIG_IGN);
    // On X11 every shared-memory upload makes Qt wait for the server's answer,
    // which wakes the program twice more for each second the clock shows; the
    // board's uploads are small and go as fast over the socket. Set by the
    // player, the variable is left as it is.
    if (!qEnvironmentVariableIsSet("QT_XCB_NO_MITSHM"))
        qputenv("QT_XCB_NO_MITSHM", "1");
    // The settings file is read once, before Qt starts: its Zoom sets the
    // scale factor Qt reads as it starts. The window takes that reading.
    const QByteArray settingsPath = SettingsFilePath();
    const auto stored = std::make_shared<const StoredSettings>(LoadStoredSettings(settingsPath));
    HallOfFame readHall;
    const Options options = ReadSettings(stored->File, false, readHall);
    if (options.Zoom != 100)
        qputenv("QT_SCALE_FACTOR", ZoomedScaleFactor(qgetenv("QT_SCALE_FACTOR"), options.Zoom));
    GoWithoutASilentSessionBus();
    QApplication app(argc, argv);
    // The first paint needs the tile sheet and the background in the settings:
    // a second thread decodes them while the window is built. The window opens
    // on the primary screen; its pictures are of that screen's scale.
    const int scale = WholeScale(QGuiApplication::primaryScreen()->devicePixelRatio());
    SubstituteClassicFonts(); // before a second thread may look for a font
    const PicturePreload pictures([scale, background = options.Background] {
        // Qt reads the system's list of fonts once, when the first text is
        // measured: on this thread it is read while the window is being built.
        QFontDatabase::families();
        // The background first: it takes longest, and the window, which asks
        // for the tile sheet first, decodes the sheet itself meanwhile.
        return std::vector<PictureName>{TMirelo::BackgroundPicture(background).AtScale(scale),
                                        TileGfxPicture.AtScale(scale), MaskPicture.AtScale(scale)};
    });
    // No display name: Qt would add it to every window title, which are the
    // program's own texts.
    QApplication::setApplicationName(QString::fromLatin1(ApplicationTitle));
    QApplication::setDesktopFileName(QStringLiteral("mirelo"));

    // The music control opens its default tune before the guard runs.
    const std::unique_ptr<SoundInterface> sound = makeSound();
    RealClock realClock;
    bool seeded = false;
    const std::uint32_t seed = qEnvironmentVariable("MIRELO_SEED").toUInt(&seeded);
    FixedSeedClock seededClock(seed);
    TMirelo::Environment env;
    env.Clock = seeded ? static_cast<SystemClock*>(&seededClock) : &realClock;
    env.Sound = sound.get();
    env.SettingsPath = settingsPath;
    env.StoredAtStart = [stored] { return *stored; };
    TOnlyOne guard(QString::fromLatin1(ApplicationTitle));
    const bool anotherCopyRuns = guard.OnLoad();
    TMirelo window(env);
    if (anotherCopyRuns) {
        // The running copy has been asked to come forward; this one ends as its
        // event loop starts, without a close request, so it saves nothing.
        QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
        return QApplication::exec();
    }
    guard.OnRaiseRequest = [&window] {
        window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        window.show();
        window.raise();
        window.activateWindow();
    };
    // The desktop's end is not asked about: the settings are saved once, and
    // the game ends whatever came of that, saying on standard error why not.
    OnQuitSignals(&window, [&window] {
        const QString notSaved = window.EndSession();
        if (!notSaved.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(notSaved));
        QCoreApplication::exit(notSaved.isEmpty() ? 0 : 1);
    });
    ExitOnFirstPaint exitOnFirstPaint;
    if (qEnvironmentVariableIntValue("MIRELO_FIRST_PAINT_EXIT"))
        window.centralWidget()->installEventFilter(&exitOnFirstPaint); // the board surface
    // The window has every picture it starts with: their compressed bytes go
    // before its largest allocation, the picture Qt shows it from.
    ReleasePictureFilePages();
    window.show();
    return QApplication::exec();
}

} // namespace mirelo
