// Mirelo.ini as the disk hands it over: files that cannot be read, encodings,
// folder names in any bytes, and every option through a real read and write.
#include "SettingsFixture.h"
#include "TConfigu.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <map>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace mirelo::test {
namespace {

// What tells a file apart from its replacement or a rewrite of it.
struct FileState {
    dev_t Device = 0;
    ino_t Inode = 0;
    mode_t Mode = 0;
    off_t Size = 0;
    timespec Modified{};

    bool operator==(const FileState& o) const {
        return std::tie(Device, Inode, Mode, Size, Modified.tv_sec, Modified.tv_nsec) ==
               std::tie(o.Device, o.Inode, o.Mode, o.Size, o.Modified.tv_sec, o.Modified.tv_nsec);
    }
};

void PrintTo(const FileState& s, std::ostream* os) {
    *os << "inode " << s.Inode << " mode " << std::oct << s.Mode << std::dec << " size " << s.Size;
}

// Not followed through a link: the link itself must stay.
FileState StateOf(const QString& path) {
    struct stat info {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {info.st_dev, info.st_ino, info.st_mode, info.st_size, info.st_mtim};
}

// The names in a folder, as the bytes they are.
std::vector<QByteArray> Entries(const QByteArray& folder) {
    std::vector<QByteArray> names;
    if (DIR* d = ::opendir(folder.constData())) {
        while (const dirent* e = ::readdir(d))
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0)
                names.emplace_back(e->d_name);
        ::closedir(d);
    }
    return names;
}

bool WriteBytes(const QByteArray& path, const QByteArray& bytes) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, bytes.constData(), bytes.size()) == bytes.size();
    return ::close(fd) == 0 && written;
}

QByteArray ReadBytes(const QByteArray& path) {
    QByteArray bytes;
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return "<unreadable>";
    char chunk[4096];
    for (ssize_t got; (got = ::read(fd, chunk, sizeof chunk)) > 0;)
        bytes.append(chunk, got);
    ::close(fd);
    return bytes;
}

struct UnreadableCase {
    const char* Name;
    const char* Reason; // the end of the message
    bool (*Make)(const QByteArray& path);
    bool RootReadsIt = false;
};

const UnreadableCase UnreadableCases[] = {
    {"LargerThanTheCap", "larger than 1024 KiB, too large for a settings file",
     [](const QByteArray& path) {
         return WriteBytes(path, "[Mirelo]\nCurrentPlayer1=Big\n" + QByteArray(1024 * 1024, '\n'));
     }},
    {"Fifo", "not a regular file",
     [](const QByteArray& path) { return ::mkfifo(path, 0600) == 0; }},
    {"Folder", "not a regular file",
     [](const QByteArray& path) { return ::mkdir(path, 0700) == 0; }},
    {"LinkToAnEndlessDevice", "not a regular file",
     [](const QByteArray& path) { return ::symlink("/dev/zero", path) == 0; }},
    // A regular file whose first byte cannot be read, whoever reads it.
    {"ReadError", "Input/output error",
     [](const QByteArray& path) { return ::symlink("/proc/self/mem", path) == 0; }},
    {"NoPermission", "Permission denied",
     [](const QByteArray& path) {
         return WriteBytes(path, "[Mirelo]\nCurrentPlayer1=Secret\n") && ::chmod(path, 0200) == 0;
     },
     true},
};

void PrintTo(const UnreadableCase& c, std::ostream* os) {
    *os << c.Name;
}

class UnreadableSettings : public SettingsTest,
                           public ::testing::WithParamInterface<UnreadableCase> {};

TEST_P(UnreadableSettings, AreReportedOnceThenPlayedOnDefaultsAndNeverWrittenOver) {
    const UnreadableCase& c = GetParam();
    if (c.RootReadsIt && ::geteuid() == 0)
        GTEST_SKIP() << "root reads a file of any mode";
    ASSERT_TRUE(c.Make(QFile::encodeName(path)));
    const FileState before = StateOf(path);
    Start();
    const QString said = QStringLiteral("Unable to read %1: %2").arg(path, QLatin1String(c.Reason));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Caption, "MIRELO 2.8");
    EXPECT_EQ(boxes[0].Text, said);
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "Player1");
    EXPECT_TRUE(probe().game.State.InPlay()); // the default: a game at start
    probe().Menu.Highlight3->trigger();       // a change a save would write

    Close();
    EXPECT_FALSE(window->isVisible());
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].Text,
              said + "\nThe settings of this game were not saved, so that file stays as it was.");
    EXPECT_TRUE(writeFailures.isEmpty());
    EXPECT_EQ(StateOf(path), before);
    EXPECT_EQ(Entries(QFile::encodeName(dir.path())), std::vector<QByteArray>{"Mirelo.ini"});
}

INSTANTIATE_TEST_SUITE_P(EveryKind, UnreadableSettings, ::testing::ValuesIn(UnreadableCases),
                         [](const auto& info) { return std::string(info.param.Name); });

class Utf16Settings : public SettingsTest,
                      public ::testing::WithParamInterface<QStringConverter::Encoding> {};

