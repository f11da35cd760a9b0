// Value forms: strings with their quotes and blanks, integers, flags.
#include "ProfileFile.h"

#include <gtest/gtest.h>

namespace mirelo {
namespace {

ProfileFile Parsed(QByteArrayView text) {
    ProfileFile profile;
    profile.Parse(text);
    return profile;
}

// Writes the value, then reads it back from a fresh parse of the written file.
QString RoundTrip(const QString& value, QByteArray* written = nullptr) {
    ProfileFile profile;
    profile.WriteString(u"Hall", u"Rank1", value);
    const QByteArray text = profile.Serialize();
    if (written) {
        *written = text;
    }
    return Parsed(text).ReadString(u"Hall", u"Rank1").value_or(QStringLiteral("<absent>"));
}

TEST(ProfileString, ValuesWithOuterBlanksOrQuotesComeBackExactly) {
    const QString values[] = {
        QStringLiteral("        240    0"),   // a Hall of Fame entry with an empty name
        QStringLiteral("---       240    0"), // the default entry
        QStringLiteral("Ann      "),
        QStringLiteral("\tTabbed\t"),
        QStringLiteral("\"quoted\""),
        QStringLiteral("\""),
        QStringLiteral("\"\""),
        QStringLiteral("a \"middle\" b"),
        QStringLiteral("semi ; colon = sign [x]"),
        QStringLiteral(""),
        QStringLiteral("Zoé 中"),
        QStringLiteral("\uFEFFstarts with a byte-order mark"),
    };
    for (const QString& value : values) {
        EXPECT_EQ(RoundTrip(value), value) << value.toStdString();
    }
    QByteArray written;
    RoundTrip(QStringLiteral("        240    0"), &written);
    EXPECT_EQ(written, QByteArray("[Hall]\nRank1=\"        240    0\"\n"));
    RoundTrip(QStringLiteral("Ann"), &written);
    EXPECT_EQ(written, QByteArray("[Hall]\nRank1=Ann\n"));
    RoundTrip(QString(), &written);
    EXPECT_EQ(written, QByteArray("[Hall]\nRank1=\n"));
}

TEST(ProfileString, AValueIsOneLine) {
    EXPECT_EQ(RoundTrip(QStringLiteral("two\nlines")), QStringLiteral("two lines"));
    EXPECT_EQ(RoundTrip(QStringLiteral("ends in\r")), QStringLiteral("ends in\r"));
}

TEST(ProfileString, ReadingTrimsBlanksThenStripsOnePairOfQuotes) {
    const ProfileFile profile = Parsed("[S]\n"
                                       "a=   plain text \t\n"
                                       "b =  \"  padded \"  \n"
                                       "c=\"\"twice\"\"\n"
                                       "d=\"open\n"
                                       "e=  \"\"\n"
                                       "f=inner \"quotes\" stay\n");
    EXPECT_EQ(profile.ReadString(u"S", u"a"), QStringLiteral("plain text"));
    EXPECT_EQ(profile.ReadString(u"S", u"b"), QStringLiteral("  padded "));
    EXPECT_EQ(profile.ReadString(u"S", u"c"), QStringLiteral("\"twice\""));
    EXPECT_EQ(profile.ReadString(u"S", u"d"), QStringLiteral("\"open"));
    EXPECT_EQ(profile.ReadString(u"S", u"e"), QString());
    EXPECT_EQ(profile.ReadString(u"S", u"f"), QStringLiteral("inner \"quotes\" stay"));
}

TEST(ProfileString, AnEmptyValueIsNotAnAbsentKey) {
    const ProfileFile profile = Parsed("[Mirelo]\nCurrentPlayer1=\n");
    const auto present = profile.ReadString(u"Mirelo", u"CurrentPlayer1");
    ASSERT_TRUE(present.has_value());
    EXPECT_TRUE(present->isEmpty());
    EXPECT_EQ(profile.ReadString(u"Mirelo", u"CurrentPlayer1", QStringLiteral("Player1")),
              QString());
    EXPECT_FALSE(profile.ReadString(u"Mirelo", u"Missing").has_value());
    EXPECT_EQ(profile.ReadString(u"Mirelo", u"Missing", QStringLiteral("Player1")),
              QStringLiteral("Player1"));
    EXPECT_EQ(profile.ReadInteger(u"Mirelo", u"CurrentPlayer1", 7), 7);
}

TEST(ProfileString, ReadsStopAt1023Characters) {
    const QString longValue(1500, QLatin1Char('x'));
    EXPECT_EQ(RoundTrip(longValue), longValue.left(ProfileFile::MaxValueLength));

    // A character outside the basic plane is kept whole or left out, never halved.
    const QString astral = QString(1022, QLatin1Char('x')) + QString::fromUcs4(U"\U0001F004");
    const QString read = RoundTrip(astral);
    EXPECT_EQ(read, astral.left(1022));
}

struct IntegerCase {
    const char* text;
    std::optional<std::int32_t> value;
};

TEST(ProfileInteger, AcceptsTheClassicFormsAndNothingElse) {
    const IntegerCase cases[] = {
        {"0x2", 2},
        {"0X2", 2},
        {"$2", 2},
        {"0x", {}},
        {"0X", {}},
        {"$", {}},
        {"0xff", 255},
        {"$Ff", 255},
        {"0x7FFFFFFF", 2147483647},
        {"$7FFFFFFF", 2147483647},
        {"$80000000", {}},
        {" 12", 12},
        {"   $10", 16},
        {" 0x10", {}},
        {"-5", -5},
        {"+5", 5},
        {"-", {}},
        {"+", {}},
        {"12abc", {}},
        {"12 ", {}},
        {"1 2", {}},
        {"", {}},
        {"abc", {}},
        {"2147483647", 2147483647},
        {"2147483648", {}},
        {"-2147483648", INT32_MIN},
        {"-2147483649", {}},
        {"99999999999999999999", {}},
        {"00000000000000000042", 42},
        {"-$5", {}},
        {"$-5", {}},
        {"0x-5", {}},
        {"0x 5", {}},
        {"\t7", {}},
        {"٣", {}},
    };
    for (const IntegerCase& c : cases) {
        EXPECT_EQ(ParseProfileInteger(QString::fromUtf8(c.text)), c.value) << '"' << c.text << '"';
    }
}

TEST(ProfileInteger, ReadsFallBackToTheDefault) {
    const ProfileFile profile = Parsed("[Mirelo]\n"
                                       "Tileset=0x2\n"
                                       "Highlight = 0x\n"
                                       "Background=\" 1\"\n"
                                       "Empty=\n");
    EXPECT_EQ(profile.ReadInteger(u"Mirelo", u"Tileset", 0), 2);
    EXPECT_EQ(profile.ReadInteger(u"Mirelo", u"Highlight", 1), 1);
    EXPECT_EQ(profile.ReadInteger(u"Mirelo", u"Background", 9), 1);
    EXPECT_EQ(profile.ReadInteger(u"Mirelo", u"Empty", 3), 3);
    EXPECT_EQ(profile.ReadInteger(u"Mirelo", u"Missing", -4), -4);
}

TEST(ProfileInteger, WritesDecimal) {
    ProfileFile profile;
    profile.WriteInteger(u"S", u"neg", -2147483647 - 1);
    profile.WriteInteger(u"S", u"pos", 255);
    EXPECT_EQ(profile.Serialize(), QByteArray("[S]\nneg=-2147483648\npos=255\n"));
}

TEST(ProfileFlag, AnyNonZeroIsTrueAndWritesBackAsOne) {
    ProfileFile profile = Parsed("[Mirelo]\nShowMoves=5\nPlayMusic=0\nNeverWarn=yes\n"
                                 "StartDirectly=-1\n");
    EXPECT_TRUE(profile.ReadFlag(u"Mirelo", u"ShowMoves", false));
    EXPECT_FALSE(profile.ReadFlag(u"Mirelo", u"PlayMusic", true));
    EXPECT_TRUE(profile.ReadFlag(u"Mirelo", u"NeverWarn", true));
    EXPECT_FALSE(profile.ReadFlag(u"Mirelo", u"NeverWarn", false));
    EXPECT_TRUE(profile.ReadFlag(u"Mirelo", u"StartDirectly", false));
    EXPECT_TRUE(profile.ReadFlag(u"Mirelo", u"Missing", true));

    profile.WriteFlag(u"Mirelo", u"ShowMoves", profile.ReadFlag(u"Mirelo", u"ShowMoves", false));
    profile.WriteFlag(u"Mirelo", u"PlayMusic", false);
    EXPECT_EQ(profile.Serialize(), QByteArray("[Mirelo]\nShowMoves=1\nPlayMusic=0\nNeverWarn=yes\n"
                                              "StartDirectly=-1\n"));
}

} // namespace
} // namespace mirelo
