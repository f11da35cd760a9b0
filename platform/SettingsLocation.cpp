#include "SettingsLocation.h"

#include <QDir>
#include <QtGlobal>

namespace mirelo {

QString SettingsFolder() {
    // A relative path would move the file with the working folder, so it is
    // ignored, as the XDG rules ask.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configHome.isEmpty() && QDir::isAbsolutePath(configHome)) {
        return QDir::cleanPath(configHome);
    }
    return QDir::homePath() + QStringLiteral("/.config");
}

QString SettingsFilePath() {
    return SettingsFolder() + QStringLiteral("/Mirelo.ini");
}

} // namespace mirelo
