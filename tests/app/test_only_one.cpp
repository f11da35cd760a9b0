// The single-instance guard's marker and socket, against planted files.
#include "TOnlyOne.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirelo {
namespace {

const QString Title = QStringLiteral("Guard test");

void Plant(const QString& path, const QByteArray& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// Whether the marker at `path` now names a live owner: this process.
bool NamesThisProcess(const QString& path) {
    QLockFile marker(path);
    qint64 pid = 0;
    return marker.getLockInfo(&pid, nullptr, nullptr) && pid == QCoreApplication::applicationPid();
}

class OnlyOneTest : public ::testing::Test {
protected:
    QTemporaryDir folder;
    TOnlyOne guard{Title, folder.path()};
    QString Marker() const { return guard.MarkerBase() + QStringLiteral(".lock"); }
    QString Socket() const { return guard.MarkerBase() + QStringLiteral(".socket"); }
};

TEST_F(OnlyOneTest, AMarkerWithNoReadableOwnerIsTakenOver) {
    for (const QByteArray& text :
         {QByteArray(), QByteArray("garbage\nno owner\n"), QByteArray("0\n")}) {
        SCOPED_TRACE(text.toStdString());
        Plant(Marker(), text);
        TOnlyOne first(Title, folder.path());
        EXPECT_FALSE(first.OnLoad());
        EXPECT_TRUE(NamesThisProcess(Marker()));
        // Held now: the next start gives way.
        TOnlyOne second(Title, folder.path());
        EXPECT_TRUE(second.OnLoad());
    }
}

TEST_F(OnlyOneTest, AMarkerWithNoReadableOwnerStandsWhileACopyAnswers) {
    Plant(Marker(), QByteArray());
    QLocalServer running; // the running copy, still writing nothing into its marker
    ASSERT_TRUE(running.listen(Socket()));
    EXPECT_TRUE(guard.OnLoad());
    ASSERT_TRUE(running.waitForNewConnection(5000));
    QLocalSocket* request = running.nextPendingConnection();
    ASSERT_TRUE(request->waitForReadyRead(5000) || request->bytesAvailable() > 0);
    EXPECT_EQ(request->readAll(), QByteArray(RaiseRequest));
    EXPECT_FALSE(NamesThisProcess(Marker()));
}

// Whether `guard`'s window was asked to come forward once `request` was sent by
// a copy built on Qt's local sockets, as earlier copies of the game are.
bool RaisedBy(TOnlyOne& guard, const QString& socketPath, const QByteArray& request) {
    int raised = 0;
    guard.OnRaiseRequest = [&raised] { ++raised; };
    QLocalSocket caller;
    caller.connectToServer(socketPath);
    if (!caller.waitForConnected(5000))
        return false;
    caller.write(request);
    caller.waitForBytesWritten(5000);
    caller.disconnectFromServer();
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < (request == RaiseRequest ? 5000 : 300) && raised == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return raised == 1;
}

TEST_F(OnlyOneTest, TheRunningCopyComesForwardOnlyForTheRaiseRequest) {
    ASSERT_FALSE(guard.OnLoad());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(Socket()).constData(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 0077, 0u) << "only the user may call the running copy";
    EXPECT_TRUE(RaisedBy(guard, Socket(), RaiseRequest));
    EXPECT_FALSE(RaisedBy(guard, Socket(), "lower\n"));
    EXPECT_FALSE(RaisedBy(guard, Socket(), QByteArray(4096, 'r')));
    EXPECT_TRUE(RaisedBy(guard, Socket(), RaiseRequest));
    // The next start finds the running copy through the same socket.
    TOnlyOne second(Title, folder.path());
    int raised = 0;
    guard.OnRaiseRequest = [&raised] { ++raised; };
    EXPECT_TRUE(second.OnLoad());
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 5000 && raised == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(raised, 1);
}

TEST_F(OnlyOneTest, AnotherUsersSocketDoesNotAnswerForACopy) {
    Plant(Marker(), QByteArray());
    QLocalServer planted;
    ASSERT_TRUE(planted.listen(Socket()));
    // The files the test makes are the test's own; the guard is told the
    // socket is another user's.
    guard.OwnedByUser = [this](const QString& path) { return path != Socket(); };
    EXPECT_FALSE(guard.OnLoad());
    EXPECT_FALSE(planted.hasPendingConnections());
    EXPECT_TRUE(NamesThisProcess(Marker()));
}

TEST_F(OnlyOneTest, AnotherUsersMarkerDoesNotStopTheStart) {
    TOnlyOne running(Title, folder.path());
    ASSERT_FALSE(running.OnLoad()); // a marker with a live owner
    guard.OwnedByUser = [this](const QString& path) { return path != Marker(); };
    EXPECT_FALSE(guard.OnLoad());
    // The user's own marker still stops it.
    TOnlyOne again(Title, folder.path());
    EXPECT_TRUE(again.OnLoad());
}

// Sets an environment variable for one test and puts it back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value) : name_(name), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedVariable() { qputenv(name_, old_); }

private:
    const char* name_;
    QByteArray old_;
};

TEST(OnlyOne, WithNoUsableRuntimeFolderTheSharedMarkerNamesTheUser) {
    QTemporaryDir shared; // the temporary folder every user of the machine shares
    // Neither the runtime folder given nor the one that would be made in the
    // temporary folder is a folder.
    Plant(shared.filePath(QStringLiteral("not-a-folder")), "x");
    Plant(shared.filePath(QStringLiteral("runtime-") +
                          QString::fromLocal8Bit(getpwuid(getuid())->pw_name)),
          "x");
    const ScopedVariable runtime(
        "XDG_RUNTIME_DIR", QFile::encodeName(shared.filePath(QStringLiteral("not-a-folder"))));
    const ScopedVariable temp("TMPDIR", QFile::encodeName(shared.path()));
    ASSERT_EQ(TOnlyOne::RuntimeFolder(), shared.path());
    // A marker under the bare name, held by a live owner, as another user
    // could leave one: it is not this user's.
    QLockFile planted(shared.filePath(QStringLiteral("OnlyOne") + Title + QStringLiteral(".lock")));
    ASSERT_TRUE(planted.tryLock(0));

    TOnlyOne guard(Title);
    EXPECT_FALSE(guard.OnLoad());
    const QString mine = QStringLiteral("OnlyOne%1-%2.lock").arg(Title).arg(::getuid());
    EXPECT_TRUE(NamesThisProcess(shared.filePath(mine)));
    TOnlyOne next(Title);
    EXPECT_TRUE(next.OnLoad());
}

TEST_F(OnlyOneTest, OwnershipIsThatOfTheFileItself) {
    Plant(folder.filePath(QStringLiteral("mine")), "x");
    EXPECT_TRUE(FileOwnedByUser(folder.filePath(QStringLiteral("mine"))));
    EXPECT_FALSE(FileOwnedByUser(folder.filePath(QStringLiteral("absent"))));
    if (::getuid() != 0)
        GTEST_SKIP() << "only root can give a file to another user";
    const QByteArray theirs = QFile::encodeName(folder.filePath(QStringLiteral("theirs")));
    Plant(QFile::decodeName(theirs), "x");
    ASSERT_EQ(::chown(theirs.constData(), 65534, 65534), 0);
    EXPECT_FALSE(FileOwnedByUser(QFile::decodeName(theirs)));
    // A link of theirs to a file of ours is still theirs.
    const QByteArray link = QFile::encodeName(folder.filePath(QStringLiteral("link")));
    ASSERT_EQ(::symlink(QFile::encodeName(folder.filePath(QStringLiteral("mine"))).constData(),
                        link.constData()),
              0);
    ASSERT_EQ(::lchown(link.constData(), 65534, 65534), 0);
    EXPECT_FALSE(FileOwnedByUser(QFile::decodeName(link)));
}

} // namespace
} // namespace mirelo
