// The main of every test program that needs Qt: the offscreen platform, a
// private runtime folder and settings folder, and the fonts the game names.
// A program asks for more with a compile definition:
//   MIRELO_TEST_SOUND           SDL's silent dummy device, and its log quiet
#include "ClassicFonts.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#ifdef MIRELO_TEST_SOUND
#include <SDL.h>
#endif

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    // Never the user's own settings: every test's Mirelo.ini lives here.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
#ifdef MIRELO_TEST_SOUND
    // No test may reach a real sound card: CI machines have none.
    qputenv("SDL_AUDIODRIVER", "dummy");
    // The disk driver announces itself on every open; the tests know.
    SDL_LogSetOutputFunction([](void*, int, SDL_LogPriority, const char*) {}, nullptr);
#endif
    QApplication app(argc, argv);
    mirelo::SubstituteClassicFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
