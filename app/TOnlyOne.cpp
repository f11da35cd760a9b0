#include "TOnlyOne.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelo {

namespace {
// A request longer than this is not ours: read no more of it.
constexpr qint64 MaxRequest = 16;
} // namespace

bool FileOwnedByUser(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && info.st_uid == ::getuid();
}

TOnlyOne::TOnlyOne(QString applicationTitle, QString folder, QObject* parent)
    : QObject(parent), OwnedByUser(FileOwnedByUser), title_(std::move(applicationTitle)),
      folder_(std::move(folder)) {}

TOnlyOne::~TOnlyOne() {
    if (server_)
        server_->close();
    // The lock file is removed by QLockFile's destructor, only by the copy that holds it.
}

QString TOnlyOne::MarkerName() const {
    return QStringLiteral("OnlyOne") + title_.left(20);
}

QString TOnlyOne::MarkerBase() const {
    const QString folder = folder_.isEmpty() ? RuntimeFolder() : folder_;
    return folder + QLatin1Char('/') + MarkerName() + QLatin1Char('-') +
           QString::number(::getuid());
}

QString TOnlyOne::RuntimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

bool TOnlyOne::OnLoad() {
    if (!EnforceOnlyOne)
        return false;
    lock_ = std::make_unique<QLockFile>(MarkerBase() + QStringLiteral(".lock"));
    // A marker is stale when the process it names is gone.
    lock_->setStaleLockTime(0);
    switch (TakeMarker()) {
    case Marker::Taken:
        Listen();
        return false;
    case Marker::HeldByAnotherCopy:
        lock_.reset();
        return true;
    case Marker::Unusable:
        break;
    }
    // No marker can be held here (an unusable folder, or another user's file
    // under this name): run, but without the guard rather than refuse to start.
    lock_.reset();
    return false;
}

TOnlyOne::Marker TOnlyOne::TakeMarker() {
    const QString path = MarkerBase() + QStringLiteral(".lock");
    // A second round follows the removal of a stale marker: another copy
    // starting at the same moment may have taken it first.
    for (int round = 0; round < 2; ++round) {
        if (lock_->tryLock(0))
            return Marker::Taken;
        if (lock_->error() != QLockFile::LockFailedError || !OwnedByUser(path))
            return Marker::Unusable;
        if (OwnerIsNamed()) {
            AskRunningCopyToRaise();
            return Marker::HeldByAnotherCopy;
        }
        // A marker whose owner cannot be read or named (left empty by a power
        // cut between its creation and its first write, or garbage) is stale
        // unless a running copy answers on the socket.
        if (AskRunningCopyToRaise())
            return Marker::HeldByAnotherCopy;
        if (!lock_->removeStaleLockFile()) {
            // Held open by a copy writing its name at this very moment, or a
            // file this user cannot remove.
            if (!OwnerIsNamed())
                return Marker::Unusable;
            AskRunningCopyToRaise();
            return Marker::HeldByAnotherCopy;
        }
    }
    AskRunningCopyToRaise();
    return Marker::HeldByAnotherCopy;
}

bool TOnlyOne::OwnerIsNamed() const {
    qint64 pid = 0;
    QString host, application;
    // Read, and on this machine: QLockFile has then found its process alive.
    return lock_->getLockInfo(&pid, &host, &application) &&
           (host.isEmpty() || host == QSysInfo::machineHostName());
}

void TOnlyOne::Listen() {
    const QString name = MarkerBase() + QStringLiteral(".socket");
    QLocalServer::removeServer(name);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name))
        return;
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                const QByteArray request = socket->read(MaxRequest);
                socket->disconnectFromServer();
                if (request == RaiseRequest && OnRaiseRequest)
                    OnRaiseRequest();
            });
        }
    });
}

bool TOnlyOne::AskRunningCopyToRaise() const {
    const QString name = MarkerBase() + QStringLiteral(".socket");
    // Another user's socket under this name answers for no copy of ours.
    if (!OwnedByUser(name))
        return false;
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(1000))
        return false;
    socket.write(RaiseRequest);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
    return true;
}

} // namespace mirelo
