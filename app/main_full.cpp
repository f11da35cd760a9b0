// The full edition: the game with sound effects and music.
#include "FullSound.h"
#include "Startup.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    return mirelo::RunMirelo(argc, argv, [] {
        // The tunes lie beside the program, wherever it was started from.
        return std::make_unique<mirelo::FullSound>(QCoreApplication::applicationDirPath());
    });
}
