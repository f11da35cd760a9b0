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
    const auto first = reinterpret_cast<std::uintptr_t>(image.constBits());
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    // Whole pages inside the pixels: the allocator's own bookkeeping lies around them.
    const std::uintptr_t start = (first + page - 1) / page * page;
    const std::uintptr_t end =
        (first + static_cast<std::uintptr_t>(image.sizeInBytes())) / page * page;
    // A kernel without the advice refuses it, and the pages come as they are written.
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
}

} // namespace mirelo
