#pragma once

#include <QImage>
#include <cstddef>

namespace mirelo {

// A picture of `size` and `format` whose pixel memory is mapped in with one
// call, before anything is written to it. Written to a page at a time, a new
// picture costs a page fault per 4 KiB, several microseconds each on a virtual
// machine: some 1,500 of them for the window surface at scale 2. A picture of
// 2 MiB or more gets memory of its own that starts on a large page, and asks
// for large pages: on a virtual machine even a mapped small page is slow to
// write the first time, a large one is not. Where the system cannot map
// memory ahead, the picture is an ordinary one.
QImage FreshImage(QSize size, QImage::Format format);
// The same for a picture made elsewhere whose pixels have not been written
// yet, with large pages only where they fall wholly inside its pixels.
void MapInPixels(const QImage& image);

// The whole pages that lie inside `size` bytes at `data`: what may be advised
// about without touching the memory around it. Bytes is 0 when there are none.
struct PageSpan {
    void* Start = nullptr;
    std::size_t Bytes = 0;
};
// Pages of `pageSize` bytes where given, else the system's.
PageSpan WholePagesWithin(const void* data, std::size_t size, std::size_t pageSize = 0);

} // namespace mirelo
