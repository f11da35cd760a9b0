#include "tiles.h"

#include "geometry.h"
#include "symbol_canvas.h"

namespace artgen {

QImage drawPicture(int n, const Fonts& fonts, int scale) {
    using namespace geom;
    SymbolCanvas canvas(scale);
    QPainter& p = canvas.painter();
    if (n >= kFirstWind)
        drawWind(p, n - kFirstWind, fonts);
    else if (n >= kFirstDragon)
        drawDragon(p, n - kFirstDragon, fonts);
    else if (n >= kFirstSeason)
        drawSeason(p, n - kFirstSeason + 1, fonts);
    else if (n >= kFirstFlower)
        drawFlower(p, n - kFirstFlower + 1, fonts);
    else if (n >= kFirstDot)
        drawDots(p, n - kFirstDot + 1);
    else if (n >= kFirstBamboo)
        drawBamboo(p, n - kFirstBamboo + 1);
    else
        drawCrack(p, n - kFirstCrack + 1, fonts);
    return canvas.flatten();
}

} // namespace artgen
