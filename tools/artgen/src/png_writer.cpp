#include "png_writer.h"

#include <QImageWriter>
#include <cstdio>

namespace artgen {

bool writePng(const QImage& img, const QString& path) {
    QImage out = img.format() == QImage::Format_Grayscale8 ? img
                 : img.hasAlphaChannel() ? img.convertToFormat(QImage::Format_ARGB32)
                                         : img.convertToFormat(QImage::Format_RGB32);
    // Resolution metadata would otherwise follow the screen; pin it.
    out.setDotsPerMeterX(2835);
    out.setDotsPerMeterY(2835);
    QImageWriter writer(path, "png");
    writer.setQuality(0); // for PNG: smallest file, lossless as always
    if (!writer.write(out)) {
        std::fprintf(stderr, "artgen: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(writer.errorString()));
        return false;
    }
    return true;
}

} // namespace artgen
