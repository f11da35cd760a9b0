// Feeds any bytes to the settings-file reader, as a damaged or hand-edited
// file would (UTF-16 ones included), then checks that a write survives a save
// and a fresh read.
#include "ProfileFile.h"

#include <QByteArrayView>
#include <QString>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Names the broken check, so a crash report says which promise failed.
void Require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz_profile: %s\n", what);
        std::abort();
    }
}

#define REQUIRE(condition) Require((condition), #condition)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using mirelo::ProfileFile;
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    ProfileFile profile;
    if (!profile.Parse(input)) {
        // UTF-16 that does not decode: refused whole, never half read.
        REQUIRE(input.startsWith("\xFF\xFE") || input.startsWith("\xFE\xFF"));
        REQUIRE(profile.Serialize().isEmpty());
        return 0;
    }
    // A file nobody wrote to comes back byte for byte, in its own encoding.
    REQUIRE(profile.Serialize() == input);

    const QString player =
        profile.ReadString(u"Mirelo", u"CurrentPlayer1", QStringLiteral("Player1"));
    const std::int32_t tileset = profile.ReadInteger(u"Mirelo", u"Tileset", 0);
    profile.ReadFlag(u"Mirelo", u"ShowMoves", true);
    const QString rank1 = profile.ReadString(u"Traditional", u"Rank1", QString());
    REQUIRE(player.size() <= ProfileFile::MaxValueLength);

    // Write back what was read, plus a value made from the raw input itself.
    QString raw = QString::fromUtf8(input.first(std::min<qsizetype>(input.size(), 200)));
    raw.remove(QLatin1Char('\n'));
    profile.WriteString(u"Mirelo", u"CurrentPlayer1", player);
    profile.WriteInteger(u"mirelo", u"TILESET", tileset);
    profile.WriteString(u"Traditional", u"Rank1", rank1);
    profile.WriteString(u"Fuzz", u"Raw", raw);

    ProfileFile reread;
    REQUIRE(reread.Parse(profile.Serialize()));
    REQUIRE(reread.ReadString(u"Mirelo", u"CurrentPlayer1") == player);
    REQUIRE(reread.ReadInteger(u"Mirelo", u"Tileset", tileset == 0 ? 1 : 0) == tileset);
    REQUIRE(reread.ReadString(u"Traditional", u"Rank1") == rank1);
    REQUIRE(reread.ReadString(u"Fuzz", u"Raw") == raw);
    // Writing the same values again changes nothing.
    const QByteArray once = profile.Serialize();
    reread.WriteString(u"Fuzz", u"Raw", raw);
    REQUIRE(reread.Serialize() == once);
    return 0;
}
