#include "ReferencePicture.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QRect>
#include <cstdio>

namespace mirelo::test {

namespace {

QString ReferencePath(const char* name) {
    return QStringLiteral(MIRELO_REFERENCE_DIR "/") + QLatin1String(name) + QStringLiteral(".png");
}

QString OutputPath(const char* name, const char* kind) {
    return QStringLiteral(MIRELO_REFERENCE_OUTPUT_DIR "/") + QLatin1String(name) +
           QLatin1Char('.') + QLatin1String(kind) + QStringLiteral(".png");
}

// What a failure leaves behind; false when it could not be written.
bool Keep(const QImage& image, const QString& path) {
    return QDir().mkpath(QStringLiteral(MIRELO_REFERENCE_OUTPUT_DIR)) && image.save(path, "PNG");
}

std::string Size(const QImage& image) {
    return std::to_string(image.width()) + " x " + std::to_string(image.height());
}

} // namespace

::testing::AssertionResult MatchesReference(const QImage& picture, const char* name) {
    const QImage actual = picture.convertToFormat(QImage::Format_RGB32);
    const QString referencePath = ReferencePath(name);
    if (qEnvironmentVariableIntValue("MIRELO_UPDATE_REFERENCE") == 1) {
        if (!QDir().mkpath(QStringLiteral(MIRELO_REFERENCE_DIR)) ||
            !actual.save(referencePath, "PNG"))
            return ::testing::AssertionFailure() << "cannot write " << referencePath.toStdString();
        std::printf("wrote %s\n", qPrintable(referencePath));
        return ::testing::AssertionSuccess();
    }

    const QString actualPath = OutputPath(name, "actual");
    const QString diffPath = OutputPath(name, "diff");
    // What an earlier failure left must not be taken for this run's.
    QFile::remove(actualPath);
    QFile::remove(diffPath);
    const QImage reference = QImage(referencePath).convertToFormat(QImage::Format_RGB32);
    if (reference.isNull()) {
        Keep(actual, actualPath);
        return ::testing::AssertionFailure()
               << "no reference picture " << referencePath.toStdString() << "; this run's is "
               << actualPath.toStdString() << " (MIRELO_UPDATE_REFERENCE=1 makes it the reference)";
    }
    if (reference.size() != actual.size()) {
        Keep(actual, actualPath);
        return ::testing::AssertionFailure()
               << name << " is " << Size(actual) << " pixels, its reference " << Size(reference)
               << "; this run's picture is " << actualPath.toStdString();
    }

    QImage diff(actual.size(), QImage::Format_RGB32);
    QRect changed;
    long long count = 0;
    for (int y = 0; y < actual.height(); ++y) {
        const auto* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
        const auto* r = reinterpret_cast<const QRgb*>(reference.constScanLine(y));
        auto* d = reinterpret_cast<QRgb*>(diff.scanLine(y));
        for (int x = 0; x < actual.width(); ++x) {
            if (a[x] == r[x]) {
                const int grey = 192 + qGray(r[x]) / 4;
                d[x] = qRgb(grey, grey, grey);
                continue;
            }
            d[x] = qRgb(255, 0, 0);
            changed |= QRect(x, y, 1, 1);
            ++count;
        }
    }
    if (count == 0)
        return ::testing::AssertionSuccess();
    const bool kept = Keep(actual, actualPath) && Keep(diff, diffPath);
    auto failure = ::testing::AssertionFailure();
    failure << name << ": " << count << " pixels differ from " << referencePath.toStdString()
            << ", within " << changed.width() << " x " << changed.height() << " at (" << changed.x()
            << ", " << changed.y() << ")";
    if (kept)
        failure << "; this run's picture is " << actualPath.toStdString() << ", the diff "
                << diffPath.toStdString();
    else
        failure << "; the pictures could not be written to " MIRELO_REFERENCE_OUTPUT_DIR;
    return failure;
}

} // namespace mirelo::test
