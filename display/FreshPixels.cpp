#include "FreshPixels.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14
#endif

namespace mirelo {

QImage FreshImage(QSize size, QImage::Format format) {
    QImage image(size, format);
    MapInPixels(image);
    return image;
}

void MapInPixels(const QImage& image) {
    if (image.isNull())
        return;
    // Only whole pages: the allocator's own bookkeeping lies around the pixels.
    const PageSpan pages =
        WholePagesWithin(image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
    // A kernel without the advice refuses it, and the pages come as they are written.
    if (pages.Bytes > 0)
        madvise(pages.Start, pages.Bytes, MADV_POPULATE_WRITE);
}

PageSpan WholePagesWithin(const void* data, std::size_t size) {
    const auto first = reinterpret_cast<std::uintptr_t>(data);
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = (first + page - 1) / page * page;
    const std::uintptr_t end = (first + size) / page * page;
    if (end <= start)
        return {};
    return {reinterpret_cast<void*>(start), end - start};
}

} // namespace mirelo
