// The yardstick for start-up, memory and idle CPU: a bare Qt main window built
// the same way as the game (same toolkit, same build type), with a menu bar, a
// status bar, a central widget of the game's size and a 10 ms timer that does
// nothing. MIRELO_FIRST_PAINT_EXIT=1 makes it quit at its first paint, after
// printing when it was on screen, as the game does. With --timer-stopped the
// timer never runs: the floor for a window that sleeps until something happens.
#include "FirstPaintExit.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QTimer>

namespace {

class Board : public QWidget {
public:
    Board() { setFixedSize(800, 509); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::darkGreen);
        if (!painted_ && qEnvironmentVariableIntValue("MIRELO_FIRST_PAINT_EXIT")) {
            QTimer::singleShot(0, qApp, [] { mirelo::ReportFirstPaintAndExit(); });
        }
        painted_ = true;
    }

private:
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("BARE WINDOW"));
    window.menuBar()
        ->addMenu(QStringLiteral("&File"))
        ->addAction(QStringLiteral("E&xit"), &window, &QWidget::close);
    window.setCentralWidget(new Board);
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Status")), 1);
    QTimer timer;
    if (!QApplication::arguments().contains(QStringLiteral("--timer-stopped")))
        timer.start(10);
    window.show();
    return QApplication::exec();
}
