// Mirelo.ini and the real programs: one reading at start, and an end that no
// failed save can hold up.
#include "XSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace mirelo::test {
namespace {

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
}

// A shell script in `folder` that runs `body`; the game it starts is named by
// MIRELO_GAME, and its standard error goes to the file named by MIRELO_ERRORS.
QString Launcher(const QTemporaryDir& folder, const QByteArray& body) {
    const QString path = folder.filePath(QStringLiteral("launch.sh"));
    if (!WriteText(path, "#!/bin/sh\n" + body + "\nexec \"$MIRELO_GAME\" 2>\"$MIRELO_ERRORS\"\n"))
        return {};
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

TEST(SettingsOnDisk, ASignalEndsTheGameEvenWhenTheSettingsCannotBeWritten) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    QTemporaryDir scratch;
    // A regular file where the settings folder should be: no save can succeed.
    const QString blocker = scratch.filePath(QStringLiteral("blocked"));
    ASSERT_TRUE(WriteText(blocker, "not a folder"));
    const QString errors = scratch.filePath(QStringLiteral("errors.txt"));
    const QString launcher = Launcher(scratch, {});
    ASSERT_TRUE(
        x.Start(launcher, {QStringLiteral("MIRELO_GAME=") + GameProgram("mirelo"),
                           QStringLiteral("MIRELO_ERRORS=") + errors,
                           QStringLiteral("XDG_CONFIG_HOME=") + blocker + QStringLiteral("/cfg")}));
    x.Game().terminate(); // SIGTERM
    EXPECT_EQ(x.WaitForExit(10000), 1) << "the game did not end, or ended by a signal";
    EXPECT_EQ(Bytes(errors), "Unable to write to " + blocker.toUtf8() + "/cfg/Mirelo.ini\n");
    EXPECT_EQ(Bytes(blocker), "not a folder");
}

TEST(SettingsOnDisk, AFileSizeLimitMakesTheSaveFailInsteadOfEndingTheGame) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    const QString settings = x.ConfigHome() + QStringLiteral("/Mirelo.ini");
    const QByteArray old = "[Mirelo]\nCurrentPlayer1=Keep\n";
    ASSERT_TRUE(WriteText(settings, old));
    QTemporaryDir scratch;
    const QString errors = scratch.filePath(QStringLiteral("errors.txt"));
    // Far below the 2 KB the settings take.
    const QString launcher = Launcher(scratch, "ulimit -f 1");
    ASSERT_TRUE(x.Start(launcher, {QStringLiteral("MIRELO_GAME=") + GameProgram("mirelo_silent"),
                                   QStringLiteral("MIRELO_ERRORS=") + errors}));
    x.Game().terminate();
    EXPECT_EQ(x.WaitForExit(10000), 1) << "the game did not end, or ended by a signal";
    EXPECT_EQ(Bytes(errors), "Unable to write to " + settings.toUtf8() + "\n");
    EXPECT_EQ(Bytes(settings), old);
    EXPECT_EQ(QDir(x.ConfigHome()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"Mirelo.ini"});
}

TEST(SettingsOnDisk, TheFileIsOpenedOnceAtStart) {
    XSession x(800, 600);
    ASSERT_TRUE(x.Ok());
    ASSERT_TRUE(
        WriteText(x.ConfigHome() + QStringLiteral("/Mirelo.ini"), "[Mirelo]\nBackground=0\n"));
    const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    // Closes are watched too: the kernel merges an event into an identical one
    // just before it, so two opens in a row would count as one.
    ASSERT_GE(inotify_add_watch(watch, QFile::encodeName(x.ConfigHome()).constData(),
                                IN_OPEN | IN_CLOSE_NOWRITE),
              0);
    ASSERT_TRUE(x.Start(GameProgram("mirelo")));

    int opens = 0;
    alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
    for (ssize_t got; (got = ::read(watch, buffer, sizeof buffer)) > 0;) {
        for (char* at = buffer; at < buffer + got;) {
            const auto* event = reinterpret_cast<const inotify_event*>(at);
            if ((event->mask & IN_OPEN) && event->len > 0 &&
                qstrcmp(event->name, "Mirelo.ini") == 0)
                ++opens;
            at += sizeof(inotify_event) + event->len;
        }
    }
    ::close(watch);
    EXPECT_EQ(opens, 1);
    x.Game().terminate();
    EXPECT_EQ(x.WaitForExit(10000), 0);
}

} // namespace
} // namespace mirelo::test
