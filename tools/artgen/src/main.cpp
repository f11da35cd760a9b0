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

namespace {

// Draws every picture at one scale and writes it; the denser set takes the
// "@2x" names that Qt's resource and image loading look for.
bool writeArtwork(const Fonts& fonts, int scale, const QString& assets, const QString& docs) {
    const QImage sheet = buildTileSheet(fonts, scale);
    const QImage mask = buildMaskSheet(sheet, scale);
    const TileComposer tiles(sheet, mask, scale);

    SheetInputs in{fonts,
                   tiles,
                   drawKanjiBackground(fonts, scale),
                   drawDragonsBackground(fonts, scale),
                   drawLogo(fonts, tiles),
                   drawAppIcon(fonts, geom::kIconSize.width() * scale),
                   drawAppIcon(fonts, geom::kLargeIconSize.width() * scale),
                   drawTechnoPointer(scale),
                   drawHandPointer(scale),
                   drawNewGameIcon(scale),
                   drawNewGameDisabledIcon(scale)};

    const QString suffix =
        scale == 1 ? QStringLiteral(".png") : QStringLiteral("@%1x.png").arg(scale);
    // The finer mask is stored a byte a pixel, as the game keeps it: it is
    // decoded without a conversion. The first mask keeps its original bytes.
    const QImage storedMask = scale == 1 ? mask : mask.convertToFormat(QImage::Format_Grayscale8);
    const struct {
        const QImage& image;
        QString path;
    } outputs[] = {
        {sheet, assets + QStringLiteral("/tilegfx")},
        {storedMask, assets + QStringLiteral("/mask")},
        {in.kanji, assets + QStringLiteral("/kanji")},
        {in.dragons, assets + QStringLiteral("/dragons")},
        {in.logo, assets + QStringLiteral("/logo")},
        {in.icon, assets + QStringLiteral("/icon")},
        {in.largeIcon, assets + QStringLiteral("/icon_128")},
        {in.techno, assets + QStringLiteral("/techno")},
        {in.hand, assets + QStringLiteral("/hand")},
        {in.newGame, assets + QStringLiteral("/newgame")},
        {in.newGameDisabled, assets + QStringLiteral("/newgame_disabled")},
    };
    bool ok = true;
    for (const auto& out : outputs)
        ok = writePng(out.image, out.path + suffix) && ok;
    ok = writePng(drawContactSheet(in), docs + QStringLiteral("/contact_sheet") + suffix) && ok;
    return ok;
}

} // namespace

int main(int argc, char** argv) {
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

    bool ok = true;
    for (const int scale : geom::kScales)
        ok = writeArtwork(fonts, scale, assets, docs) && ok;
    return ok ? 0 : 1;
}
