// The settings file on disk: what is read, and how it is replaced.
#include "ProfileFile.h"

#include <QFile>
#include <QSaveFile>
#include <QScopeGuard>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelo {

namespace {

// For messages only: bytes that are not UTF-8 show as replacement characters.
QString ShownPath(const QByteArray& path) {
    return QFile::decodeName(path);
}

// Creates `folder` and its parents from the file system's own bytes, as
// QDir::mkpath would for a name Qt can spell.
bool MakeFolders(const QByteArray& folder) {
    struct stat info {};
    if (::stat(folder.constData(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    for (qsizetype i = 1; i <= folder.size(); ++i) {
        if (i == folder.size() || folder[i] == '/') {
            const QByteArray part = folder.left(i);
            if (::mkdir(part.constData(), 0777) != 0 && errno != EEXIST) {
                return false;
            }
        }
    }
    return ::stat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

bool ProfileFile::Load(const QString& path, QString* error) {
    return Load(QFile::encodeName(path), error);
}

bool ProfileFile::Load(const QByteArray& path, QString* error) {
    Parse({});
    const auto fail = [&](const QString& reason) {
        if (error) {
            *error = QStringLiteral("Unable to read %1: %2").arg(ShownPath(path), reason);
        }
        return false;
    };
    const QString notRegular = QStringLiteral("not a regular file");
    const QString tooLarge =
        QStringLiteral("larger than %1 KiB, too large for a settings file").arg(MaxFileSize / 1024);

    // The kind of file is known before it is opened: opening a FIFO to read
    // waits for a writer, and a device such as /dev/zero never ends.
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) {
        // No file, or a file where a folder of the path should be: nothing to read.
        if (errno == ENOENT || errno == ENOTDIR) {
            return true;
        }
        return fail(qt_error_string(errno));
    }
    if (!S_ISREG(info.st_mode)) {
        return fail(notRegular);
    }
    if (info.st_size > MaxFileSize) {
        return fail(tooLarge);
    }
    // Without blocking, and checked again once open, in case the file was
    // replaced in between.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return fail(qt_error_string(errno));
    }
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        return fail(notRegular);
    }
    QByteArray data;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return fail(qt_error_string(errno));
        }
        if (got == 0) {
            break;
        }
        data.append(chunk, got);
        // A file that grows while it is read stops here too.
        if (data.size() > MaxFileSize) {
            return fail(tooLarge);
        }
    }
    if (!Parse(data)) {
        return fail(QStringLiteral("not valid UTF-16 text"));
    }
    return true;
}

bool ProfileFile::Save(const QString& path, QString* error) const {
    return Save(QFile::encodeName(path), error);
}

bool ProfileFile::Save(const QByteArray& path, QString* error) const {
    const auto fail = [&] {
        if (error) {
            *error = QStringLiteral("Unable to write to %1").arg(ShownPath(path));
        }
        return false;
    };
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash > 0 ? path.left(slash) : QByteArray(slash == 0 ? "/" : ".");
    if (!MakeFolders(folder)) {
        return fail();
    }
    QString target = QFile::decodeName(path);
    int folderFd = -1;
    const auto closeFolder = qScopeGuard([&folderFd] {
        if (folderFd >= 0) {
            ::close(folderFd);
        }
    });
    if (QFile::encodeName(target) != path) {
        // Qt spells a path in UTF-8 only. A folder named in other bytes (from
        // XDG_CONFIG_HOME) is reached through an open handle of it instead of
        // through a look-alike name.
        const QByteArray name = path.mid(slash + 1);
        folderFd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folderFd < 0 || QFile::encodeName(QFile::decodeName(name)) != name) {
            return fail();
        }
        target = QStringLiteral("/proc/self/fd/%1/").arg(folderFd) + QFile::decodeName(name);
    }
    // The temporary file replaces the old one only once complete. Unbuffered,
    // because a short write into the buffer (a full disk) can go unnoticed by
    // commit; written straight through, the returned count shows it.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return fail();
    }
    const QByteArray data = Serialize();
    if (file.write(data) != data.size()) {
        file.cancelWriting();
        return fail();
    }
    if (!file.commit()) {
        return fail();
    }
    return true;
}

} // namespace mirelo
