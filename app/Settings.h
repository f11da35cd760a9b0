#pragma once

#include "Options.h"

namespace mirelo {

class HallOfFame;
class ProfileFile;

inline constexpr char SettingsSection[] = "Mirelo";

// The options and the Hall of Fame from the settings file, key by key in the
// file's order; missing or unreadable values take their defaults. The silent
// edition (`withSound` false) neither reads nor writes the two sound keys, so
// it leaves them as the full edition wrote them.
Options ReadSettings(const ProfileFile& file, bool withSound, HallOfFame& hall);

// Writes every option and all fifty Hall of Fame entries into `file`, in the
// same order; every other line of the file stays as it was.
void WriteSettings(ProfileFile& file, const Options& options, bool withSound, const HallOfFame& hall);

} // namespace mirelo
