// Writes pictures of every page of the help window and of the about box.
// Usage: help_shots OUTPUT_DIR [TILE_STYLE]
#include "ClassicFonts.h"
#include "TAboutBox.h"
#include "TAide.h"
#include "TileSheet.h"

#include <QApplication>
#include <QDir>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    mirelo::SubstituteClassicFonts();
    const QDir out(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    out.mkpath(QStringLiteral("."));
    const int style = argc > 2 ? qBound(0, atoi(argv[2]), 2) : mirelo::StyleWood;

    auto save = [&](QWidget& widget, const QString& name) {
        QApplication::processEvents();
        const QString path = out.filePath(name);
        widget.grab().save(path);
        std::printf("%s\n", qPrintable(path));
    };

    mirelo::TileSheet sheet;
    mirelo::TAide aide;
    aide.PaintTiles(sheet, style);
    aide.show();
    const char* pages[] = {"english", "francais", "tiles", "notes"};
    for (int page = 0; page < 4; ++page) {
        aide.AideEnLigne->setCurrentIndex(page);
        save(aide, QStringLiteral("help-%1.png").arg(QLatin1String(pages[page])));
    }
    // The ends of the two long pages, scrolled down.
    for (int page = 0; page < 2; ++page) {
        aide.AideEnLigne->setCurrentIndex(page);
        QApplication::processEvents();
        for (QScrollArea* scroll : aide.AideEnLigne->currentWidget()->findChildren<QScrollArea*>())
            scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
        save(aide, QStringLiteral("help-%1-end.png").arg(QLatin1String(pages[page])));
    }
    aide.hide();

    mirelo::TAboutBox about;
    about.show();
    save(about, QStringLiteral("about.png"));
    return 0;
}
