#include <QGuiApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Only for reading pictures and running processes: no window of its own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
