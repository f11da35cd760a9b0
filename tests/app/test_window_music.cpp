// The Music menu when a tune cannot be played: what the window says, which
// tune it marks.
#include "ProfileFile.h"
#include "WindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>

namespace mirelo::test {
namespace {

class MusicTest : public WindowTest {
protected:
    void SetUp() override { sound = std::make_unique<RecordingSound>(true); }

    // The full edition with "Play music" stored as given, through its first paint.
    void Start(bool playMusic) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(playMusic ? "[Mirelo]\nPlayMusic=1\n" : "[Mirelo]\nPlayMusic=0\n");
        file.close();
        clock.Tick = 1'000'000;
        TMirelo::Environment env;
        env.Clock = &clock;
        env.Sound = sound.get();
        env.ScreenWidth = 800;
        env.SettingsPath = path;
        window = std::make_unique<TMirelo>(env);
        window->InfoBox = [this](const QString& caption, const QString& text) {
            boxes.push_back({caption, text});
        };
        window->show();
        QApplication::processEvents();
        QApplication::processEvents();
        // Only the ticks a test makes.
        window->Timer->stop();
    }
    // Closes the window; the "PlayMusic" value it wrote.
    QString SavedPlayMusic() {
        window->close();
        QApplication::processEvents();
        ProfileFile file;
        file.Load(path);
        return file.ReadString(QStringLiteral("Mirelo"), QStringLiteral("PlayMusic"),
                               QStringLiteral("<absent>"));
    }
    QString Status() const { return window->LigneStatus[7]->text(); }
    // The Music items that carry a check mark.
    QStringList Checked() const {
        QStringList names;
        for (QAction* item :
             {window->FerralMus, window->GokurakuMus, window->MireloMus, window->GisorsMus})
            if (item->isChecked())
                names << item->text();
        return names;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Mirelo.ini"));
};

TEST_F(MusicTest, ATuneThatFailsToOpenIsNotSelectedAndTheMarkNamesTheTuneThatPlays) {
    sound->CanPlay = true;
    sound->Tunes = QStringList{QStringLiteral("gokuraku.mid"), QStringLiteral("gisors.mid")};
    sound->Unplayable = QStringList{QStringLiteral("gisors.mid")};
    Start(true);
    window->GokurakuMus->trigger();
    EXPECT_EQ(Status(), "Music GOKURAKU selected.");
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("Gokuraku")});

    // The sound keeps Gokuraku playing: the mark stays on it, nothing is "selected".
    window->GisorsMus->trigger();
    EXPECT_EQ(sound->Selected,
              (QStringList{QStringLiteral("gokuraku.mid"), QStringLiteral("gisors.mid")}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "\"gisors.mid\" is not a MIDI file.");
    EXPECT_EQ(Status(), "Music GOKURAKU selected.");
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("Gokuraku")});

    // A failure that left no tune open leaves no tune marked.
    sound->FailureClosesTune = true;
    window->GisorsMus->trigger();
    EXPECT_EQ(boxes.size(), 2u);
    EXPECT_EQ(Status(), "Music GOKURAKU selected.");
    EXPECT_EQ(Checked(), QStringList());
    // And a tune that opens is marked again.
    window->GokurakuMus->trigger();
    EXPECT_EQ(Checked(), QStringList{QStringLiteral("Gokuraku")});
}

} // namespace
} // namespace mirelo::test
