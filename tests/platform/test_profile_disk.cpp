// The file on disk and where it lives.
#include "ProfileFile.h"
#include "SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace mirelo {
namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

bool WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

TEST(ProfileDisk, AMissingFileIsAnEmptyProfile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ProfileFile profile;
    profile.Parse("[Old]\nk=1\n");
    QString error;
    EXPECT_TRUE(profile.Load(dir.filePath(QStringLiteral("Mirelo.ini")), &error));
    EXPECT_TRUE(error.isEmpty());
    EXPECT_TRUE(profile.Serialize().isEmpty());
    EXPECT_FALSE(profile.ReadString(u"Old", u"k").has_value());
}

TEST(ProfileDisk, AnUnreadableFileIsReported) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A folder where the file should be cannot be read, even by root.
    const QString path = dir.filePath(QStringLiteral("Mirelo.ini"));
    ASSERT_TRUE(QDir().mkdir(path));
    ProfileFile profile;
    QString error;
    EXPECT_FALSE(profile.Load(path, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Unable to read "))) << error.toStdString();
    EXPECT_TRUE(error.contains(QStringLiteral("Mirelo.ini")));
}

TEST(ProfileDisk, AFileIsReadUpToTheSizeCapAndRefusedBeyondIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Mirelo.ini"));
    QByteArray text = "[Mirelo]\nTileset=2\n";
    text.append(ProfileFile::MaxFileSize - text.size(), ';');
    ASSERT_TRUE(WriteBytes(path, text));
    ProfileFile profile;
    QString error;
    EXPECT_TRUE(profile.Load(path, &error)) << error.toStdString();
    EXPECT_EQ(profile.ReadInteger(u"Mirelo", u"Tileset", 0), 2);

    ASSERT_TRUE(WriteBytes(path, text + ';'));
    EXPECT_FALSE(profile.Load(path, &error));
    EXPECT_EQ(error, QStringLiteral("Unable to read %1: larger than 1024 KiB, too large for a "
                                    "settings file")
                         .arg(path));
    EXPECT_TRUE(profile.Serialize().isEmpty());
}

TEST(ProfileDisk, SaveThenLoadGivesTheSameProfile) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("new/folder/Mirelo.ini"));
    ProfileFile written;
    written.Parse("\xEF\xBB\xBF; mine\r\n[Mirelo]\r\nTileset=1\r\n");
    written.WriteString(u"Traditional", u"Rank1", QStringLiteral("        240    0"));
    QString error;
    ASSERT_TRUE(written.Save(path, &error)) << error.toStdString();
    EXPECT_EQ(FileBytes(path), written.Serialize());

    ProfileFile read;
    ASSERT_TRUE(read.Load(path, &error));
    EXPECT_EQ(read.Serialize(), written.Serialize());
    EXPECT_EQ(read.ReadString(u"traditional", u"rank1"), QStringLiteral("        240    0"));
    EXPECT_EQ(read.ReadInteger(u"Mirelo", u"Tileset", 0), 1);
}

TEST(ProfileDisk, SaveIntoAnImpossibleFolderFailsWithTheFileName) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // A regular file in place of the folder stops root as well as anyone.
    const QString blocker = dir.filePath(QStringLiteral("blocker"));
    ASSERT_TRUE(WriteBytes(blocker, "not a folder"));
    const QString path = blocker + QStringLiteral("/Mirelo.ini");
    ProfileFile profile;
    profile.WriteFlag(u"Mirelo", u"ShowMoves", true);
    QString error;
    EXPECT_FALSE(profile.Save(path, &error));
    EXPECT_EQ(error, QStringLiteral("Unable to write to ") + path);
    EXPECT_EQ(FileBytes(blocker), QByteArray("not a folder"));
}

// Runs `body` with files limited to `bytes`, a limit root is held to too.
template <typename Body> void WithFileSizeLimit(rlim_t bytes, Body body) {
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    body();
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
}

TEST(ProfileDisk, AFailedSaveLeavesTheOldFileIntact) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("Mirelo.ini"));
    const QByteArray old = "[Mirelo]\nTileset=2\n";
    ASSERT_TRUE(WriteBytes(path, old));

    ProfileFile profile;
    ASSERT_TRUE(profile.Load(path));
    for (int rank = 1; rank <= 500; ++rank) {
        profile.WriteString(u"Traditional", QStringLiteral("Rank%1").arg(rank),
                            QStringLiteral("---       240    0"));
    }
    bool saved = true;
    QString error;
    WithFileSizeLimit(4096, [&] { saved = profile.Save(path, &error); });
    EXPECT_FALSE(saved);
    EXPECT_EQ(error, QStringLiteral("Unable to write to ") + path);
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Mirelo.ini")});
}

// Sets an environment variable for one scope.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : m_name(name), m_had(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedEnv() {
        if (m_had) {
            qputenv(m_name, m_old);
        } else {
            qunsetenv(m_name);
        }
    }

private:
    const char* m_name;
    bool m_had;
    QByteArray m_old;
};

TEST(SettingsLocation, FollowsXdgConfigHomeElseHomeConfig) {
    const ScopedEnv home("HOME", "/home/tester");
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/cfg/");
        EXPECT_EQ(SettingsFolder(), QByteArray("/tmp/cfg"));
        EXPECT_EQ(SettingsFilePath(), QByteArray("/tmp/cfg/Mirelo.ini"));
    }
    {
        // Bytes that are not UTF-8 name the folder as they are.
        const ScopedEnv xdg("XDG_CONFIG_HOME", "/tmp/k\xE9ys\xFF/");
        EXPECT_EQ(SettingsFilePath(), QByteArray("/tmp/k\xE9ys\xFF/Mirelo.ini"));
    }
    for (const QByteArray& unusable : {QByteArray(), QByteArray("relative/cfg")}) {
        const ScopedEnv xdg("XDG_CONFIG_HOME", unusable);
        EXPECT_EQ(SettingsFolder(), QByteArray("/home/tester/.config"));
        EXPECT_EQ(SettingsFilePath(), QByteArray("/home/tester/.config/Mirelo.ini"));
    }
}

} // namespace
} // namespace mirelo
