#pragma once

#include "TMirelo.h"

namespace mirelo::test {

// The main window's insides, for the tests, the benchmarks and the screenshot
// tool: the state a check must see or set up and the seams it replaces (the
// message boxes, the held keys). The window's own code never uses it.
class WindowProbe {
public:
    explicit WindowProbe(TMirelo& w)
        : game(w.game), Layouts(w.Layouts), Hall(w.Hall), Sheet(w.Sheet), Renderer(w.Renderer),
          SmallBuf(w.SmallBuf), TileStyle(w.TileStyle), HighlightMode(w.HighlightMode),
          PlaySounds(w.PlaySounds), PlayMusic(w.PlayMusic), CurrentPlayer(w.CurrentPlayer),
          WideScreen(w.WideScreen), ToolbarHeight(w.ToolbarHeight),
          ColorHighlightTile(w.ColorHighlightTile), HoverTile(w.HoverTile),
          HighlightShown(w.HighlightShown), HighlightRect(w.HighlightRect), Menu(w.Menu),
          Bar(w.Bar), LigneStatus(w.LigneStatus), Timer(w.Timer), Surface(w.Surface),
          AboutBox(w.AboutBox), Configu(w.Configu), Aide(w.Aide), InfoBox(w.InfoBox),
          WriteFailedBox(w.WriteFailedBox), HeldModifiers(w.HeldModifiers) {}

    Game& game;
    LayoutChoice& Layouts;
    HallOfFame& Hall;
    TileSheet& Sheet;
    BoardRenderer& Renderer;
    QImage& SmallBuf;
    int& TileStyle;
    Highlight& HighlightMode;
    bool& PlaySounds;
    bool& PlayMusic;
    QString& CurrentPlayer;
    int& WideScreen;
    int& ToolbarHeight;
    std::uint8_t& ColorHighlightTile;
    int& HoverTile;
    bool& HighlightShown;
    QRect& HighlightRect;
    TMirelo::MenuItems& Menu;
    TMirelo::ToolbarRow& Bar;
    std::array<QLabel*, 8>& LigneStatus;
    QTimer* const& Timer;
    WindowSurface* const& Surface;
    TAboutBox* const& AboutBox;
    TConfigu* const& Configu; // made on first use
    TAide* const& Aide;       // made on first use
    std::function<void(const QString& caption, const QString& text)>& InfoBox;
    std::function<TMirelo::WriteFailure(const QString& text)>& WriteFailedBox;
    std::function<Qt::KeyboardModifiers()>& HeldModifiers;
};

} // namespace mirelo::test
