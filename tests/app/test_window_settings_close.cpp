// The save at the close: what others wrote meanwhile.
#include "SettingsFixture.h"

namespace mirelo::test {
namespace {

TEST_F(SettingsTest, TheCloseChangesOnlyTheGamesOwnKeysInTheFileAsItIsThen) {
    WriteFile("[Mirelo]\nPlayMusic=0\nCurrentPlayer1=Ann\n");
    Start(false); // the silent edition: the sound keys are not its own
    // Meanwhile the full edition saves, and the player adds notes by hand.
    WriteFile("; kept by hand\n[Mirelo]\nPlayMusic=1\nCurrentPlayer1=Bob\n\n"
              "[Traditional]\nRank1=Bob       100    0\n");
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("[MyNotes]\nkeep=this\n");
    }
    Close();
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(ReadFile().startsWith("; kept by hand\n[Mirelo]\nPlayMusic=1\n"));
    EXPECT_EQ(Value("MyNotes", "keep"), "this");
    EXPECT_EQ(Value("Mirelo", "PlayMusic"), "1");
    // The game's own keys, the Hall of Fame too, are written as it holds them.
    EXPECT_EQ(Value("Mirelo", "CurrentPlayer1"), "Ann");
    EXPECT_EQ(Value("Traditional", "Rank1"), "---       240    0");
}

} // namespace
} // namespace mirelo::test
