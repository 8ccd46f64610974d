#include <gtest/gtest.h>

#include "startup/command_line.h"

using namespace ts;

TEST(CommandLine, RebuildsTextFromArguments) {
    EXPECT_EQ(joinArguments({"my game.tsp", "msgbox", "\"Hi there\""}), "\"my game.tsp\" msgbox \"Hi there\"");
    EXPECT_EQ(joinArguments({"game.tsp", "-tset src=a"}), "game.tsp -tset src=a");
    EXPECT_EQ(joinArguments({}), "");
}

TEST(CommandLine, SingleConversionArgumentWithBlanksIsAConversion) {
    // How build scripts pass a whole conversion: one argument.
    auto p = splitProjectAndRest(joinArguments({"-tset src=a:-tset src=b"}));
    EXPECT_EQ(p.projectPath, "projet.tsp");
    EXPECT_EQ(p.rest, "-tset src=a:-tset src=b");
}

TEST(CommandLine, FirstArgumentWithItsOwnQuotesFollowsTheQuotingRule) {
    auto p = splitProjectAndRest(joinArguments({"\"my game.tsp\" -tset src=a"}));
    EXPECT_EQ(p.projectPath, "my game.tsp");
    EXPECT_EQ(p.rest, "-tset src=a");
    p = splitProjectAndRest(joinArguments({"\"my game.tsp\"", "end"}));
    EXPECT_EQ(p.projectPath, "my game.tsp");
    EXPECT_EQ(p.rest, "end");
}

TEST(CommandLine, ProjectPathAndRest) {
    auto p = splitProjectAndRest("");
    EXPECT_EQ(p.projectPath, "projet.tsp");
    EXPECT_EQ(p.rest, "");
    p = splitProjectAndRest("-tset src=ship");
    EXPECT_EQ(p.projectPath, "projet.tsp");
    EXPECT_EQ(p.rest, "-tset src=ship");
    p = splitProjectAndRest("\"my dir/p.tsp\"  \t-tset src=a:-bmp src=b");
    EXPECT_EQ(p.projectPath, "my dir/p.tsp");
    EXPECT_EQ(p.rest, "-tset src=a:-bmp src=b");
    p = splitProjectAndRest("game.tsp msgbox \"a\";end");
    EXPECT_EQ(p.projectPath, "game.tsp");
    EXPECT_EQ(p.rest, "msgbox \"a\";end");
    p = splitProjectAndRest("\"unterminated path msgbox");
    EXPECT_EQ(p.projectPath, "unterminated path msgbox");
    EXPECT_EQ(p.rest, "");
}

TEST(CommandLine, ConversionPiecesKeepQuotedColons) {
    auto pieces = splitConversionPieces("-tset src=\"c:/a.png\":-bmp src=b");
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_EQ(pieces[0], "-tset src=\"c:/a.png\"");
    EXPECT_EQ(pieces[1], "-bmp src=b");
}
