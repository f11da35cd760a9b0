#include "SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QtGlobal>

namespace mirelo {

namespace {

// Cleans the path as QDir::cleanPath does when Qt can spell it; otherwise only
// trailing slashes go.
QByteArray CleanFolder(QByteArray folder) {
    const QString spelled = QFile::decodeName(folder);
    if (QFile::encodeName(spelled) == folder) {
        return QFile::encodeName(QDir::cleanPath(spelled));
    }
    while (folder.size() > 1 && folder.endsWith('/')) {
        folder.chop(1);
    }
    return folder;
}

} // namespace

QByteArray SettingsFolder() {
    // A relative path would move the file with the working folder, so it is
    // ignored, as the XDG rules ask.
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    if (configHome.startsWith('/')) {
        return CleanFolder(configHome);
    }
    const QByteArray home = qgetenv("HOME");
    return CleanFolder(home.startsWith('/') ? home : QFile::encodeName(QDir::homePath())) +
           QByteArrayLiteral("/.config");
}

QByteArray SettingsFilePath() {
    return SettingsFolder() + QByteArrayLiteral("/Mirelo.ini");
}

} // namespace mirelo
