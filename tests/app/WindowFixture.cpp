#include "WindowFixture.h"

#include "BoardRenderer.h"
#include "WindowSurface.h"

#include <QApplication>
#include <QCursor>

namespace mirelo::test {

void WindowTest::Make(Options options, bool fullEdition, int screenWidth) {
    window.reset(); // before the sound it was given
    clock.Tick = 1'000'000;
    clock.TimeOfDay = 45'296'789;
    sound = std::make_unique<RecordingSound>(fullEdition);
    TMirelo::Environment env;
    env.Clock = &clock;
    env.Sound = sound.get();
    env.ScreenWidth = screenWidth;
    env.ReadOptions = [options] { return options; };
    window = std::make_unique<TMirelo>(env);
    realInfoBox = probe().InfoBox;
    probe().InfoBox = [this](const QString& caption, const QString& text) {
        boxes.push_back({caption, text});
    };
    probe().HeldModifiers = [this] { return held; };
    window->show();
    QApplication::processEvents();
}

QPoint WindowTest::ClientPoint(int px, int py) const {
    return {px + 36 * probe().WideScreen, py + 25 * probe().WideScreen + probe().ToolbarHeight};
}

void WindowTest::ClickBoard(int px, int py, Qt::MouseButton button) {
    QCursor::setPos(probe().Surface->mapToGlobal(ClientPoint(px, py)));
    window->ButtonDown(button);
}

QImage WindowTest::SurfaceRows(int top, int height) const {
    return probe().Surface->Surface().copy(0, top, probe().Surface->width(), height);
}

QImage WindowTest::ComposedBoard(int scale) const {
    BoardRenderer renderer;
    renderer.SetScale(scale > 0 ? scale : probe().Surface->Scale());
    renderer.WideScreen = probe().WideScreen;
    const QImage& background = window->CurrentBackground();
    renderer.PaintBackground(background);
    const GameState& s = probe().game.State;
    renderer.ComposeBoard(
        probe().game.Grid, background, probe().Sheet,
        {s.FirstPick, s.SecondPick, s.HintFirst, s.HintSecond, probe().ColorHighlightTile});
    return renderer.Buffer;
}

} // namespace mirelo::test
