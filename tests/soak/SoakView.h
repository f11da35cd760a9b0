#pragma once

#include "Game.h"

#include <array>
#include <cstdint>

namespace mirelo::soak {

enum class Call : std::uint8_t { SonOK, SonBip, RedrawTile, PairRemoved, FullRedraw };

// One call of the rules into the window, with what the window could see of the
// game at that moment.
struct CallRecord {
    Call Kind = Call::SonBip;
    std::uint8_t Tile = 0;
    std::uint8_t FirstPick = 0;
    std::uint8_t SecondPick = 0;
    std::uint8_t HintFirst = 0;
    std::uint8_t HintSecond = 0;
    std::uint8_t TilesLeft = 0;
    bool PlaceKnown = false;      // the tile's place was still in TilePlaces
    std::uint8_t CellAtPlace = 0; // what the grid held at that place
};

// Records every call without allocating; a game step makes at most 72 of them
// (a restart from one pair short of a cleared board).
class SoakView final : public BoardView {
public:
    explicit SoakView(const Game& game) : game_(game) {}

    void SonOK(std::uint8_t tile) override { Record(Call::SonOK, tile); }
    void SonBip() override { Record(Call::SonBip, 0); }
    void RedrawTile(std::uint8_t tile) override { Record(Call::RedrawTile, tile); }
    void PairRemovedSound() override { Record(Call::PairRemoved, 0); }
    void FullRedraw() override { Record(Call::FullRedraw, 0); }

    void Reset() { count_ = 0; }
    int Count() const { return count_; }
    const CallRecord& operator[](int i) const { return calls_[i]; }

private:
    void Record(Call kind, std::uint8_t tile);

    const Game& game_;
    std::array<CallRecord, 160> calls_{};
    int count_ = 0;
};

const char* CallName(Call kind);

} // namespace mirelo::soak
