#pragma once

#include <QByteArray>
#include <QString>

namespace mirelo {

// The one folder both editions keep their settings in: $XDG_CONFIG_HOME when it
// holds an absolute path, else ~/.config. Tests point XDG_CONFIG_HOME elsewhere.
// In the file system's own bytes: a folder name need not be UTF-8, and a
// QString would turn such a name into another folder's.
QByteArray SettingsFolder();

// The settings file, "Mirelo.ini" in SettingsFolder().
QByteArray SettingsFilePath();

} // namespace mirelo
