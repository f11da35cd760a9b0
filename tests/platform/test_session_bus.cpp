// Telling a session bus that never answers from one that does, before Qt asks it.
#include "SessionBus.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace mirelo {
namespace {

// A listening Unix socket at `path`, or under the abstract name `path` when
// `abstract`; closed when it goes.
class Listener {
public:
    Listener(const QByteArray& path, int backlog, bool abstract = false)
        : fd_(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un where{};
        where.sun_family = AF_UNIX;
        const int offset = abstract ? 1 : 0;
        std::copy(path.begin(), path.end(), where.sun_path + offset);
        const auto length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset +
                                                   path.size() + (abstract ? 0 : 1));
        ok_ = fd_ >= 0 && bind(fd_, reinterpret_cast<const sockaddr*>(&where), length) == 0 &&
              listen(fd_, backlog) == 0;
    }
    ~Listener() {
        if (fd_ >= 0)
            close(fd_);
    }
    bool Ok() const { return ok_; }
    int Fd() const { return fd_; }

private:
    int fd_;
    bool ok_ = false;
};

// Takes one client, reads what it sends first, and lets it in as a bus does.
std::thread AnswerOnce(int listener, QByteArray* request) {
    return std::thread([listener, request] {
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0)
            return;
        char bytes[256];
        const ssize_t got = read(client, bytes, sizeof bytes);
        if (got > 0)
            *request = QByteArray(bytes, got);
        const char ok[] = "OK 0123456789abcdef0123456789abcdef\r\n";
        (void)!write(client, ok, sizeof ok - 1);
        close(client);
    });
}

TEST(SessionBus, ABusThatAnswersIsToldFromOneThatNeverDoes) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray base = QFile::encodeName(folder.path());
    const QByteArray answering = base + "/answering", silent = base + "/silent, quiet",
                     missing = base + "/missing";
    Listener answers(answering, 8), quiet(silent, 8);
    ASSERT_TRUE(answers.Ok());
    ASSERT_TRUE(quiet.Ok());
    const QByteArray silentAddress = "unix:path=" + silent.toPercentEncoding("/");

    QByteArray request;
    std::thread bus = AnswerOnce(answers.Fd(), &request);
    EXPECT_EQ(CheckSessionBus("unix:path=" + answering + ",guid=0123", 5000), BusAnswer::Answers);
    bus.join();
    // A client's first words: a zero byte, then its user id in hexadecimal digits.
    EXPECT_EQ(request, QByteArray(1, '\0') + "AUTH EXTERNAL " +
                           QByteArray::number(getuid()).toHex() + "\r\n");

    // The path is unescaped; sockets that refuse are passed over, as the bus
    // library passes over them.
    EXPECT_EQ(CheckSessionBus(silentAddress, 100), BusAnswer::Silent);
    EXPECT_EQ(CheckSessionBus("unix:path=" + missing + ";" + silentAddress, 100),
              BusAnswer::Silent);
    EXPECT_EQ(CheckSessionBus("unix:path=" + missing, 100), BusAnswer::Refused);
    EXPECT_EQ(CheckSessionBus("unix:path=" + missing + ";tcp:host=localhost,port=1", 100),
              BusAnswer::NotChecked);
    for (const char* other : {"", "autolaunch:", "tcp:host=localhost,port=1", "unix:tmpdir=/tmp"})
        EXPECT_EQ(CheckSessionBus(other, 100), BusAnswer::NotChecked) << other;

    const QByteArray name = "mirelo-test-bus-" + QByteArray::number(getpid());
    Listener abstractQuiet(name, 8, true);
    ASSERT_TRUE(abstractQuiet.Ok());
    EXPECT_EQ(CheckSessionBus("unix:abstract=" + name, 100), BusAnswer::Silent);
}

TEST(SessionBus, AFullQueueOfConnectionsIsSilent) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("bus")));
    Listener full(path, 0);
    ASSERT_TRUE(full.Ok());
    // Fill the queue: the kernel keeps one more connection than the backlog.
    std::vector<int> queued;
    for (bool full = false; !full && queued.size() < 4;) {
        const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        sockaddr_un where{};
        where.sun_family = AF_UNIX;
        std::copy(path.begin(), path.end(), where.sun_path);
        full = connect(fd, reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0;
        full ? close(fd) : (queued.push_back(fd), 0);
    }
    EXPECT_FALSE(queued.empty());
    EXPECT_LT(queued.size(), 4u) << "the queue never filled";
    EXPECT_EQ(CheckSessionBus("unix:path=" + path, 100), BusAnswer::Silent);
    for (const int fd : queued)
        close(fd);
}

// Puts a variable back as it was when the test is done with it.
class KeptVariable {
public:
    explicit KeptVariable(const char* name)
        : name_(name), value_(qgetenv(name)), set_(qEnvironmentVariableIsSet(name)) {}
    ~KeptVariable() { set_ ? qputenv(name_, value_) : qunsetenv(name_); }
    KeptVariable(const KeptVariable&) = delete;
    KeptVariable& operator=(const KeptVariable&) = delete;

private:
    const char* name_;
    QByteArray value_;
    bool set_;
};

TEST(SessionBus, TheAddressIsTheVariableElseTheUsersSocketInTheRuntimeFolder) {
    const KeptVariable keptAddress("DBUS_SESSION_BUS_ADDRESS"), keptRuntime("XDG_RUNTIME_DIR");
    QTemporaryDir runtime(QDir::tempPath() + QStringLiteral("/run dir;XXXXXX"));
    ASSERT_TRUE(runtime.isValid());
    const QByteArray folder = QFile::encodeName(runtime.path());

    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:abstract=elsewhere");
    qputenv("XDG_RUNTIME_DIR", folder);
    EXPECT_EQ(SessionBusAddress(), "unix:abstract=elsewhere");

    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    EXPECT_EQ(SessionBusAddress(), "") << "no socket there: the library would launch a bus";
    {
        Listener bus(folder + "/bus", 8);
        ASSERT_TRUE(bus.Ok());
        const QByteArray address = SessionBusAddress();
        EXPECT_TRUE(address.startsWith("unix:path=")) << address.constData();
        // The address leads back to the socket, however the folder is spelled.
        EXPECT_EQ(CheckSessionBus(address, 100), BusAnswer::Silent) << address.constData();
    }
    ASSERT_TRUE(QFile::remove(runtime.filePath(QStringLiteral("bus"))));
    QFile plain(runtime.filePath(QStringLiteral("bus")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_EQ(SessionBusAddress(), "") << "a file that is not a socket";
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(SessionBusAddress(), "");
}

} // namespace
} // namespace mirelo
