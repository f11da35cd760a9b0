// Speed of the board drawing: a full redraw after every deal, hint, undo and
// shuffle; a single-tile redraw for every pick; a style change composes 42 tiles.
#include "FakeClock.h"
#include "SoundInterface.h"
#include "TMirelo.h"
#include "Tiles.h"
#include "WindowProbe.h"
#include "WindowSurface.h"

#include <QApplication>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace mirelo;

struct Window {
    FakeClock clock;
    SilentSound sound;
    std::unique_ptr<TMirelo> window;

    Window() {
        clock.Tick = 1000;
        clock.TimeOfDay = 12345;
        TMirelo::Environment env;
        env.Clock = &clock;
        env.Sound = &sound;
        env.ScreenWidth = 800;
        window = std::make_unique<TMirelo>(env);
        test::WindowProbe(*window).Timer->stop();
    }
};

void BM_FullRedraw(benchmark::State& state) {
    Window w;
    for (auto _ : state)
        w.window->FullRedraw();
}
BENCHMARK(BM_FullRedraw)->Unit(benchmark::kMicrosecond);

void BM_RedrawTile(benchmark::State& state) {
    Window w;
    const std::uint8_t tile = test::WindowProbe(*w.window).game.Grid.At(16, 10, 5);
    for (auto _ : state)
        w.window->RedrawTile(tile);
}
BENCHMARK(BM_RedrawTile)->Unit(benchmark::kMicrosecond);

void BM_ChangeTexture(benchmark::State& state) {
    Window w;
    int style = 0;
    for (auto _ : state) {
        style = (style + 1) % StyleCount;
        test::WindowProbe(*w.window).Sheet.ChangeTexture(style);
    }
}
BENCHMARK(BM_ChangeTexture)->Unit(benchmark::kMicrosecond);

// From the click's handler to the pixels on the window: the second pick's
// redraw, both removed tiles' redraws and the paint of the touched rectangles.
void BM_ClickRemovesPair(benchmark::State& state) {
    Window w;
    w.window->show();
    QApplication::processEvents();
    Game& game = test::WindowProbe(*w.window).game;
    std::uint8_t a = 0, b = 0;
    for (int i = 1; i <= 144 && !b; ++i)
        for (int j = i + 1; j <= 144 && !b; ++j)
            if (TileFace(i) == TileFace(j) && game.IsFree(i) && game.IsFree(j)) {
                a = static_cast<std::uint8_t>(i);
                b = static_cast<std::uint8_t>(j);
            }
    for (auto _ : state) {
        state.PauseTiming();
        w.window->Back();
        game.State.FirstPick = a;
        QApplication::processEvents();
        state.ResumeTiming();
        game.Pick(b, *w.window);
        test::WindowProbe(*w.window).Surface->repaint();
    }
    if (game.State.TilesLeft != 142)
        state.SkipWithError("the pair was not removed");
}
BENCHMARK(BM_ClickRemovesPair)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
