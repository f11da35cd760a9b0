#include "TOnlyOne.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>

namespace mirelo {

namespace {
// A request longer than this is not ours: read no more of it.
constexpr qint64 MaxRequest = 16;
} // namespace

TOnlyOne::TOnlyOne(QString applicationTitle, QObject* parent)
    : QObject(parent), title_(std::move(applicationTitle)) {}

TOnlyOne::~TOnlyOne() {
    if (server_)
        server_->close();
    // The lock file is removed by QLockFile's destructor, only by the copy that holds it.
}

QString TOnlyOne::MarkerName() const { return QStringLiteral("OnlyOne") + title_.left(20); }

QString TOnlyOne::RuntimeFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

bool TOnlyOne::OnLoad() {
    if (!EnforceOnlyOne)
        return false;
    const QString base = RuntimeFolder() + QLatin1Char('/') + MarkerName();
    lock_ = std::make_unique<QLockFile>(base + QStringLiteral(".lock"));
    // A marker is stale only when the process that wrote it is gone.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        Listen();
        return false;
    }
    if (lock_->error() != QLockFile::LockFailedError) {
        // No marker can be written here (an unusable runtime folder): run, but
        // without the guard rather than refuse to start.
        lock_.reset();
        return false;
    }
    lock_.reset();
    AskRunningCopyToRaise();
    return true;
}

void TOnlyOne::Listen() {
    const QString name = RuntimeFolder() + QLatin1Char('/') + MarkerName() + QStringLiteral(".socket");
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

void TOnlyOne::AskRunningCopyToRaise() const {
    QLocalSocket socket;
    socket.connectToServer(RuntimeFolder() + QLatin1Char('/') + MarkerName() + QStringLiteral(".socket"));
    if (!socket.waitForConnected(1000))
        return;
    socket.write(RaiseRequest);
    socket.waitForBytesWritten(1000);
    socket.disconnectFromServer();
}

} // namespace mirelo
