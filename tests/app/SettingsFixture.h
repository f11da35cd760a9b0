#pragma once

#include "ProfileFile.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <deque>
#include <functional>

namespace mirelo::test {

// A main window that reads and writes a real Mirelo.ini in a folder of its own.
class SettingsTest : public WindowTest {
protected:
    // `useProgramsPath`: no path handed over, so the window finds the file where
    // the program does, from XDG_CONFIG_HOME.
    void Start(bool fullEdition = false, bool show = true, bool useProgramsPath = false) {
        window.reset(); // before the sound it was given
        sound = std::make_unique<RecordingSound>(fullEdition);
        sound->Reason = soundReason;
        sound->CanPlay = soundCanPlay;
        Open(show, useProgramsPath);
    }
    // The window with the sound the test has set up, reading `path`.
    void Open(bool show = true, bool useProgramsPath = false) {
        window.reset();
        clock.Tick = 1'000'000;
        clock.TimeOfDay = 45'296'789;
        TMirelo::Environment env;
        env.Clock = &clock;
        env.Sound = sound.get();
        env.ScreenWidth = screenWidth;
        if (!useProgramsPath)
            env.SettingsPath = QFile::encodeName(path);
        window = std::make_unique<TMirelo>(env);
        probe().InfoBox = [this](const QString& caption, const QString& text) {
            boxes.push_back({caption, text});
        };
        if (!answerWriteFailures)
            return Show(show);
        probe().WriteFailedBox = [this](const QString& text) {
            writeFailures.push_back(text);
            if (onWriteFailure)
                onWriteFailure();
            if (answers.empty())
                return TMirelo::WriteFailure::Cancel;
            const TMirelo::WriteFailure answer = answers.front();
            answers.pop_front();
            return answer;
        };
        Show(show);
    }
    void Show(bool show) {
        if (!show)
            return;
        window->show();
        Settle();
    }
    // The first paint, then the sound settings it schedules.
    static void Settle() {
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void Close() {
        window->close();
        QApplication::processEvents();
    }
    void WriteFile(const QByteArray& text) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QByteArray ReadFile() const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString Value(const char* section, const char* key) const {
        ProfileFile profile;
        profile.Load(path);
        return profile.ReadString(QString::fromLatin1(section), QString::fromLatin1(key),
                                  QStringLiteral("<absent>"));
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Mirelo.ini"));
    int screenWidth = 800;
    QString soundReason;
    bool soundCanPlay = false;
    // False: the real box for a failed save comes up, for the test to answer.
    bool answerWriteFailures = true;
    // The answers the box for a failed save gives, in turn; Cancel once they run out.
    std::deque<TMirelo::WriteFailure> answers;
    QStringList writeFailures;            // the texts of those boxes
    std::function<void()> onWriteFailure; // runs while such a box is up
};

} // namespace mirelo::test
