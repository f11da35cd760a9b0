// Pictures decoded ahead on a worker thread are the very pictures a plain load gives.
#include "TileSheet.h"
#include "WindowFixture.h"

#include <atomic>
#include <stdexcept>

namespace mirelo::test {
namespace {

QImage PlainLoad(const PictureName& picture) {
    return LoadPicture(picture);
}

TEST(PicturePreload, HandsOverTheSamePixelsAsAPlainLoad) {
    const PictureName kanji = TMirelo::BackgroundPicture(0);
    const PictureName dragons = TMirelo::BackgroundPicture(1);
    const QImage expectedSheet = PlainLoad(TileGfxPicture);
    const QImage expectedMask = PlainLoad(MaskPicture);
    const QImage expectedDragons = PlainLoad(dragons);
    std::atomic<int> chosen = 0;
    {
        const PicturePreload preload([&] {
            ++chosen;
            return std::vector<PictureName>{TileGfxPicture, MaskPicture, dragons};
        });
        // Asked for out of order, and through the name-and-size form.
        const QImage dragonsImage = LoadPicture("dragons.png", dragons.Width, dragons.Height);
        const TileSheet sheet;
        EXPECT_EQ(dragonsImage.format(), QImage::Format_RGB32);
        EXPECT_EQ(dragonsImage, expectedDragons);
        EXPECT_EQ(sheet.TileGfx, expectedSheet);
        EXPECT_EQ(sheet.Mask, expectedMask);
        // Not preloaded, or asked for a second time: decoded where asked.
        EXPECT_EQ(LoadPicture(kanji), PlainLoad(kanji));
        EXPECT_EQ(LoadPicture(dragons), expectedDragons);
    }
    EXPECT_EQ(chosen, 1);
    // With the preload gone, loads are plain again.
    EXPECT_EQ(LoadPicture(MaskPicture), expectedMask);
}

TEST(PicturePreload, AMissingOrMisfitPictureGetsTheSameStandInAsAPlainLoad) {
    const PictureName missing{"no-such-picture.png", 31, 17};
    const PictureName misfit{"mask.png", 100, 100};
    const QImage expectedMissing = PlainLoad(missing);
    const QImage expectedMisfit = PlainLoad(misfit);
    ASSERT_EQ(expectedMissing.size(), QSize(31, 17));
    EXPECT_EQ(expectedMissing.pixel(30, 16), qRgb(96, 96, 96));

    const PicturePreload preload([&] {
        return std::vector<PictureName>{missing, misfit, MaskPicture};
    });
    EXPECT_EQ(LoadPicture(missing), expectedMissing);
    EXPECT_EQ(LoadPicture(misfit), expectedMisfit);
    // Same file, other size: not the preloaded picture.
    const QImage mask = LoadPicture(MaskPicture);
    EXPECT_EQ(mask.size(), QSize(MaskPicture.Width, MaskPicture.Height));
    EXPECT_NE(mask, expectedMisfit);
}

TEST(PicturePreload, AChoiceThatFailsLeavesEveryPictureToAPlainLoad) {
    const QImage expected = PlainLoad(TileGfxPicture);
    const PicturePreload preload(
        []() -> std::vector<PictureName> { throw std::runtime_error("no settings"); });
    EXPECT_EQ(LoadPicture(TileGfxPicture), expected);
}

TEST(PicturePreload, EndsCleanlyWhenNothingWasTaken) {
    std::atomic<bool> ran = false;
    {
        const PicturePreload preload([&] {
            ran = true;
            return std::vector<PictureName>{TileGfxPicture, TMirelo::BackgroundPicture(0)};
        });
    }
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace mirelo::test