TEST_P(Utf16Settings, AreReadAndWrittenBackInTheirOwnEncoding) {
    const QString text = QString::fromUtf8("; saved on another system\r\n[Mirelo]\r\nTileset=2\r\n"
                                           "CurrentPlayer1=Zoé\r\n[MyNotes]\r\nnote=日本\r\n");
    WriteFile(QStringEncoder(GetParam(), QStringConverter::Flag::WriteBom).encode(text));
    Start();
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(probe().Menu.Red1->isChecked());
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), QString::fromUtf8("Zoé"));
    probe().Menu.Highlight1->trigger();
    Close();

    const QByteArray saved = ReadFile();
    const bool little = GetParam() == QStringConverter::Utf16LE;
    ASSERT_TRUE(saved.startsWith(little ? "\xFF\xFE" : "\xFE\xFF"));
    QStringDecoder decoder(GetParam());
    const QString back = decoder.decode(saved);
    EXPECT_FALSE(decoder.hasError());
    EXPECT_TRUE(
        back.startsWith(QString::fromUtf8("; saved on another system\r\n[Mirelo]\r\nTileset=2\r\n"
                                          "CurrentPlayer1=Zoé\r\nHighlight=0\r\n")))
        << back.toStdString();
    EXPECT_TRUE(back.contains(QString::fromUtf8("[MyNotes]\r\nnote=日本\r\n")));
    // All of it in the file's encoding: nothing added in another one.
    EXPECT_EQ(back.count(QStringLiteral("[Mirelo]")), 1);
    EXPECT_EQ(back.count(QStringLiteral("\r\nRank")), 50);
    EXPECT_FALSE(saved.contains("Rank"));
}

INSTANTIATE_TEST_SUITE_P(BothByteOrders, Utf16Settings,
                         ::testing::Values(QStringConverter::Utf16LE, QStringConverter::Utf16BE),
                         [](const auto& info) {
                             return std::string(info.param == QStringConverter::Utf16LE
                                                    ? "LittleEndian"
                                                    : "BigEndian");
                         });

TEST_F(SettingsTest, AFolderNamedInBytesThatAreNotUtf8IsUsedAsTheseBytes) {
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const auto restore = qScopeGuard([&] { qputenv("XDG_CONFIG_HOME", saved); });
    const QByteArray top = QFile::encodeName(dir.path());
    const QByteArray folder = top + "/cfg\xFF\xFE/mirelo";
    qputenv("XDG_CONFIG_HOME", folder);

    // The folder is made at the close, under its own name.
    Start(false, true, true);
    probe().Menu.Highlight3->trigger();
    Close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(writeFailures.isEmpty());
    EXPECT_EQ(Entries(top), std::vector<QByteArray>{"cfg\xFF\xFE"});
    const QByteArray text = ReadBytes(folder + "/Mirelo.ini");
    EXPECT_TRUE(text.contains("\nHighlight=2\n")) << text.toStdString();
    EXPECT_EQ(text.count("Rank"), 50);

    // And read from there at the next start.
    ASSERT_TRUE(WriteBytes(folder + "/Mirelo.ini", "[Mirelo]\nCurrentPlayer1=Raw\nHighlight=2\n"));
    Start(false, true, true);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "Raw");
    EXPECT_TRUE(probe().Menu.Highlight3->isChecked());
    Close();
    EXPECT_EQ(Entries(folder), std::vector<QByteArray>{"Mirelo.ini"});
}

// Every key away from its default, the Hall of Fame included.
const QByteArray EveryKey =
    "[Mirelo]\nTileset=2\nHighlight=2\nShowMoves=0\nPlayMusic=1\nPlaySounds=1\n"
    "NeverWarn=1\nCurrentPlayer1=Zed\nBackground=0\nStartDirectly=0\n"
    "WinnableDeals=1\nZoom=150\n[Theater]\nRank3=Ann       300   12\n";

class EveryOption : public SettingsTest, public ::testing::WithParamInterface<bool> {
protected:
    void ExpectSaved(const std::map<std::string, QString>& expected) {
        for (const auto& [key, value] : expected) {
            const auto dot = key.find('.');
            EXPECT_EQ(Value(key.substr(0, dot).c_str(), key.substr(dot + 1).c_str()), value) << key;
        }
    }
};

