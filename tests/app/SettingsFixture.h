#pragma once

#include "ProfileFile.h"
#include "WindowFixture.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

namespace mirelo::test {

// A main window that reads and writes a real Mirelo.ini in a folder of its own.
class SettingsTest : public WindowTest {
protected:
    // `useProgramsPath`: no path handed over, so the window finds the file where
    // the program does, from XDG_CONFIG_HOME.
    void Start(bool fullEdition = false, bool show = true, bool useProgramsPath = false) {
        window.reset(); // before the sound it was given
        clock.Tick = 1'000'000;
        clock.TimeOfDay = 45'296'789;
        sound = std::make_unique<RecordingSound>(fullEdition);
        sound->Reason = soundReason;
        sound->CanPlay = soundCanPlay;
        TMirelo::Environment env;
        env.Clock = &clock;
        env.Sound = sound.get();
        env.ScreenWidth = screenWidth;
        if (!useProgramsPath)
            env.SettingsPath = QFile::encodeName(path);
        window = std::make_unique<TMirelo>(env);
        window->InfoBox = [this](const QString& caption, const QString& text) {
            boxes.push_back({caption, text});
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
};

} // namespace mirelo::test
