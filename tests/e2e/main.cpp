#include "ClassicFonts.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Only for reading pictures and running processes: no window of its own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The fonts the windows name, as the programs find them: for texts a test
    // draws to look for on the screen.
    mirelo::SubstituteClassicFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
