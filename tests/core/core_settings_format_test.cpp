#include "drill/settings_format.h"

#include "named_rows.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

using named_rows::PrintTo;

struct ParseCase {
    const char* name;
    QByteArray content;
    bool soundOn;
    const char* operation;
    const char* level;
};

class ParseSettings : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSettings, ReadsFirstThreeLines)
{
    const drill::SavedSettings s = drill::parseSettings(GetParam().content);
    EXPECT_EQ(s.soundOn, GetParam().soundOn);
    EXPECT_EQ(s.operation, QString::fromLatin1(GetParam().operation));
    EXPECT_EQ(s.level, QString::fromLatin1(GetParam().level));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ParseSettings,
    ::testing::Values(
        ParseCase{"defaults", "True\nAdd\nEasy\n", true, "Add", "Easy"},
        ParseCase{"written", "False\nDivide\nHard\n", false, "Divide", "Hard"},
        ParseCase{"empty", "", false, "", ""},
        ParseCase{"emptyFirstLine", "\nRoman\nMedium\n", false, "Roman", "Medium"},
        ParseCase{"lowerCase", "true\nalgebra\nhARD", true, "Algebra", "Hard"},
        ParseCase{"blankAfterValue", "True \nAdd \nEasy ", false, "", ""},
        ParseCase{"caption", "True\nRoman Numerals\nHard\n", true, "", "Hard"},
        ParseCase{"missingLevel", "True\nMultiply", true, "Multiply", ""},
        ParseCase{"onlySound", "True", true, "", ""},
        ParseCase{"moreLines", "False\nSubtract\nMedium\nAdd\nEasy\n", false, "Subtract", "Medium"},
        ParseCase{"crLineEnds", "True\rDivide\rEasy\r", true, "Divide", "Easy"},
        ParseCase{"crlfLineEnds", "True\r\nDivide\r\nEasy\r\n", true, "Divide", "Easy"},
        ParseCase{"crCrIsEmptyLine", "True\r\rEasy\r", true, "", "Easy"},
        ParseCase{"byteOrderMark", "\xEF\xBB\xBFTrue\nAdd\nHard\n", true, "Add", "Hard"},
        ParseCase{"markNotAtStart", "True\n\xEF\xBB\xBF" "Add\nHard\n", true, "", "Hard"},
        ParseCase{"nulInLine", QByteArray("True\nAd\0d\nEasy\n", 15), true, "", "Easy"},
        ParseCase{"binary", QByteArray("\xff\xfe\x00\x01\x80\nAdd\n\xc3", 10), false, "Add", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseSettings, HugeContentIsNotReadToTheEnd)
{
    const QByteArray huge(50 * 1024 * 1024, 'x');
    const auto begin = std::chrono::steady_clock::now();
    const drill::SavedSettings s = drill::parseSettings(huge);
    EXPECT_LT(std::chrono::steady_clock::now() - begin, std::chrono::milliseconds(200));
    EXPECT_FALSE(s.soundOn);
    EXPECT_EQ(s.operation, "");

    // A first line that runs past what is looked at must not turn into a
    // shorter line that happens to match.
    QByteArray longFirst(drill::kSettingsPrefixLength - 4, 'x');
    longFirst += "\nAdd" + QByteArray(100, 'x') + "\nEasy\n";
    EXPECT_EQ(drill::parseSettings(longFirst).operation, "");

    EXPECT_EQ(drill::parseSettings("True\nHard\n" + QByteArray(10'000'000, '\n')).level, "");
}

struct FormatCase {
    const char* name;
    bool soundOn;
    const char* operation;
    const char* level;
    QByteArray content;
};

class FormatSettings : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatSettings, WritesLines)
{
    const FormatCase& c = GetParam();
    const QByteArray content =
        drill::formatSettings(c.soundOn, QString::fromLatin1(c.operation), QString::fromLatin1(c.level));
    EXPECT_EQ(content, c.content);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FormatSettings,
    ::testing::Values(FormatCase{"soundsOffDivideHard", false, "Divide", "Hard", "False\nDivide\nHard\n"},
                      FormatCase{"noOperation", true, "", "Medium", "True\nMedium\n"},
                      FormatCase{"noLevel", true, "Roman", "", "True\nRoman\n"},
                      FormatCase{"nothing", false, "", "", "False\n"},
                      FormatCase{"notAButtonName", true, "Add\nHard", "Easy", "True\nEasy\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Settings, DefaultsAndRoundTrip)
{
    EXPECT_EQ(drill::defaultSettings(), "True\nAdd\nEasy\n");
    const drill::SavedSettings s = drill::parseSettings(drill::formatSettings(false, "Algebra", "Medium"));
    EXPECT_FALSE(s.soundOn);
    EXPECT_EQ(s.operation, "Algebra");
    EXPECT_EQ(s.level, "Medium");
}

} // namespace
