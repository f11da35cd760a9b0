#include "TileSheet.h"

#include "Blit.h"
#include "FreshPixels.h"
#include "Geometry.h"

#include <QDir>
#include <QGuiApplication>
#include <QImageReader>
#include <QResource>
#include <QString>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <sys/mman.h>
#include <thread>

namespace mirelo {

using namespace geometry;

namespace {

// The resource's path: "name.png", or "name@2x.png" at scale 2. Named here
// and opened as a plain file, so the scale-1 picture is always the scale-1 file.
QString PicturePath(const PictureName& picture) {
    QString name = QLatin1String(picture.Name);
    if (picture.Scale != 1) {
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        name.insert(dot < 0 ? name.size() : dot, QStringLiteral("@%1x").arg(picture.Scale));
    }
    return QStringLiteral(":/pictures/") + name;
}

// A reader of one of the program's pictures, every one a PNG. Told so, Qt
// reads it with its own PNG reader; left to guess, it would first load every
// image plugin installed on the system, to ask whether one of them reads it.
void ReadsPng(QImageReader& reader) {
    reader.setFormat("png");
    reader.setAutoDetectImageFormat(false);
}

// The compressed picture lies in the program file, and reading it brought its
// pages into memory: a megabyte and more for a background at scale 2. They are
// not read again, so they are handed back (the file keeps them: read again,
// they come back from it).
void ReleaseFilePages(const QString& path) {
    const QResource resource(path);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        return;
    // Whole pages inside the picture only: its neighbours may still be wanted.
    const PageSpan pages =
        WholePagesWithin(resource.data(), static_cast<std::size_t>(resource.size()));
    if (pages.Bytes > 0)
        madvise(pages.Start, pages.Bytes, MADV_DONTNEED);
}

QImage DecodePicture(const PictureName& picture) {
    const QSize size(picture.Width * picture.Scale, picture.Height * picture.Scale);
    // Decoded into pixels mapped in ahead: Qt reads into a picture of the
    // size and format it decodes to in place.
    QImageReader reader(PicturePath(picture));
    ReadsPng(reader);
    QImage image = FreshImage(size, reader.imageFormat());
    if (!reader.read(&image) || image.size() != size) {
        image = QImage(size, picture.Format);
        image.fill(QColor(96, 96, 96));
    } else {
        // In place where Qt can, and the decoded copy gone before the next picture.
        image.convertTo(picture.Format);
    }
    image.setDevicePixelRatio(picture.Scale);
    ReleaseFilePages(PicturePath(picture));
    return image;
}

bool SamePicture(const PictureName& a, const PictureName& b) {
    return std::strcmp(a.Name, b.Name) == 0 && a.Width == b.Width && a.Height == b.Height &&
           a.Scale == b.Scale && a.Format == b.Format;
}

} // namespace

void ReleasePictureFilePages() {
    const QDir pictures(QStringLiteral(":/pictures"));
    for (const QString& name : pictures.entryList(QDir::Files))
        ReleaseFilePages(pictures.filePath(name));
}

struct PicturePreload::Shared {
    std::mutex Mutex;
    std::condition_variable Changed;
    bool Chosen = false;
    std::vector<PictureName> Names;
    std::vector<QImage> Images; // Images[i] is Names[i], once Done[i]
    std::vector<bool> Begun;    // by the worker or by the thread that asked first
    std::vector<bool> Done;
    std::vector<bool> Taken;
    std::thread Worker;
};

namespace {
std::mutex activeMutex;
std::shared_ptr<PicturePreload::Shared> activePreload;
} // namespace

PicturePreload::PicturePreload(std::function<std::vector<PictureName>()> choose)
    : shared_(std::make_shared<Shared>()) {
    {
        const std::lock_guard lock(activeMutex);
        activePreload = shared_;
    }
    shared_->Worker = std::thread([s = shared_.get(), choose = std::move(choose)] {
        std::vector<PictureName> names;
        try {
            names = choose();
        } catch (...) {
            // Nothing preloaded: every picture is then decoded where it is asked for.
        }
        {
            const std::lock_guard lock(s->Mutex);
            s->Names = names;
            s->Images.resize(names.size());
            s->Begun.assign(names.size(), false);
            s->Done.assign(names.size(), false);
            s->Taken.assign(names.size(), false);
            s->Chosen = true;
        }
        s->Changed.notify_all();
        for (std::size_t i = 0; i < names.size(); ++i) {
            {
                const std::lock_guard lock(s->Mutex);
                if (s->Begun[i])
                    continue; // the window decodes it itself
                s->Begun[i] = true;
            }
            QImage image = DecodePicture(names[i]);
            {
                const std::lock_guard lock(s->Mutex);
                s->Images[i] = std::move(image);
                s->Done[i] = true;
            }
            s->Changed.notify_all();
        }
    });
}

PicturePreload::~PicturePreload() {
    shared_->Worker.join();
    const std::lock_guard lock(activeMutex);
    if (activePreload == shared_)
        activePreload.reset();
}

QImage LoadPicture(const PictureName& picture) {
    std::shared_ptr<PicturePreload::Shared> s;
    {
        const std::lock_guard lock(activeMutex);
        s = activePreload;
    }
    if (s) {
        std::unique_lock lock(s->Mutex);
        s->Changed.wait(lock, [&] { return s->Chosen; });
        for (std::size_t i = 0; i < s->Names.size(); ++i) {
            if (s->Taken[i] || !SamePicture(s->Names[i], picture))
                continue;
            s->Taken[i] = true;
            if (!s->Begun[i]) {
                // Not begun yet: decoded here rather than waited for, while
                // the worker goes on with the others.
                s->Begun[i] = true;
                lock.unlock();
                return DecodePicture(picture);
            }
            s->Changed.wait(lock, [&] { return s->Done[i]; });
            return std::move(s->Images[i]);
        }
    }
    return DecodePicture(picture);
}

QImage LoadPicture(const char* name, int width, int height, int scale) {
    return LoadPicture(PictureName{name, width, height, scale});
}

QPixmap LoadPixmap(const char* name, int scale) {
    QImageReader reader(PicturePath(PictureName{name, 0, 0, scale}));
    ReadsPng(reader);
    QImage image;
    if (!reader.read(&image))
        return {};
    image.setDevicePixelRatio(scale);
    return QPixmap::fromImage(std::move(image));
}

void AddIconPicture(QIcon& icon, const char* name, QIcon::Mode mode) {
    icon.addPixmap(LoadPixmap(name, 1), mode);
    // As QIcon::addFile does: the finer drawing beside it where a screen is dense.
    if (qApp->devicePixelRatio() > 1.0)
        icon.addPixmap(LoadPixmap(name, 2), mode);
}

TileSheet::TileSheet(int scale)
    : TileSheet(LoadPicture(TileGfxPicture.AtScale(scale)), LoadPicture(MaskPicture.AtScale(scale)),
                scale) {}

TileSheet::TileSheet(QImage tileGfx, QImage mask, int scale)
    : Scale(scale), TileGfx(tileGfx.convertToFormat(QImage::Format_RGB32)),
      Mask(mask.convertToFormat(MaskPicture.Format)),
      MaskedTiles(tileGfx.isNull()
                      ? QImage()
                      : FreshImage(QSize(MaskPicture.Width, MaskPicture.Height) * scale,
                                   QImage::Format_RGB32)) {
    // An empty sheet, the window's until its own is loaded, costs no pixels.
    if (MaskedTiles.isNull())
        return;
    MaskedTiles.fill(Qt::black);
    MaskedTiles.setDevicePixelRatio(scale);
}

QPoint TileSheet::TilePictureOrigin(int picture) {
    // Dots, Bamboos and Cracks fill rows 0, 1 and 2; the honours share rows 3 and 4.
    if (picture >= 1 && picture <= 9)
        return {TileWidth * (picture - 1), 100};
    if (picture >= 10 && picture <= 18)
        return {TileWidth * (picture - 10), 50};
    if (picture >= 19 && picture <= 27)
        return {TileWidth * (picture - 19), 0};
    if (picture >= 28 && picture <= 31)
        return {TileWidth * (picture - 28), 200};
    if (picture >= 32 && picture <= 35)
        return {TileWidth * (picture - 32), 150};
    if (picture >= 36 && picture <= 38)
        return {160 + TileWidth * (picture - 36), 200};
    if (picture >= 39 && picture <= 42)
        return {160 + TileWidth * (picture - 39), 150};
    return {0, 0};
}

QPoint TileSheet::TileBlankOrigin(int style) {
    switch (style) {
    case StyleBlue:
        return {280, 200};
    case StyleRed:
        return {320, 150};
    default:
        return {320, 200};
    }
}

bool TileSheet::ChangeTexture(int tileStyle) {
    if (AppliedTileStyle == tileStyle)
        return false;
    AppliedTileStyle = tileStyle;
    const QRect blank(TileBlankOrigin(tileStyle), QSize(TileWidth, TileHeight));
    for (int picture = 1; picture <= 42; ++picture) {
        const QRect cell(TilePictureOrigin(picture), QSize(TileWidth, TileHeight));
        Blit(MaskedTiles, cell.topLeft(), TileGfx, blank, RasterOp::Copy, Scale);
        Blit(MaskedTiles, cell.topLeft(), Mask, cell, RasterOp::And, Scale);
        Blit(MaskedTiles, cell.topLeft(), TileGfx, cell, RasterOp::Or, Scale);
    }
    return true;
}

} // namespace mirelo
