#include "SessionBus.h"

#include <QList>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace mirelo {

namespace {

// A socket whose descriptor is closed when it goes.
class Socket {
public:
    Socket() : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0)) {}
    ~Socket() {
        if (fd_ >= 0)
            close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    int Fd() const { return fd_; }

private:
    int fd_;
};

// Waits for `events` on `fd` until `deadline`; false on a time-out.
bool WaitFor(int fd, short events, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{fd, events, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// What one Unix socket entry ("unix:path=..." or "unix:abstract=...") gives.
BusAnswer CheckUnixSocket(const QByteArray& keys, std::chrono::steady_clock::time_point deadline) {
    sockaddr_un where{};
    where.sun_family = AF_UNIX;
    socklen_t length = 0;
    for (const QByteArray& pair : keys.split(',')) {
        const qsizetype equals = pair.indexOf('=');
        const QByteArray key = pair.left(equals),
                         value = QByteArray::fromPercentEncoding(pair.mid(equals + 1));
        const bool abstract = key == "abstract";
        if ((key != "path" && !abstract) || value.isEmpty())
            continue;
        // An abstract name begins with a zero byte in place of a path.
        const qsizetype room = static_cast<qsizetype>(sizeof where.sun_path) - 1;
        if (value.size() > room)
            return BusAnswer::Refused;
        std::memcpy(where.sun_path + (abstract ? 1 : 0), value.constData(),
                    static_cast<std::size_t>(value.size()));
        length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + (abstract ? 1 : 0) +
                                        value.size() + (abstract ? 0 : 1));
        break;
    }
    if (length == 0)
        return BusAnswer::NotChecked;
    const Socket s;
    if (s.Fd() < 0)
        return BusAnswer::NotChecked;
    if (connect(s.Fd(), reinterpret_cast<const sockaddr*>(&where), length) != 0) {
        // A full queue of connections that are never taken: the library's own
        // connect would wait on it for ever.
        if (errno == EAGAIN)
            return BusAnswer::Silent;
        if (errno != EINPROGRESS)
            return BusAnswer::Refused;
        if (!WaitFor(s.Fd(), POLLOUT, deadline))
            return BusAnswer::Silent;
    }
    // A zero byte, then the request to be let in as the user this process runs as.
    const QByteArray request =
        QByteArray(1, '\0') + "AUTH EXTERNAL " + QByteArray::number(getuid()).toHex() + "\r\n";
    if (send(s.Fd(), request.constData(), static_cast<std::size_t>(request.size()), MSG_NOSIGNAL) !=
        request.size())
        return BusAnswer::Refused;
    // Any line back, or the bus closing on us, is an answer. Nothing more is
    // sent: the bus drops a client that goes before it has been let in.
    if (!WaitFor(s.Fd(), POLLIN, deadline))
        return BusAnswer::Silent;
    return BusAnswer::Answers;
}

} // namespace

QByteArray SessionBusAddress() {
    if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
        return qgetenv("DBUS_SESSION_BUS_ADDRESS");
    // The library takes this socket only when it is a socket and the user's own.
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (runtime.isEmpty())
        return {};
    const QByteArray path = runtime + "/bus";
    struct stat info {};
    if (stat(path.constData(), &info) != 0 || !S_ISSOCK(info.st_mode) || info.st_uid != getuid())
        return {};
    return "unix:path=" + path.toPercentEncoding("/");
}

BusAnswer CheckSessionBus(const QByteArray& address, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    // The library tries the entries in turn and keeps the first that connects;
    // an entry of another kind ends what can be told from here.
    for (const QByteArray& entry : address.split(';')) {
        if (entry.isEmpty())
            continue;
        if (!entry.startsWith("unix:"))
            return BusAnswer::NotChecked;
        const BusAnswer answer = CheckUnixSocket(entry.mid(5), deadline);
        if (answer != BusAnswer::Refused)
            return answer;
    }
    return address.isEmpty() ? BusAnswer::NotChecked : BusAnswer::Refused;
}

} // namespace mirelo
