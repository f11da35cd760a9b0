#pragma once

#include <QImage>
#include <QString>

namespace artgen {

// Writes a PNG with no text or time chunks, so reruns are byte-identical.
// Opaque images are stored as RGB, images with alpha as RGBA, and
// Format_Grayscale8 images as grey.
bool writePng(const QImage& img, const QString& path);

} // namespace artgen