TEST_P(EveryOption, IsReadAndWrittenBackAsItWasOrAsThePlayerChangedIt) {
    const bool full = GetParam();
    soundCanPlay = true;
    WriteFile(EveryKey);
    Start(full);
    EXPECT_TRUE(probe().Menu.Red1->isChecked());
    EXPECT_TRUE(probe().Menu.Highlight3->isChecked());
    EXPECT_FALSE(probe().Menu.Moves->isChecked());
    if (full) {
        EXPECT_TRUE(probe().Menu.Playmusic1->isChecked());
        EXPECT_TRUE(probe().PlayMusic);
        EXPECT_TRUE(probe().Menu.Playsounds1->isChecked());
        EXPECT_TRUE(probe().PlaySounds);
    }
    EXPECT_TRUE(probe().Menu.WarnMe->isChecked());
    EXPECT_EQ(probe().Bar.PlayerPanel->text(), "Zed");
    EXPECT_TRUE(probe().Menu.Kanji1->isChecked());
    EXPECT_FALSE(probe().Menu.StartupGame->isChecked());
    EXPECT_FALSE(probe().game.State.InPlay()); // no game at start
    EXPECT_TRUE(probe().Menu.WinnableDeals1->isChecked());
    EXPECT_TRUE(probe().Menu.Zoom150->isChecked());
    EXPECT_FALSE(probe().Menu.Zoom100->isChecked());
    EXPECT_EQ(probe().Hall.Entry(4, 3), "Ann       300   12");
    Close();
    // The silent edition has no sound keys of its own: they stay as they were.
    ExpectSaved({{"Mirelo.Tileset", "2"},
                 {"Mirelo.Highlight", "2"},
                 {"Mirelo.ShowMoves", "0"},
                 {"Mirelo.PlayMusic", "1"},
                 {"Mirelo.PlaySounds", "1"},
                 {"Mirelo.NeverWarn", "1"},
                 {"Mirelo.CurrentPlayer1", "Zed"},
                 {"Mirelo.Background", "0"},
                 {"Mirelo.StartDirectly", "0"},
                 {"Mirelo.WinnableDeals", "1"},
                 {"Mirelo.Zoom", "150"},
                 {"Theater.Rank3", "Ann       300   12"},
                 {"Theater.Rank4", "---       330    0"}});

    // Every option changed through its own command.
    Start(full);
    probe().Menu.Blue1->trigger();
    probe().Menu.Highlight1->trigger();
    probe().Menu.Moves->trigger();
    if (full) {
        probe().Menu.Playmusic1->trigger();
        probe().Menu.Playsounds1->trigger();
    }
    probe().Menu.WarnMe->trigger();
    QTimer::singleShot(0, [&] {
        QLineEdit* name = probe().Configu->PlayerName;
        QTest::keyClick(name, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(name, QStringLiteral("Amy"));
        probe().Configu->close();
    });
    probe().Menu.Changeplayername1->trigger();
    probe().Menu.Dragons1->trigger();
    probe().Menu.StartupGame->trigger();
    probe().Menu.WinnableDeals1->trigger();
    // Qt takes the zoom as it starts: the one chosen is saved for the next start.
    probe().Menu.Zoom200->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Zoom 200 % takes effect at the next start.");
    probe().Menu.Zoom150->trigger();
    EXPECT_EQ(probe().LigneStatus[7]->text(), "Zoom 150 % in force.");
    probe().Menu.Zoom200->trigger();
    EXPECT_TRUE(probe().Menu.Zoom200->isChecked());
    EXPECT_FALSE(probe().Menu.Zoom150->isChecked());
    probe().Hall.AddHall(4, "Amy", 200, 5);
    Close();
    const QString sound = full ? QStringLiteral("0") : QStringLiteral("1");
    ExpectSaved({{"Mirelo.Tileset", "1"},
                 {"Mirelo.Highlight", "0"},
                 {"Mirelo.ShowMoves", "1"},
                 {"Mirelo.PlayMusic", sound},
                 {"Mirelo.PlaySounds", sound},
                 {"Mirelo.NeverWarn", "0"},
                 {"Mirelo.CurrentPlayer1", "Amy"},
                 {"Mirelo.Background", "1"},
                 {"Mirelo.StartDirectly", "1"},
                 {"Mirelo.WinnableDeals", "0"},
                 {"Mirelo.Zoom", "200"},
                 {"Theater.Rank1", "Amy       200    5"},
                 {"Theater.Rank4", "Ann       300   12"}});
}

TEST_F(SettingsTest, ZoomOtherThan100150Or200Is100) {
    for (const char* zoom : {"175", "0", "-150", "big", "1500"}) {
        WriteFile(QByteArray("[Mirelo]\nZoom=") + zoom + "\n");
        Start();
        EXPECT_TRUE(probe().Menu.Zoom100->isChecked()) << zoom;
        Close();
        EXPECT_EQ(Value("Mirelo", "Zoom"), "100") << zoom;
    }
}

TEST(Zoom, MultipliesTheDesktopsScaleFactor) {
    EXPECT_EQ(ZoomedScaleFactor("", 100), "");
    EXPECT_EQ(ZoomedScaleFactor("1.25", 100), "1.25");
    EXPECT_EQ(ZoomedScaleFactor("", 150), "1.5");
    EXPECT_EQ(ZoomedScaleFactor("", 200), "2");
    EXPECT_EQ(ZoomedScaleFactor("2", 150), "3");
    EXPECT_EQ(ZoomedScaleFactor("1.25", 200), "2.5");
    // A factor Qt would not take counts as none.
    EXPECT_EQ(ZoomedScaleFactor("big", 200), "2");
    EXPECT_EQ(ZoomedScaleFactor("-1", 150), "1.5");
}

INSTANTIATE_TEST_SUITE_P(BothEditions, EveryOption, ::testing::Values(true, false),
                         [](const auto& info) {
                             return std::string(info.param ? "Full" : "Silent");
                         });

} // namespace
} // namespace mirelo::test
