// The file's structure: lookup, line ends, and writes that touch one line only.
#include "ProfileFile.h"

#include <QStringEncoder>
#include <gtest/gtest.h>

namespace mirelo {
namespace {

ProfileFile Parsed(QByteArrayView text) {
    ProfileFile profile;
    profile.Parse(text);
    return profile;
}

QString Read(const ProfileFile& profile, const char* section, const char* key) {
    return profile.ReadString(QString::fromLatin1(section), QString::fromLatin1(key))
        .value_or(QStringLiteral("<absent>"));
}

TEST(ProfileLookup, FindsSectionsAndKeysWithoutRegardToCaseOrBlanks) {
    const ProfileFile profile = Parsed("[ Mirelo ]\n"
                                       "  TileSet =2\n"
                                       "\tHIGHLIGHT\t=\t0\n"
                                       "[traditional]\n"
                                       "rank1=Ann\n");
    EXPECT_EQ(Read(profile, "mirelo", "tileset"), QStringLiteral("2"));
    EXPECT_EQ(Read(profile, "MIRELO", "Highlight"), QStringLiteral("0"));
    EXPECT_EQ(Read(profile, "Traditional", "Rank1"), QStringLiteral("Ann"));
    // Keys belong to their own section only.
    EXPECT_EQ(Read(profile, "Traditional", "Tileset"), QStringLiteral("<absent>"));
    EXPECT_EQ(Read(profile, "Dragon", "Rank1"), QStringLiteral("<absent>"));
}

TEST(ProfileLookup, TheFirstOfRepeatedSectionsAndKeysCounts) {
    ProfileFile profile = Parsed("[A]\nk=1\nk=2\n[B]\n[a]\nk=3\nonly=4\n");
    EXPECT_EQ(Read(profile, "A", "k"), QStringLiteral("1"));
    EXPECT_EQ(Read(profile, "A", "only"), QStringLiteral("<absent>"));
    profile.WriteString(u"a", u"K", QStringLiteral("9"));
    EXPECT_EQ(profile.Serialize(), QByteArray("[A]\nk=9\nk=2\n[B]\n[a]\nk=3\nonly=4\n"));
}

TEST(ProfileLookup, CommentsHeadersAndKeylessLinesAreNoKeys) {
    const ProfileFile profile = Parsed("k=before any section\n"
                                       "[S]\n"
                                       ";k=1\n"
                                       "  # other=2\n"
                                       "=3\n"
                                       "no equals sign\n"
                                       "[broken\n"
                                       "later=4\n");
    EXPECT_EQ(Read(profile, "S", "k"), QStringLiteral("<absent>"));
    EXPECT_EQ(Read(profile, "S", "# other"), QStringLiteral("<absent>"));
    EXPECT_EQ(Read(profile, "S", "no equals sign"), QStringLiteral("<absent>"));
    // A bracket line without "]" opens nothing: its key stays in [S].
    EXPECT_EQ(Read(profile, "S", "later"), QStringLiteral("4"));
}

TEST(ProfileLineEnds, LfCrlfAndBomReadAlikeAndComeBackUnchanged) {
    const QByteArray lf = "[Mirelo]\nTileset=1\nCurrentPlayer1=Zoé\n";
    QByteArray crlf = lf;
    crlf.replace("\n", "\r\n");
    const QByteArray bom = "\xEF\xBB\xBF" + crlf;
    for (const QByteArray& text : {lf, crlf, bom}) {
        SCOPED_TRACE(text.toStdString());
        const ProfileFile profile = Parsed(text);
        EXPECT_EQ(Read(profile, "Mirelo", "Tileset"), QStringLiteral("1"));
        EXPECT_EQ(Read(profile, "Mirelo", "CurrentPlayer1"), QStringLiteral("Zoé"));
        EXPECT_EQ(profile.Serialize(), text);
    }
}

TEST(ProfileEncoding, Utf16WithAMarkIsReadAndWrittenInItsOwnByteOrder) {
    const QString text = QString::fromUtf8("[Mirelo]\r\nCurrentPlayer1=Zoé 🀄\r\n");
    for (const bool little : {true, false}) {
        const auto utf16 = [little](const QString& s) -> QByteArray {
            return (little ? QByteArray("\xFF\xFE") : QByteArray("\xFE\xFF")) +
                   QStringEncoder(little ? QStringConverter::Utf16LE : QStringConverter::Utf16BE)
                       .encode(s);
        };
        const QByteArray bytes = utf16(text);
        ProfileFile profile;
        ASSERT_TRUE(profile.Parse(bytes));
        EXPECT_EQ(Read(profile, "Mirelo", "CurrentPlayer1"), QString::fromUtf8("Zoé 🀄"));
        EXPECT_EQ(profile.Serialize(), bytes);
        profile.WriteInteger(u"Mirelo", u"Tileset", 2);
        EXPECT_EQ(profile.Serialize(), utf16(text + QStringLiteral("Tileset=2\r\n")));
    }
}

TEST(ProfileEncoding, Utf16ThatDoesNotDecodeIsRefusedWhole) {
    // An odd byte at the end; half of a character outside the BMP.
    for (const QByteArray& bytes :
         {QByteArray("\xFF\xFE[\0A\0]\0\n", 9), QByteArray("\xFE\xFF\0k\0=\xD8\x3C\0\n", 10)}) {
        ProfileFile profile;
        profile.Parse("[Old]\nk=1\n");
        EXPECT_FALSE(profile.Parse(bytes));
        EXPECT_TRUE(profile.Serialize().isEmpty());
    }
}

TEST(ProfileLineEnds, NewLinesFollowTheFilesStyleAndKeepItsBom) {
    ProfileFile profile = Parsed("\xEF\xBB\xBF[Mirelo]\r\nTileset=1\r\n");
    profile.WriteInteger(u"Mirelo", u"Highlight", 2);
    profile.WriteInteger(u"Dragon", u"Rank1", 3);
    EXPECT_EQ(profile.Serialize(), QByteArray("\xEF\xBB\xBF[Mirelo]\r\nTileset=1\r\nHighlight=2\r\n"
                                              "\r\n[Dragon]\r\nRank1=3\r\n"));

    ProfileFile fresh;
    fresh.WriteFlag(u"Mirelo", u"NeverWarn", false);
    EXPECT_EQ(fresh.Serialize(), QByteArray("[Mirelo]\nNeverWarn=0\n"));
}

TEST(ProfileWrite, ReplacesOneValueAndKeepsEverythingElseByteForByte) {
    const QByteArray before = "; written by hand\r\n"
                              "[Mirelo]\r\n"
                              "Tileset = 2   ; red\r\n"
                              "# old key, no longer read\r\n"
                              "Volume=11\r\n"
                              "\r\n"
                              "[Plugins]\r\n"
                              "Odd Key  =  keep  me  \r\n";
    ProfileFile profile = Parsed(before);
    profile.WriteInteger(u"MIRELO", u"tileset", 0);
    QByteArray expected = before;
    expected.replace("Tileset = 2   ; red", "Tileset = 0");
    EXPECT_EQ(profile.Serialize(), expected);
}

TEST(ProfileWrite, CreatesKeysAtTheEndOfTheirSectionBeforeBlankLines) {
    ProfileFile profile = Parsed("[Mirelo]\nTileset=1\n\n\n[Dragon]\nRank1=x\n");
    profile.WriteString(u"Mirelo", u"CurrentPlayer1", QStringLiteral("Ann"));
    profile.WriteString(u"Mirelo", u"Background", QStringLiteral("1"));
    profile.WriteString(u"Dragon", u"Rank2", QStringLiteral("y"));
    EXPECT_EQ(profile.Serialize(),
              QByteArray("[Mirelo]\nTileset=1\nCurrentPlayer1=Ann\nBackground=1\n\n\n"
                         "[Dragon]\nRank1=x\nRank2=y\n"));
    // Later writes find the created keys instead of adding them twice.
    profile.WriteString(u"mirelo", u"currentplayer1", QStringLiteral("Bob"));
    EXPECT_EQ(Read(profile, "Mirelo", "CurrentPlayer1"), QStringLiteral("Bob"));
    EXPECT_EQ(profile.Serialize().count("urrentPlayer1="), 1);
}

TEST(ProfileWrite, AFileWithoutFinalLineEndGetsOneBeforeNewLines) {
    ProfileFile keyAdded = Parsed("[A]\r\nk=1");
    keyAdded.WriteString(u"A", u"m", QStringLiteral("2"));
    EXPECT_EQ(keyAdded.Serialize(), QByteArray("[A]\r\nk=1\r\nm=2\r\n"));

    ProfileFile sectionAdded = Parsed("; only a comment");
    sectionAdded.WriteString(u"B", u"k", QStringLiteral("v"));
    EXPECT_EQ(sectionAdded.Serialize(), QByteArray("; only a comment\n\n[B]\nk=v\n"));

    ProfileFile replaced = Parsed("[A]\nk=1");
    replaced.WriteString(u"A", u"k", QStringLiteral("22"));
    EXPECT_EQ(replaced.Serialize(), QByteArray("[A]\nk=22"));
}

TEST(ProfileWrite, ATenThousandLineFileKeepsEveryOtherLine) {
    QByteArray text;
    for (int s = 0; s < 100; ++s) {
        text += "[Section" + QByteArray::number(s) + "]\r\n";
        for (int k = 0; k < 99; ++k) {
            text += "Key" + QByteArray::number(k) + "=" + QByteArray::number(s * 1000 + k) + "\r\n";
        }
    }
    ProfileFile profile = Parsed(text);
    EXPECT_EQ(profile.ReadInteger(u"section99", u"key98", -1), 99098);
    EXPECT_EQ(profile.ReadInteger(u"Section0", u"Key0", -1), 0);
    EXPECT_EQ(profile.ReadInteger(u"Section50", u"Key100", -1), -1);

    profile.WriteInteger(u"Section50", u"Key7", -7);
    profile.WriteInteger(u"Section50", u"Key99", 12);
    QByteArray expected = text;
    expected.replace("Key7=50007\r\n", "Key7=-7\r\n");
    expected.replace("Key98=50098\r\n", "Key98=50098\r\nKey99=12\r\n");
    EXPECT_EQ(profile.Serialize(), expected);
}

} // namespace
} // namespace mirelo
