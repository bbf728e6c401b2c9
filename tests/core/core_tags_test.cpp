#include "update/tags.h"
#include "update/version_compare.h"

#include "named_rows.h"

#include <gtest/gtest.h>

namespace {

using named_rows::PrintTo;

struct TagCase {
    const char* name;
    const char* text;
    const char* tag;
    const char* value;
};

class ReturnValue : public ::testing::TestWithParam<TagCase> {};

TEST_P(ReturnValue, CutsValue)
{
    const TagCase& c = GetParam();
    EXPECT_EQ(update::returnValue(QString::fromUtf8(c.text), QString::fromLatin1(c.tag)), QString::fromUtf8(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReturnValue,
    ::testing::Values(
        TagCase{"plain", "<x><CurrentVersion>3.3.0</CurrentVersion></x>", "CurrentVersion", "3.3.0"},
        TagCase{"firstOfTwo", "<Free>Yes</Free><Free>No</Free>", "Free", "Yes"},
        TagCase{"emptyElement", "<Free></Free>", "Free", ""},
        TagCase{"multiLine", "<Description>\nLine one\r\nLine two\n</Description>", "Description",
                "\nLine one\r\nLine two\n"},
        // No start tag: the search starts at Len("Free") + 2 = 6.
        TagCase{"missingStartTag", "abcdefgh</Free>", "Free", "fgh"},
        TagCase{"missingStartTagEndTooEarly", "</Free>abc", "Free", ""},
        TagCase{"missingEndTag", "<Free>Yes", "Free", ""},
        TagCase{"endTagBeforeStart", "</Free><Free>Yes", "Free", ""},
        TagCase{"attributesNotFound", "<Free a=\"1\">Yes</Free>", "Free", " a=\"1\">Yes"},
        TagCase{"caseIgnored", "<free>Yes</FREE>", "Free", "Yes"},
        TagCase{"emptyText", "", "Free", ""},
        TagCase{"notXmlDecoded", "<Description>a &amp; b</Description>", "Description", "a &amp; b"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Tags, StartAndEndTag)
{
    EXPECT_EQ(update::startTag("Free"), "<Free>");
    EXPECT_EQ(update::endTag("Free"), "</Free>");
}

TEST(Tags, CutDescription)
{
    EXPECT_EQ(update::cutForDisplay("short"), "short");
    const QString exact(update::kMaxShownLength, u'a');
    EXPECT_EQ(update::cutForDisplay(exact), exact);
    EXPECT_EQ(update::cutForDisplay(exact + "b").size(), update::kMaxShownLength);

    // An emoji straddling the cut is dropped whole, not split.
    const QString straddling = QString(update::kMaxShownLength - 1, u'a') + QStringLiteral("\U0001F600") + "z";
    const QString cut = update::cutForDisplay(straddling);
    EXPECT_EQ(cut.size(), update::kMaxShownLength - 1);
    EXPECT_FALSE(cut.back().isHighSurrogate());
}

struct VersionCase {
    const char* name;
    const char* published;
    qint32 major, minor, bug;
    bool agree;
};

class VersionsAgree : public ::testing::TestWithParam<VersionCase> {};

TEST_P(VersionsAgree, ComparesThreeFields)
{
    const VersionCase& c = GetParam();
    EXPECT_EQ(update::versionsAgree(QString::fromLatin1(c.published), c.major, c.minor, c.bug), c.agree);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VersionsAgree,
    ::testing::Values(VersionCase{"same", "3.3.0", 3, 3, 0, true}, VersionCase{"missingField", "3.3", 3, 3, 0, true},
                      VersionCase{"fourthFieldIgnored", "3.3.0.9", 3, 3, 0, true},
                      VersionCase{"leadingZero", "3.03.0", 3, 3, 0, true},
                      VersionCase{"blankInField", "3. 3.0", 3, 3, 0, false},
                      VersionCase{"older", "3.2.9", 3, 3, 0, false}, VersionCase{"newer", "3.3.1", 3, 3, 0, false},
                      VersionCase{"emptyIsZero", "", 0, 0, 0, true}, VersionCase{"emptyAgainstRunning", "", 1, 0, 0, false},
                      VersionCase{"errorPage", "<html>404</html>", 1, 0, 0, false},
                      VersionCase{"hugeField", "99999999999999999999.0.0", 2147483647, 0, 0, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsFreeUpgrade, OnlyYes)
{
    EXPECT_TRUE(update::isFreeUpgrade("Yes"));
    EXPECT_TRUE(update::isFreeUpgrade("yes"));
    EXPECT_FALSE(update::isFreeUpgrade(" Yes"));
    EXPECT_FALSE(update::isFreeUpgrade("No"));
    EXPECT_FALSE(update::isFreeUpgrade(""));
}

} // namespace
