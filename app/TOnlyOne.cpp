#include "TOnlyOne.h"

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QSysInfo>
#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

namespace mirelo {

namespace {
// A request longer than this is not ours: read no more of it.
constexpr qsizetype MaxRequest = 16;

// The socket's address; false when the path does not fit in one.
bool SocketAddress(const QString& path, sockaddr_un* address) {
    const QByteArray name = QFile::encodeName(path);
    *address = {};
    address->sun_family = AF_UNIX;
    if (name.size() >= static_cast<qsizetype>(sizeof(address->sun_path)))
        return false;
    std::memcpy(address->sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    return true;
}
} // namespace

// One connection to the running copy's socket, read until its request is whole.
class TOnlyOne::Caller {
public:
    explicit Caller(int fd) : fd_(fd), notifier_(fd, QSocketNotifier::Read) {}
    ~Caller() {
        notifier_.setEnabled(false);
        ::close(fd_);
    }
    Caller(const Caller&) = delete;
    Caller& operator=(const Caller&) = delete;
    QSocketNotifier& Notifier() { return notifier_; }
    // Reads what has come; true once the request is whole, or the caller has
    // gone or sent more than any request of ours.
    bool Read() {
        char chunk[MaxRequest];
        const ssize_t got = ::recv(fd_, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got < 0)
            return errno != EAGAIN && errno != EINTR;
        request_.append(chunk, got);
        return got == 0 || request_.endsWith('\n') || request_.size() >= MaxRequest;
    }
    const QByteArray& Request() const { return request_; }

private:
    int fd_;
    QSocketNotifier notifier_;
    QByteArray request_;
};

bool FileOwnedByUser(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && info.st_uid == ::getuid();
}

TOnlyOne::TOnlyOne(QString applicationTitle, QString folder, QObject* parent)
    : QObject(parent), OwnedByUser(FileOwnedByUser), title_(std::move(applicationTitle)),
      folder_(std::move(folder)) {}

TOnlyOne::~TOnlyOne() {
    callers_.clear();
    if (server_ >= 0) {
        listening_.reset();
        ::close(server_);
        ::unlink(QFile::encodeName(SocketPath()).constData());
    }
    // The lock file is removed by QLockFile's destructor, only by the copy that holds it.
}

QString TOnlyOne::SocketPath() const {
    return MarkerBase() + QStringLiteral(".socket");
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

// A plain local stream socket that only this user may reach; a second copy
// (of this program or of an older one) connects and writes its request.
void TOnlyOne::Listen() {
    const QByteArray path = QFile::encodeName(SocketPath());
    sockaddr_un address{};
    if (!SocketAddress(SocketPath(), &address))
        return;
    ::unlink(path.constData()); // a killed copy's socket
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return;
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::chmod(path.constData(), S_IRUSR | S_IWUSR) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return;
    }
    server_ = fd;
    listening_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(listening_.get(), &QSocketNotifier::activated, this, [this] {
        int fd = -1;
        while ((fd = ::accept4(server_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK)) >= 0) {
            auto caller = std::make_unique<Caller>(fd);
            Caller* const c = caller.get();
            callers_.push_back(std::move(caller));
            connect(&c->Notifier(), &QSocketNotifier::activated, this, [this, c] {
                if (c->Read())
                    Answer(c);
            });
        }
    });
}

void TOnlyOne::Answer(Caller* caller) {
    const bool raise = caller->Request() == RaiseRequest;
    // Closed before the window comes forward, and not from inside its own
    // notifier's signal.
    caller->Notifier().setEnabled(false);
    QMetaObject::invokeMethod(
        this,
        [this, caller] {
            std::erase_if(callers_, [caller](const auto& c) { return c.get() == caller; });
        },
        Qt::QueuedConnection);
    if (raise && OnRaiseRequest)
        OnRaiseRequest();
}

bool TOnlyOne::AskRunningCopyToRaise() const {
    const QString name = SocketPath();
    // Another user's socket under this name answers for no copy of ours.
    if (!OwnedByUser(name))
        return false;
    sockaddr_un address{};
    if (!SocketAddress(name, &address))
        return false;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    // A copy too busy to take the call within a second is not waited for.
    const timeval second{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &second, sizeof second);
    const bool connected =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    if (connected)
        (void)::send(fd, RaiseRequest, std::strlen(RaiseRequest), MSG_NOSIGNAL);
    ::close(fd);
    return connected;
}

} // namespace mirelo
