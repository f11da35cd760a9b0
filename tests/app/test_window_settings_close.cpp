// The save at the close: what others wrote meanwhile, a save that fails, and
// an end asked by the desktop.
#include "SettingsFixture.h"

#include <QAction>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

namespace mirelo::test {
namespace {

using Answer = TMirelo::WriteFailure;

// Files limited to `bytes` for as long as it lives, a limit root is held to
// too. Past it a write fails with an error instead of a signal.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

bool IsFifo(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}

TEST_F(SettingsTest, TheCloseChangesOnlyTheGamesOwnKeysInTheFileAsItIsThen) {
    WriteFile("[Mirelo]\nPlayMusic=0\nCurrentPlayer1=Ann\n");
    Start(false); // the silent edition: the sound keys are not its own
    // Meanwhile the full edition saves, and the player adds notes by hand.
    WriteFile("; kept by hand\n[Mirelo]\nPlayMusic=1\nCurrentPlayer1=Bob\n\n"
              "[Traditional]\nRank1=Bob       100    0\n");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("[MyNotes]\nkeep=this\n");
    }
    Close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(ReadFile().startsWith("; kept by hand\n[Mirelo]\nPlayMusic=1\n"));
    EXPECT_EQ(Value("MyNotes", "keep"), "this");
    EXPECT_EQ(Value("Mirelo", "PlayMusic"), "1");
    // The game's own keys, the Hall of Fame too, are written as it holds them.
    EXPECT_EQ(Value("Mirelo", "CurrentPlayer1"), "Ann");
    EXPECT_EQ(Value("Traditional", "Rank1"), "---       240    0");

    // A file that can no longer be read by the close is not written over.
    Start();
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    answers = {Answer::QuitWithoutSaving};
    Close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(writeFailures,
              QStringList{QStringLiteral("Unable to read %1: not a regular file").arg(path)});
    EXPECT_TRUE(IsFifo(path));
}

TEST_F(SettingsTest, AFailedSaveOffersRetryQuitWithoutSavingAndCancel) {
    const QByteArray old = "[Mirelo]\nCurrentPlayer1=Old\n";
    WriteFile(old);
    Start();
    probe().Menu.Highlight3->trigger();
    {
        const FileSizeLimit limit(64); // far less than the settings take
        answers = {Answer::Cancel};
        Close();
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(probe().Timer->isActive()); // back to the game, its clock running
        answers = {Answer::Retry, Answer::Retry, Answer::QuitWithoutSaving};
        Close();
    }
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(writeFailures.size(), 4); // each Retry wrote again
    for (const QString& text : writeFailures)
        EXPECT_EQ(text, "Unable to write to " + path);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(ReadFile(), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"Mirelo.ini"});

    // Retried once the cause is gone, the save goes through.
    Start();
    probe().Menu.Highlight3->trigger();
    std::optional<FileSizeLimit> limit(std::in_place, 64);
    onWriteFailure = [&] { limit.reset(); };
    answers = {Answer::Retry};
    Close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(writeFailures.size(), 5);
    EXPECT_EQ(Value("Mirelo", "Highlight"), "2");
    EXPECT_EQ(Value("Mirelo", "CurrentPlayer1"), "Old");
}

TEST_F(SettingsTest, TheFailedSaveBoxShowsTheReasonAndItsThreeAnswers) {
    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    path = dir.filePath(QStringLiteral("blocked/Mirelo.ini"));
    answerWriteFailures = false;
    Start();
    // Presses the button captioned `caption` in the box once it is up; what the box said.
    auto press = [&](const QString& caption) {
        auto seen = std::make_shared<QStringList>();
        auto poll = std::make_shared<std::function<void()>>();
        *poll = [seen, caption, again = std::weak_ptr(poll)] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                if (const auto next = again.lock())
                    QTimer::singleShot(10, *next);
                return;
            }
            seen->append(box->windowTitle());
            seen->append(box->text());
            for (QAbstractButton* button : box->buttons()) {
                seen->append(button->text().remove(QLatin1Char('&')));
                if (seen->back() == caption)
                    QTimer::singleShot(0, button, &QAbstractButton::click);
            }
        };
        QTimer::singleShot(0, *poll);
        window->close();
        QApplication::processEvents();
        return *seen;
    };
    const QStringList expected{"MIRELO 2.8", "Unable to write to " + path, "Retry",
                               "Quit without saving", "Cancel"};
    QStringList seen = press(QStringLiteral("Cancel"));
    seen.sort();
    QStringList sorted = expected;
    sorted.sort();
    EXPECT_EQ(seen, sorted);
    EXPECT_TRUE(window->isVisible());
    press(QStringLiteral("Quit without saving"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SettingsTest, TheDesktopsEndSavesOnceAndAsksNothing) {
    Start();
    probe().Menu.Highlight3->trigger();
    EXPECT_EQ(window->EndSession(), "");
    EXPECT_FALSE(probe().Timer->isActive());
    EXPECT_EQ(Value("Mirelo", "Highlight"), "2");
    WriteFile("[Mirelo]\nHighlight=0\n");
    Close(); // the window may still close, and writes nothing more
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Value("Mirelo", "Highlight"), "0");

    // A file that could not be read at start: not saved, and why.
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    Start();
    boxes.clear();
    EXPECT_EQ(
        window->EndSession(),
        QStringLiteral("Unable to read %1: not a regular file\nThe settings of this game were "
                       "not saved, so that file stays as it was.")
            .arg(path));
    EXPECT_TRUE(boxes.empty());

    QFile blocker(dir.filePath(QStringLiteral("blocked")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    path = dir.filePath(QStringLiteral("blocked/Mirelo.ini"));
    Start();
    EXPECT_EQ(window->EndSession(), "Unable to write to " + path);
    EXPECT_TRUE(writeFailures.isEmpty());
    EXPECT_TRUE(boxes.empty());

    // Ended while the box of a failed close is up: no further try once it goes.
    Start();
    QString ended;
    onWriteFailure = [&] { ended = window->EndSession(); };
    answers = {Answer::Retry};
    Close();
    EXPECT_EQ(ended, "Unable to write to " + path);
    EXPECT_EQ(writeFailures.size(), 1);
    EXPECT_FALSE(window->isVisible());
}

} // namespace
} // namespace mirelo::test
