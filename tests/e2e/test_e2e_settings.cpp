// Mirelo.ini and the real programs: one reading at start.
#include "XSession.h"

#include <QFile>
#include <climits>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

namespace mirelo::test {
namespace {

bool WriteText(const QString& path, const QByteArray& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size();
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
