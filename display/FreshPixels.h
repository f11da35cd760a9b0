#pragma once

#include <QImage>

namespace mirelo {

// A picture of `size` and `format` whose pixel memory is mapped in with one
// call, before anything is written to it. Written to a page at a time, a new
// picture costs a page fault per 4 KiB, several microseconds each on a virtual
// machine: some 1,500 of them for the window surface at scale 2. Where the
// system cannot map memory ahead, the picture is an ordinary one.
QImage FreshImage(QSize size, QImage::Format format);
// The same for a picture made elsewhere whose pixels have not been written yet.
void MapInPixels(const QImage& image);

} // namespace mirelo
