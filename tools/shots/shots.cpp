// Writes pictures of the main window in its different looks, for the docs and
// for looking at every variant without clicking through the menus.
// Usage: mirelo_shots OUTPUT_DIR
#include "ClassicFonts.h"
#include "FakeClock.h"
#include "SoundInterface.h"
#include "TMirelo.h"
#include "WindowProbe.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <cstdio>
#include <memory>

namespace {

using namespace mirelo;

struct Shot {
    FakeClock clock;
    SilentSound sound;
    std::unique_ptr<TMirelo> window;

    explicit Shot(int screenWidth, Options options = {}) {
        clock.Tick = 1000;
        clock.TimeOfDay = 45'296'789;
        TMirelo::Environment env;
        env.Clock = &clock;
        env.Sound = &sound;
        env.ScreenWidth = screenWidth;
        env.ReadOptions = [options] { return options; };
        window = std::make_unique<TMirelo>(env);
        test::WindowProbe(*window).InfoBox = [](const QString&, const QString&) {};
        window->show();
        QApplication::processEvents();
    }

    void Save(const QString& path) {
        clock.Advance(83'000);
        window->Temps();
        QApplication::processEvents();
        window->grab().save(path);
        std::printf("%s\n", qPrintable(path));
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    mirelo::SubstituteClassicFonts();
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    out.mkpath(QStringLiteral("."));

    for (int style = 0; style < 3; ++style)
        for (int background = 0; background < 2; ++background) {
            Options options;
            options.TileStyle = style;
            options.Background = background;
            Shot shot(800, options);
            static const char* const styles[] = {"wood", "blue", "red"};
            shot.Save(out.filePath(
                QStringLiteral("board-%1-%2.png")
                    .arg(QLatin1String(styles[style]),
                         background ? QStringLiteral("dragons") : QStringLiteral("kanji"))));
        }
    {
        Shot shot(800);
        shot.window->Hint();
        shot.window->Hint();
        shot.Save(out.filePath(QStringLiteral("board-hint.png")));
        shot.window->Stop();
        shot.Save(out.filePath(QStringLiteral("stopped.png")));
    }
    {
        Options options;
        options.StartDirectly = false;
        Shot shot(800, options);
        shot.Save(out.filePath(QStringLiteral("start.png")));
    }
    {
        Shot shot(640);
        shot.Save(out.filePath(QStringLiteral("narrow-640.png")));
    }
    {
        Options options;
        options.TileStyle = 1;
        Shot shot(800, options);
        shot.window->Toolbar1Click();
        shot.Save(out.filePath(QStringLiteral("no-toolbar.png")));
    }
    return 0;
}
