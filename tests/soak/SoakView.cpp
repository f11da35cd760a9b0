#include "SoakView.h"

namespace mirelo::soak {

void SoakView::Record(Call kind, std::uint8_t tile) {
    CallRecord r;
    r.Kind = kind;
    r.Tile = tile;
    const GameState& s = game_.State;
    r.FirstPick = s.FirstPick;
    r.SecondPick = s.SecondPick;
    r.HintFirst = s.HintFirst;
    r.HintSecond = s.HintSecond;
    r.TilesLeft = s.TilesLeft;
    if (tile >= 1 && tile <= TileCount) {
        const TilePlace& p = game_.Places[tile];
        r.PlaceKnown = p.OnBoard();
        if (r.PlaceKnown)
            r.CellAtPlace = game_.Grid.At(p.X, p.Y, p.Z);
    }
    // Past the buffer the count still grows, so the step sees too many calls.
    if (count_ < static_cast<int>(calls_.size()))
        calls_[count_] = r;
    ++count_;
}

const char* CallName(Call kind) {
    switch (kind) {
    case Call::SonOK:
        return "SonOK";
    case Call::SonBip:
        return "SonBip";
    case Call::RedrawTile:
        return "RedrawTile";
    case Call::PairRemoved:
        return "PairRemovedSound";
    case Call::FullRedraw:
        return "FullRedraw";
    }
    return "?";
}

} // namespace mirelo::soak
