// The silent edition: the same game without any sound or music.
#include "SoundInterface.h"
#include "Startup.h"

int main(int argc, char** argv) {
    return mirelo::RunMirelo(argc, argv, [] { return std::make_unique<mirelo::SilentSound>(); });
}
