// Mirelo artwork generator: draws every picture the game ships and a contact
// sheet to review them. Usage: artgen <repository root>

#include "backgrounds.h"
#include "compose.h"
#include "contact_sheet.h"
#include "cursors.h"
#include "fonts.h"
#include "geometry.h"
#include "icons.h"
#include "logo.h"
#include "png_writer.h"
#include "tilesheet.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>

using namespace artgen;

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: artgen <repository root>\n");
        return 2;
    }
    const QDir root(QString::fromLocal8Bit(argv[1]));
    const QString assets = root.filePath(QStringLiteral("assets"));
    const QString docs = root.filePath(QStringLiteral("docs"));
    QDir().mkpath(assets);
    QDir().mkpath(docs);

    const Fonts fonts = Fonts::load();
    if (!fonts.ok())
        return 1;

    const QImage sheet = buildTileSheet(fonts);
    const QImage mask = buildMaskSheet(sheet);
    const TileComposer tiles(sheet, mask);

    SheetInputs in{fonts,
                   tiles,
                   drawKanjiBackground(fonts),
                   drawDragonsBackground(fonts),
                   drawLogo(fonts, tiles),
                   drawAppIcon(fonts, geom::kIconSize.width()),
                   drawAppIcon(fonts, geom::kLargeIconSize.width()),
                   drawTechnoPointer(),
                   drawHandPointer(),
                   drawNewGameIcon(),
                   drawNewGameDisabledIcon()};

    const struct {
        const QImage& image;
        QString path;
    } outputs[] = {
        {sheet, assets + QStringLiteral("/tilegfx.png")},
        {mask, assets + QStringLiteral("/mask.png")},
        {in.kanji, assets + QStringLiteral("/kanji.png")},
        {in.dragons, assets + QStringLiteral("/dragons.png")},
        {in.logo, assets + QStringLiteral("/logo.png")},
        {in.icon, assets + QStringLiteral("/icon.png")},
        {in.largeIcon, assets + QStringLiteral("/icon_128.png")},
        {in.techno, assets + QStringLiteral("/techno.png")},
        {in.hand, assets + QStringLiteral("/hand.png")},
        {in.newGame, assets + QStringLiteral("/newgame.png")},
        {in.newGameDisabled, assets + QStringLiteral("/newgame_disabled.png")},
    };
    bool ok = true;
    for (const auto& out : outputs)
        ok = writePng(out.image, out.path) && ok;
    ok = writePng(drawContactSheet(in), docs + QStringLiteral("/contact_sheet.png")) && ok;
    return ok ? 0 : 1;
}
