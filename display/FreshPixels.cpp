#include "FreshPixels.h"

#include <cstdint>
#include <sys/mman.h>
#include <unistd.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23 // Linux 5.14
#endif

namespace mirelo {

namespace {

// The size of a large page on x86-64 and arm64 with 4 KiB pages.
constexpr std::uintptr_t LargePage = std::uintptr_t{2} << 20;

// Asks for large pages over the whole large pages inside [start, start + bytes):
// one fault and one zeroing for 2 MiB instead of 512 of each. On a virtual
// machine a first write to a small page costs several microseconds even when
// the page is already mapped; a large page costs that once. Memory around the
// span is untouched, so nothing is counted that is not the picture's.
void AdviseLargePages(const void* start, std::size_t bytes) {
    const PageSpan large = WholePagesWithin(start, bytes, LargePage);
    // A kernel without them refuses the advice, and small pages serve.
    if (large.Bytes > 0)
        madvise(large.Start, large.Bytes, MADV_HUGEPAGE);
}

std::uintptr_t RoundUp(std::uintptr_t value, std::uintptr_t unit) {
    return (value + unit - 1) / unit * unit;
}

struct Mapping {
    void* Start;
    std::size_t Bytes;
};

void Unmap(void* info) {
    const auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->Start, mapping->Bytes);
    delete mapping;
}

// Pixel memory of its own that starts on a large page, so that all but the
// last part of it can be large pages. Null where the system will not map it.
void* MapAligned(std::size_t bytes) {
    const std::size_t length = RoundUp(bytes, static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE)));
    void* raw = mmap(nullptr, length + LargePage, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const auto at = reinterpret_cast<std::uintptr_t>(raw);
    const std::uintptr_t start = RoundUp(at, LargePage);
    // What lies before and after the aligned span goes back at once.
    if (start > at)
        munmap(raw, start - at);
    const std::uintptr_t end = start + length;
    const std::uintptr_t rawEnd = at + length + LargePage;
    if (rawEnd > end)
        munmap(reinterpret_cast<void*>(end), rawEnd - end);
    return reinterpret_cast<void*>(start);
}

} // namespace

QImage FreshImage(QSize size, QImage::Format format) {
    const int depth = QImage::toPixelFormat(format).bitsPerPixel();
    const qsizetype bytesPerLine = (qsizetype{size.width()} * depth + 31) / 32 * 4;
    const qsizetype bytes = bytesPerLine * size.height();
    if (size.isEmpty() || bytes < static_cast<qsizetype>(LargePage)) {
        QImage image(size, format);
        MapInPixels(image);
        return image;
    }
    // A last large page that the picture nearly fills is taken whole: the
    // few bytes beyond the picture cost less than its small pages would.
    auto length = static_cast<std::size_t>(bytes);
    const std::size_t spare = RoundUp(length, LargePage) - length;
    if (spare <= LargePage / 32)
        length += spare;
    void* pixels = MapAligned(length);
    if (pixels == nullptr)
        return QImage(size, format);
    AdviseLargePages(pixels, length);
    madvise(pixels, length, MADV_POPULATE_WRITE);
    auto* mapping = new Mapping{pixels, length};
    QImage image(static_cast<uchar*>(pixels), size.width(), size.height(), bytesPerLine, format,
                 Unmap, mapping);
    if (image.isNull())
        Unmap(mapping);
    return image;
}

void MapInPixels(const QImage& image) {
    if (image.isNull())
        return;
    // Only whole pages: the allocator's own bookkeeping lies around the pixels.
    const PageSpan pages =
        WholePagesWithin(image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
    if (pages.Bytes == 0)
        return;
    AdviseLargePages(pages.Start, pages.Bytes);
    // A kernel without the advice refuses it, and the pages come as they are written.
    madvise(pages.Start, pages.Bytes, MADV_POPULATE_WRITE);
}

PageSpan WholePagesWithin(const void* data, std::size_t size, std::size_t pageSize) {
    const auto first = reinterpret_cast<std::uintptr_t>(data);
    const auto page = static_cast<std::uintptr_t>(pageSize ? pageSize : sysconf(_SC_PAGESIZE));
    const std::uintptr_t start = RoundUp(first, page);
    const std::uintptr_t end = (first + size) / page * page;
    if (end <= start)
        return {};
    return {reinterpret_cast<void*>(start), end - start};
}

} // namespace mirelo
