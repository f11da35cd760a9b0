#pragma once

#include "Options.h"
#include "ProfileFile.h"

namespace mirelo {

class HallOfFame;

inline constexpr char SettingsSection[] = "Mirelo";

// Mirelo.ini as read once at start.
struct StoredSettings {
    ProfileFile File;
    // Why a file that exists could not be read ("Unable to read <path>: <why>"),
    // empty when it was read or is absent. Such a file is never written over.
    QString ReadError;
};
StoredSettings LoadStoredSettings(const QByteArray& path);

// The options and the Hall of Fame from the settings file, key by key in the
// file's order; missing or unreadable values take their defaults. The silent
// edition (`withSound` false) neither reads nor writes the two sound keys, so
// it leaves them as the full edition wrote them.
Options ReadSettings(const ProfileFile& file, bool withSound, HallOfFame& hall);

// Writes every option and all fifty Hall of Fame entries into `file`, in the
// same order; every other line of the file stays as it was. These are the keys
// the game owns: the close reads the file afresh and writes only them into it,
// so what others wrote in the meantime survives.
void WriteSettings(ProfileFile& file, const Options& options, bool withSound,
                   const HallOfFame& hall);

// The QT_SCALE_FACTOR that makes the window `zoom` % of what the desktop's own
// factor `desktop` (empty for none) makes it. Qt reads it once, as it starts.
QByteArray ZoomedScaleFactor(const QByteArray& desktop, int zoom);

} // namespace mirelo
