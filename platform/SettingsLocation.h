#pragma once

#include <QString>

namespace mirelo {

// The one folder both editions keep their settings in: $XDG_CONFIG_HOME when it
// holds an absolute path, else ~/.config. Tests point XDG_CONFIG_HOME elsewhere.
QString SettingsFolder();

// The settings file, "Mirelo.ini" in SettingsFolder().
QString SettingsFilePath();

} // namespace mirelo
