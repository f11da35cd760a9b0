// The full edition: the game with sound effects and music.
#include "SoundInterface.h"
#include "Startup.h"

namespace {

// The sound device and the sequencer come with the audio folder; until then the
// full edition shows its sound menus and plays nothing.
class FullEditionSound final : public mirelo::SoundInterface {
public:
    bool HasSound() const override { return true; }
    void PlayEffect(int) override {}
};

} // namespace

int main(int argc, char** argv) {
    FullEditionSound sound;
    return mirelo::RunMirelo(argc, argv, sound);
}
