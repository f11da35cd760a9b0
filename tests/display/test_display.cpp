#include "Blit.h"
#include "BoardRenderer.h"
#include "FreshPixels.h"
#include "SyntheticSheet.h"
#include "Tiles.h"

#include <QDir>
#include <QFile>
#include <QResource>
#include <cstdint>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace mirelo {
namespace {

using test::SyntheticSheet;

QImage Flat(QColor colour, int w = 800, int h = 468) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// Every pixel of `image` as a 2 x 2 block: what scale 2 must give when its
// pictures are the scale-1 ones so enlarged.
QImage Doubled(const QImage& image) {
    QImage out = image.scaled(image.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    out.setDevicePixelRatio(2);
    return out;
}

// A background whose every pixel differs from its neighbours, so that a copy
// from the wrong place shows.
QImage Patterned() {
    QImage image(800, 468, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x % 251, y % 241, (x * 7 + y * 13) % 256));
    return image;
}

TEST(RendererScale, AtScale2EveryPixelIsTheScale1PixelDoubled) {
    TileSheet one = SyntheticSheet();
    TileSheet two(Doubled(one.TileGfx), Doubled(one.Mask), 2);
    EXPECT_EQ(two.MaskedTiles.size(), QSize(720, 500));
    one.ChangeTexture(StyleBlue);
    two.ChangeTexture(StyleBlue);
    EXPECT_EQ(two.MaskedTiles, Doubled(one.MaskedTiles));

    // Overlapping levels, a shortened bottom band, neighbours, and every mark.
    BoardGrid grid;
    grid.Set(10, 5, 1, 1);
    grid.Set(11, 7, 1, 5);
    grid.Set(12, 5, 1, 9);
    grid.Set(11, 5, 2, 13);
    grid.Set(3, 3, 1, 17);
    grid.Set(30, 15, 1, 21);
    grid.Set(16, 9, 3, 25);
    const TileMarks marks{.FirstPick = 5,
                          .SecondPick = 0,
                          .HintFirst = 9,
                          .HintSecond = 17,
                          .ColorHighlightTile = 21};
    const QImage background = Patterned();
    const QImage background2 = Doubled(background);
    BoardRenderer r1, r2;
    r2.SetScale(2);
    EXPECT_EQ(r2.Scale(), 2);
    EXPECT_EQ(r2.Buffer.size(), QSize(1600, 936));
    r1.PaintBackground(background);
    r2.PaintBackground(background2);
    r1.ComposeBoard(grid, background, one, marks);
    r2.ComposeBoard(grid, background2, two, marks);
    EXPECT_EQ(r2.Buffer, Doubled(r1.Buffer));
    // The hit map and the boxes stay in the game's pixels.
    EXPECT_EQ(r2.HitMap, r1.HitMap);
    EXPECT_EQ(r2.TileBox({11, 5, 2}), r1.TileBox({11, 5, 2}));

    // A partial redraw: one tile off, its box refreshed.
    grid.Set(11, 5, 2, 0);
    const QRect box = r1.TileBox({11, 5, 2});
    for (BoardRenderer* r : {&r1, &r2})
        r->Dirty = {box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    r1.ComposeBoard(grid, background, one, marks);
    r2.ComposeBoard(grid, background2, two, marks);
    EXPECT_EQ(r2.Buffer.copy(QRect(box.topLeft() * 2, box.size() * 2)),
              Doubled(r1.Buffer.copy(box)));
    EXPECT_EQ(r2.HitMap, r1.HitMap);

    // The narrow screen's origin scales too.
    r1.WideScreen = r2.WideScreen = 0;
    for (BoardRenderer* r : {&r1, &r2})
        r->Dirty = DirtyRect::FullRect();
    r1.ComposeBoard(grid, background, one, marks);
    r2.ComposeBoard(grid, background2, two, marks);
    EXPECT_EQ(r2.Buffer, Doubled(r1.Buffer));
}

TEST(PictureNames, ScaleTwoOpensTheFinerFileAndScaleOneNeverDoes) {
    const QImage one = LoadPicture(TileGfxPicture);
    const QImage two = LoadPicture(TileGfxPicture.AtScale(2));
    EXPECT_EQ(one.size(), QSize(360, 306));
    EXPECT_EQ(one.devicePixelRatio(), 1.0);
    EXPECT_EQ(two.size(), QSize(720, 612));
    EXPECT_EQ(two.devicePixelRatio(), 2.0);
    // A real picture, not the grey stand-in.
    EXPECT_NE(two.pixel(1, 1), qRgb(96, 96, 96));
    const QImage logo = LoadPicture("logo.png", 253, 128, 2);
    EXPECT_EQ(logo.size(), QSize(506, 256));
    // A picture missing at scale 2 stands in at the finer size.
    const QImage missing = LoadPicture("nothing.png", 10, 20, 2);
    EXPECT_EQ(missing.size(), QSize(20, 40));
    EXPECT_EQ(missing.pixel(3, 3), qRgb(96, 96, 96));

    // The mask is kept a byte a pixel at both scales, and loses nothing: it
    // is the picture the file holds, pixel for pixel.
    for (const int scale : {1, 2}) {
        const QImage mask = LoadPicture(MaskPicture.AtScale(scale));
        EXPECT_EQ(mask.format(), QImage::Format_Grayscale8);
        EXPECT_EQ(mask.devicePixelRatio(), scale);
        const QImage words = LoadPicture(
            PictureName{MaskPicture.Name, MaskPicture.Width, MaskPicture.Height, scale});
        ASSERT_EQ(words.format(), QImage::Format_RGB32);
        EXPECT_EQ(mask.convertToFormat(QImage::Format_RGB32), words);
    }
}

// The pages of `image`'s pixels that lie wholly inside them, and how many of
// those are in memory.
std::pair<std::size_t, std::size_t> ResidentPages(const QImage& image) {
    const PageSpan pages =
        WholePagesWithin(image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
    std::vector<unsigned char> in(pages.Bytes / static_cast<std::size_t>(sysconf(_SC_PAGESIZE)));
    if (pages.Bytes == 0 || mincore(pages.Start, pages.Bytes, in.data()) != 0)
        return {0, 0};
    std::size_t resident = 0;
    for (unsigned char bit : in)
        resident += bit & 1;
    return {in.size(), resident};
}

// The kernel's flags for the mapping that holds `address` ("hg": large pages
// advised), from /proc/self/smaps; empty if no mapping holds it.
std::string MappingFlags(const void* address) {
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    if (!smaps.open(QIODevice::ReadOnly))
        return {};
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    bool inside = false;
    for (QByteArray line = smaps.readLine(); !line.isEmpty(); line = smaps.readLine()) {
        const int dash = line.indexOf('-');
        const int space = line.indexOf(' ');
        bool isStart = false, isEnd = false;
        if (dash > 0 && space > dash) {
            const auto start = line.left(dash).toULongLong(&isStart, 16);
            const auto end = line.mid(dash + 1, space - dash - 1).toULongLong(&isEnd, 16);
            if (isStart && isEnd) {
                inside = at >= start && at < end;
                continue;
            }
        }
        if (inside && line.startsWith("VmFlags:"))
            return line.mid(8).trimmed().toStdString();
    }
    return {};
}

TEST(FreshImage, ItsPixelsAreInMemoryBeforeTheFirstWriteAndGoWithIt) {
    // Only a kernel that maps memory ahead on request (Linux 5.14) can pass.
    const std::size_t probeSize = 1 << 20;
    void* probe =
        mmap(nullptr, probeSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(probe, MAP_FAILED);
    const bool canMapAhead = madvise(probe, probeSize, 23 /* MADV_POPULATE_WRITE */) == 0;
    munmap(probe, probeSize);
    if (!canMapAhead)
        GTEST_SKIP() << "this kernel cannot map memory ahead";

    // An ordinary picture's pages come only as they are written: the check can
    // tell. (First: memory the allocator has had back may be in memory.)
    const QImage plain(QSize(1600, 1018), QImage::Format_RGB32);
    EXPECT_LT(ResidentPages(plain).second, ResidentPages(plain).first / 2);

    // The window surface at scale 2, and one a little under 6 MiB (a
    // background), each bigger than a large page; and one smaller.
    for (const QSize size : {QSize(1600, 1018), QSize(1600, 936), QSize(720, 612)}) {
        SCOPED_TRACE(size.width() * 10000 + size.height());
        QImage fresh = FreshImage(size, QImage::Format_RGB32);
        ASSERT_EQ(fresh.size(), size);
        ASSERT_EQ(fresh.format(), QImage::Format_RGB32);
        ASSERT_EQ(fresh.bytesPerLine(), size.width() * 4);
        const auto [pages, resident] = ResidentPages(fresh);
        ASSERT_GT(pages, 400u);
        EXPECT_EQ(resident, pages);
        const bool large = fresh.sizeInBytes() >= (2 << 20);
        if (large) {
            // On a large page of its own, so that all of it but the end can be
            // large pages; and the kernel was asked for them where it has them.
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(fresh.constBits()) % (2 << 20), 0u);
            if (QFile::exists(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"))) {
                EXPECT_NE(MappingFlags(fresh.constBits()).find(" hg"), std::string::npos)
                    << MappingFlags(fresh.constBits());
            }
        }

        // It is an ordinary picture: written through a copy, the first is kept.
        fresh.fill(Qt::red);
        QImage copy = fresh;
        copy.setPixel(5, 5, qRgb(0, 0, 255));
        EXPECT_EQ(fresh.pixel(5, 5), qRgb(255, 0, 0));
        EXPECT_EQ(copy.pixel(4, 5), qRgb(255, 0, 0));

        // Its memory goes back with the last picture that holds it.
        const void* pixels = fresh.constBits();
        fresh = QImage();
        if (large) {
            unsigned char in = 0;
            EXPECT_NE(mincore(const_cast<void*>(pixels), 4096, &in), 0) << "still mapped";
        }
    }
}

// Whether this process maps the page at `address`: its own page table, from
// /proc/self/pagemap (open), not whether the page lies in the kernel's cache
// (mincore). Empty where the kernel does not say.
std::optional<bool> PageMapped(QFile& pagemap, const void* address) {
    const auto page = static_cast<qint64>(sysconf(_SC_PAGESIZE));
    std::uint64_t entry = 0;
    if (!pagemap.seek(static_cast<qint64>(reinterpret_cast<std::uintptr_t>(address)) / page * 8) ||
        pagemap.read(reinterpret_cast<char*>(&entry), sizeof entry) != sizeof entry)
        return std::nullopt;
    return (entry >> 63) != 0;
}

TEST(PictureFilePages, NoneStaysMappedOnceHandedBack) {
    const QDir pictures(QStringLiteral(":/pictures"));
    const QStringList names = pictures.entryList(QDir::Files);
    ASSERT_GE(names.size(), 20) << "the pictures at both scales";
    const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    // Every page that lies wholly inside a picture, read the way Qt reads
    // one: without the game's own loader, which hands its picture back.
    std::vector<const char*> pages;
    for (const QString& name : names) {
        const QResource resource(pictures.filePath(name));
        ASSERT_EQ(resource.compressionAlgorithm(), QResource::NoCompression) << name.toStdString();
        EXPECT_FALSE(QImage(pictures.filePath(name)).isNull()) << name.toStdString();
        const PageSpan whole =
            WholePagesWithin(resource.data(), static_cast<std::size_t>(resource.size()));
        for (std::size_t at = 0; at < whole.Bytes; at += page)
            pages.push_back(static_cast<const char*>(whole.Start) + at);
    }
    ASSERT_GT(pages.size(), 500u) << "the backgrounds alone take more pages";
    QFile pagemap(QStringLiteral("/proc/self/pagemap"));
    if (!pagemap.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        GTEST_SKIP() << "/proc/self/pagemap is not readable here";
    std::size_t mappedBefore = 0;
    for (const char* at : pages) {
        const std::optional<bool> mapped = PageMapped(pagemap, at);
        if (!mapped)
            GTEST_SKIP() << "/proc/self/pagemap is not readable here";
        mappedBefore += *mapped;
    }
    EXPECT_EQ(mappedBefore, pages.size()) << "every page read is mapped";

    ReleasePictureFilePages();
    std::size_t mappedAfter = 0;
    for (const char* at : pages)
        mappedAfter += PageMapped(pagemap, at).value_or(true);
    EXPECT_EQ(mappedAfter, 0u);
    // Read again, a picture comes back whole from the file.
    const QImage again = LoadPicture(TileGfxPicture.AtScale(2));
    EXPECT_EQ(again, QImage(pictures.filePath(QStringLiteral("tilegfx@2x.png")))
                         .convertToFormat(QImage::Format_RGB32));
}

TEST(Blit, RasterOperationsAreBitwiseAndClipped) {
    QImage dst = Flat(QColor(0x12, 0x34, 0x56), 8, 8);
    const QImage src = Flat(QColor(0xF0, 0x0F, 0xFF), 8, 8);
    Blit(dst, {6, 6}, src, QRect(0, 0, 4, 4), RasterOp::And); // only 2 x 2 land
    EXPECT_EQ(dst.pixel(7, 7), qRgb(0x10, 0x04, 0x56));
    EXPECT_EQ(dst.pixel(5, 5), qRgb(0x12, 0x34, 0x56));
    Blit(dst, {-2, -2}, src, QRect(0, 0, 4, 4), RasterOp::Or);
    EXPECT_EQ(dst.pixel(1, 1), qRgb(0xF2, 0x3F, 0xFF));
    EXPECT_EQ(dst.pixel(2, 2), qRgb(0x12, 0x34, 0x56));
    Blit(dst, {0, 0}, src, QRect(0, 0, 8, 8), RasterOp::Copy);
    EXPECT_EQ(dst, src);
    EXPECT_EQ(qAlpha(dst.pixel(3, 3)), 255);

    // A one-byte mask acts as the grey Format_RGB32 picture it stands for,
    // clipped the same way; black, white and a grey in between.
    QImage mask(5, 3, QImage::Format_Grayscale8);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            mask.setPixel(x, y, qRgb(x * 60, x * 60, x * 60));
    const QImage maskWords = mask.convertToFormat(QImage::Format_RGB32);
    for (const RasterOp op : {RasterOp::And, RasterOp::Or, RasterOp::Copy}) {
        QImage fromBytes = Flat(QColor(0x5A, 0xC3, 0x3C), 8, 8);
        QImage fromWords = fromBytes.copy();
        Blit(fromBytes, {5, -1}, mask, QRect(1, 0, 4, 3), op);
        Blit(fromWords, {5, -1}, maskWords, QRect(1, 0, 4, 3), op);
        EXPECT_EQ(fromBytes, fromWords);
        EXPECT_NE(fromBytes.pixel(6, 0), qRgb(0x5A, 0xC3, 0x3C));
        EXPECT_EQ(fromBytes.pixel(4, 0), qRgb(0x5A, 0xC3, 0x3C));
    }
}

TEST(TileSheet, ChangeTextureComposesOnceAndOnlyOnChange) {
    TileSheet sheet = SyntheticSheet();
    EXPECT_EQ(sheet.AppliedTileStyle, NoStyleApplied);
    // The first composition runs for Wood too: nothing is composed at start.
    EXPECT_TRUE(sheet.ChangeTexture(StyleWood));
    EXPECT_FALSE(sheet.ChangeTexture(StyleWood));
    const QPoint dots9 = TileSheet::TilePictureOrigin(27);
    EXPECT_EQ(sheet.MaskedTiles.pixelColor(dots9 + QPoint(2, 2)), test::WoodBlank);
    EXPECT_EQ(sheet.MaskedTiles.pixelColor(dots9 + QPoint(17, 22)), test::SymbolColour(27));
    EXPECT_TRUE(sheet.ChangeTexture(StyleRed));
    EXPECT_EQ(sheet.MaskedTiles.pixelColor(dots9 + QPoint(2, 2)), test::RedBlank);
    EXPECT_EQ(sheet.MaskedTiles.pixelColor(dots9 + QPoint(17, 22)), test::SymbolColour(27));
}

TEST(TileSheet, PictureCellsFollowTheSheetLayout) {
    EXPECT_EQ(TileSheet::TilePictureOrigin(1), QPoint(0, 100));
    EXPECT_EQ(TileSheet::TilePictureOrigin(9), QPoint(320, 100));
    EXPECT_EQ(TileSheet::TilePictureOrigin(10), QPoint(0, 50));
    EXPECT_EQ(TileSheet::TilePictureOrigin(19), QPoint(0, 0));
    EXPECT_EQ(TileSheet::TilePictureOrigin(28), QPoint(0, 200));
    EXPECT_EQ(TileSheet::TilePictureOrigin(35), QPoint(120, 150));
    EXPECT_EQ(TileSheet::TilePictureOrigin(36), QPoint(160, 200));
    EXPECT_EQ(TileSheet::TilePictureOrigin(42), QPoint(280, 150));
    EXPECT_EQ(TileSheet::TileBlankOrigin(StyleWood), QPoint(320, 200));
    EXPECT_EQ(TileSheet::TileBlankOrigin(StyleBlue), QPoint(280, 200));
    EXPECT_EQ(TileSheet::TileBlankOrigin(StyleRed), QPoint(320, 150));
}

class Renderer : public ::testing::Test {
protected:
    void SetUp() override {
        sheet.ChangeTexture(StyleWood);
        renderer.PaintBackground(background);
    }
    void Compose(TileMarks marks = {}) { renderer.ComposeBoard(grid, background, sheet, marks); }
    QColor At(int bx, int by) const { return renderer.Buffer.pixelColor(bx, by); }

    TileSheet sheet = SyntheticSheet();
    BoardRenderer renderer;
    BoardGrid grid;
    QImage background = Flat(QColor(20, 40, 60));
};

TEST_F(Renderer, TileFaceAndBandLandWhereTheGeometrySays) {
    grid.Set(3, 3, 1, 1);
    Compose();
    // Face at board (20, 10), Buffer (56, 35) on the wide screen.
    EXPECT_EQ(At(56, 35), test::WoodBlank);
    EXPECT_EQ(At(95, 84), test::WoodBlank);
    EXPECT_EQ(At(56 + 17, 35 + 22), test::SymbolColour(TilePicture(1)));
    EXPECT_EQ(At(52, 60), test::EdgeColour);   // left band
    EXPECT_EQ(At(80, 88), test::EdgeColour);   // bottom band
    EXPECT_EQ(At(51, 36), QColor(20, 40, 60)); // cut corner at the top left
    EXPECT_EQ(At(96, 35), QColor(20, 40, 60)); // right of the face
}

TEST_F(Renderer, BottomBandShortensBeforeATileOneColumnRightTwoRowsDown) {
    grid.Set(10, 5, 1, 1);
    grid.Set(11, 7, 1, 5);
    Compose();
    const QPoint face(20 * 10 + 6 - 46 + 36, 25 * 5 - 6 - 59 + 25);
    // The lower tile's face starts 20 px right and 50 px down: the upper tile's
    // band stops at 27 px instead of covering it.
    EXPECT_EQ(At(face.x() - 6 + 20, face.y() + 52), test::EdgeColour);
    EXPECT_EQ(At(face.x() - 6 + 30, face.y() + 52), test::WoodBlank);

    BoardGrid alone;
    alone.Set(10, 5, 1, 1);
    grid = alone;
    renderer.Dirty = DirtyRect::FullRect();
    Compose();
    EXPECT_EQ(At(face.x() - 6 + 30, face.y() + 52), test::EdgeColour);
    EXPECT_EQ(At(face.x() - 6 + 42, face.y() + 52), test::EdgeColour);
}

TEST_F(Renderer, MarkedTilesUseTheOtherStylesBlanks) {
    grid.Set(5, 3, 1, 1);
    grid.Set(9, 3, 1, 5);
    grid.Set(13, 3, 1, 9);
    grid.Set(17, 3, 1, 13);
    Compose({.FirstPick = 1,
             .SecondPick = 0,
             .HintFirst = 5,
             .HintSecond = 1,
             .ColorHighlightTile = 13});
    auto face = [&](int x) { return At(20 * x + 6 - 46 + 36 + 2, 25 * 3 - 6 - 59 + 25 + 2); };
    EXPECT_EQ(face(5), test::BlueBlank); // picked and hinted: picked wins
    EXPECT_EQ(face(9), test::RedBlank);  // hinted
    EXPECT_EQ(face(13), test::WoodBlank);
    EXPECT_EQ(face(17), test::RedBlank); // hover
    // The symbol stays on a marked tile.
    EXPECT_EQ(At(20 * 5 + 6 - 46 + 36 + 17, 25 * 3 - 6 - 59 + 25 + 22), test::SymbolColour(1));

    sheet.ChangeTexture(StyleRed);
    Compose({.FirstPick = 5,
             .SecondPick = 0,
             .HintFirst = 9,
             .HintSecond = 0,
             .ColorHighlightTile = 0});
    EXPECT_EQ(face(5), test::RedBlank);   // unmarked, style in force
    EXPECT_EQ(face(9), test::WoodBlank);  // picked on Red + 1
    EXPECT_EQ(face(13), test::BlueBlank); // hinted on Red + 2
}

TEST_F(Renderer, HitMapOwnsTheTileBoxMinusTheFacesRightAndTopEdge) {
    grid.Set(3, 3, 1, 1);
    Compose();
    for (int px = 0; px < 80; ++px)
        for (int py = 0; py < 80; ++py) {
            const bool inside = px >= 12 && px <= 56 && py >= 12 && py <= 65;
            ASSERT_EQ(renderer.TileAt(px, py), inside ? 1 : 0) << px << "," << py;
        }
    EXPECT_EQ(renderer.TileAt(-1, 20), 0);
    EXPECT_EQ(renderer.TileAt(20, -1), 0);
    EXPECT_EQ(renderer.TileAt(765, 20), 0);
}

TEST_F(Renderer, HigherTileAndLeftOrLowerTileWinOverlaps) {
    grid.Set(10, 10, 1, 1);
    grid.Set(11, 10, 2, 5);  // half a tile right, one level up
    grid.Set(12, 10, 1, 9);  // right neighbour on level 1
    grid.Set(10, 12, 1, 13); // the tile below
    Compose();
    const int left = 20 * 10 + 6 - 46, top = 25 * 10 - 6 - 59;
    EXPECT_EQ(renderer.TileAt(left + 30, top + 20), 5); // covered by the upper tile
    EXPECT_EQ(renderer.TileAt(left + 2, top + 20), 1);
    // Where tile 9's band overlaps tile 1 on the same level, tile 1 was drawn
    // later (columns go right to left) and wins.
    EXPECT_EQ(renderer.TileAt(left + 33, top + 50), 1);
    EXPECT_EQ(renderer.TileAt(left + 50, top + 50), 9);
    // Tile 13, one tile down, is drawn after tile 1 and takes the band's rows.
    EXPECT_EQ(renderer.TileAt(left + 10, top + 50), 1);
    EXPECT_EQ(renderer.TileAt(left + 10, top + 53), 13);
}

TEST_F(Renderer, PartialRedrawDrawsOnlyTouchingTilesButRebuildsTheHitMap) {
    grid.Set(3, 3, 1, 1);
    grid.Set(20, 10, 1, 5);
    Compose();
    // Paint over the second tile in Buffer, then redraw only the first tile's box.
    Blit(renderer.Buffer, {300, 200}, Flat(Qt::white, 100, 100), QRect(0, 0, 100, 100),
         RasterOp::Copy);
    grid.Set(20, 10, 1, 0);
    const QRect box = renderer.TileBox({3, 3, 1});
    renderer.Dirty = {box.left(), box.top(), box.right() + 1, box.bottom() + 1};
    Compose();
    EXPECT_EQ(renderer.TileAt(20 * 20 + 6 - 46 + 5, 25 * 10 - 6 - 59 + 5), 0);
    EXPECT_EQ(renderer.TileAt(30, 30), 1);
    EXPECT_EQ(At(56, 35), test::WoodBlank);
}

TEST_F(Renderer, APartialRedrawDrawsNothingOutsideItsRectangle) {
    grid.Set(3, 3, 1, 1);
    grid.Set(5, 3, 1, 5);
    Compose();
    const QImage full = renderer.Buffer.copy();
    // Scribbled over, then a rectangle inside tile 1's face redrawn: tile 1
    // touches it but is drawn only there.
    renderer.Buffer.fill(Qt::white);
    const QRect inside(60, 40, 12, 9);
    renderer.Dirty = {inside.left(), inside.top(), inside.right() + 1, inside.bottom() + 1};
    Compose();
    EXPECT_EQ(renderer.Buffer.copy(inside), full.copy(inside));
    QImage outside = renderer.Buffer.copy();
    Blit(outside, inside.topLeft(), Flat(Qt::white), QRect(QPoint(), inside.size()),
         RasterOp::Copy);
    EXPECT_EQ(outside, Flat(Qt::white));
}

TEST_F(Renderer, OntoATargetTheBoardLandsAtTheOffsetAndNoBufferIsKept) {
    grid.Set(3, 3, 1, 1);
    grid.Set(5, 3, 1, 5);
    Compose({.FirstPick = 5,
             .SecondPick = 0,
             .HintFirst = 0,
             .HintSecond = 0,
             .ColorHighlightTile = 0});
    const QColor toolbar(200, 0, 200);
    QImage target = Flat(toolbar, 800, 509);
    BoardRenderer onto;
    onto.DrawOnto(&target, {0, 41});
    EXPECT_TRUE(onto.Buffer.isNull());
    onto.PaintBackground(background);
    onto.ComposeBoard(grid, background, sheet,
                      {.FirstPick = 5,
                       .SecondPick = 0,
                       .HintFirst = 0,
                       .HintSecond = 0,
                       .ColorHighlightTile = 0});
    EXPECT_EQ(target.copy(0, 41, 800, 468), renderer.Buffer);
    EXPECT_EQ(target.copy(0, 0, 800, 41), Flat(toolbar, 800, 41));
    EXPECT_EQ(onto.Picture(), renderer.Buffer);
    EXPECT_EQ(onto.HitMap, renderer.HitMap);
    // A partial redraw lands at the offset too, inside its rectangle.
    grid.Set(5, 3, 1, 0);
    const QRect box = renderer.TileBox({5, 3, 1});
    for (BoardRenderer* r : {&renderer, &onto}) {
        r->Dirty = {box.left(), box.top(), box.right() + 1, box.bottom() + 1};
        r->ComposeBoard(grid, background, sheet, {});
    }
    EXPECT_EQ(target.copy(box.translated(0, 41)), renderer.Buffer.copy(box));
    EXPECT_EQ(target.copy(0, 0, 800, 41), Flat(toolbar, 800, 41));
}

TEST_F(Renderer, NarrowScreenPutsTheBoardOriginAtZero) {
    renderer.WideScreen = 0;
    grid.Set(3, 3, 1, 1);
    Compose();
    EXPECT_EQ(At(20, 10), test::WoodBlank);
    EXPECT_EQ(renderer.TileAt(20, 20), 1);
    EXPECT_EQ(renderer.TileBox({3, 3, 1}), QRect(14, 10, 46, 56));
}

} // namespace
} // namespace mirelo
