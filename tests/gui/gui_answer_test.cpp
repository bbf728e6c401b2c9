#include "sumwise_fixture.h"

#include <QTemporaryDir>

// Judging answers typed into the real field: feedback, banner, counts,
// percentage and sounds. Draws are scripted so each problem's answer is known.

namespace {

const QString kRightSound = QStringLiteral("SndOK.wav");
const QString kWrongSound = QStringLiteral("Laser.wav");
const QString kApplause = QStringLiteral("APPLAUSE LOOP.wav");

class AnswerTest : public SumwiseTest {
protected:
    void TearDown() override
    {
        EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty())
            << fw::testing::unhandledExceptions().join('\n').toStdString();
        SumwiseTest::TearDown();
    }

    // Presents the next problem from draws, the way the window would bring it:
    // a running timer (after a selection or a right answer), else the learner's
    // click on New Problem.
    static void nextProblem(std::vector<qint32> draws)
    {
        fw::testing::scriptRandom(std::move(draws));
        if (fw::testing::runningTimerCount() > 0)
            fireTimers();
        else
            click(w()->NewProblem());
        ASSERT_EQ(fw::testing::scriptedRandomLeft(), 0u);
        ASSERT_TRUE(w()->MyAnswer()->isEnabled());
    }

    // Plays a session at Add, Easy, where 7 + 3 is always asked: R a right
    // answer, W a wrong one, 0 a click on Reset.
    static void session(const std::string& answers)
    {
        for (char c : answers) {
            if (c == '0') {
                click(w()->Reset());
                continue;
            }
            nextProblem({7, 3});
            typeAnswer(c == 'R' ? QStringLiteral("10") : QStringLiteral("11"));
            pressReturn();
        }
    }

    // The sounds played, one letter each: S right, L wrong, A applause.
    static std::string soundLetters()
    {
        std::string out;
        for (const QString& s : fw::testing::playedSounds())
            out += s == kRightSound ? 'S' : s == kWrongSound ? 'L' : s == kApplause ? 'A' : '?';
        return out;
    }
};

class SoundsOffAnswerTest : public AnswerTest {
protected:
    QByteArray initialSettings() const override { return QByteArrayLiteral("False\nAdd\nEasy\n"); }
};

// ---- Right and wrong in every operation ----

struct AnswerRow {
    const char* name;
    std::vector<const char*> clicks;
    std::vector<qint32> draws;
    const char* right;
    const char* wrong;
    const char* shown;  // the banner's second line after a wrong answer
};

// clang-format off
const AnswerRow kAnswers[] = {
    {"Add", {}, {7, 3}, "10", "11", "10"},
    {"AddLeadingZeroIsWrong", {}, {7, 3}, "10", "010", "10"},
    {"Subtract", {"Subtract"}, {9, 4}, "5", "6", "5"},
    {"Multiply", {"Multiply"}, {5, 3}, "15", "16", "15"},
    {"Divide", {"Divide"}, {3, 4}, "3", "4", "3"},
    {"DivideHard", {"Divide", "Hard"}, {70, 71}, "70", "71", "70"},
    {"AlgebraEasy", {"Algebra"}, {3, 10, 2, 1}, "4", "5", "X = 4"},
    {"AlgebraMedium", {"Algebra", "Medium"}, {2, 10, 40, 1}, "15", "51", "X = 15"},
    {"AlgebraHard", {"Algebra", "Hard"}, {10, 3, 20, 5, 1, 1, 4}, "4", "40", "X = 4"},
    {"Roman", {"Roman"}, {7, 5}, "XII", "XI", "XII"},
    {"RomanInLowerCase", {"Roman"}, {7, 5}, "xii", "iix", "XII"},
    {"RomanTwelveLetters", {"Roman", "Hard"}, {500, 388}, "DCCCLXXXVIII", "DCCCLXXXVII", "DCCCLXXXVIII"},
    {"RomanDigitsAreWrong", {"Roman", "Medium"}, {24, 19}, "XLIII", "43", "XLIII"},
};
// clang-format on

void PrintTo(const AnswerRow& row, std::ostream* os)
{
    *os << row.name;
}

class JudgeTest : public AnswerTest, public ::testing::WithParamInterface<AnswerRow> {
protected:
    void SetUp() override
    {
        AnswerTest::SetUp();
        const AnswerRow& row = GetParam();
        for (const char* name : row.clicks)
            click(w()->control<fw::RadioButton>(QString::fromLatin1(name)));
        nextProblem(row.draws);
    }
};

} // namespace

TEST_P(JudgeTest, RightAnswer)
{
    const QString typed = QString::fromLatin1(GetParam().right);
    typeAnswer(typed);
    ASSERT_EQ(w()->MyAnswer()->Text(), typed);
    ASSERT_TRUE(w()->Enter()->Default());
    pressReturn();

    EXPECT_EQ(w()->Feedback()->Text(), QStringLiteral("Correct"));
    EXPECT_EQ(w()->ScoreR()->Text(), QStringLiteral("1"));
    EXPECT_EQ(w()->ScoreW()->Text(), QStringLiteral("0"));
    EXPECT_EQ(w()->PCent()->Text(), QStringLiteral("100"));
    EXPECT_FALSE(w()->AnswerBanner()->Visible());
    EXPECT_FALSE(w()->NewProblem()->isEnabled());
    EXPECT_FALSE(w()->NewProblem()->Default());
    EXPECT_TRUE(w()->Timer2()->isRunning());
    // The typed text stays in the closed field until the next problem.
    EXPECT_EQ(w()->MyAnswer()->Text(), typed);
    EXPECT_FALSE(w()->MyAnswer()->isEnabled());
    EXPECT_FALSE(w()->Enter()->isEnabled());
    EXPECT_FALSE(w()->Enter()->Default());
    EXPECT_EQ(Module1::N, 1);
    EXPECT_EQ(soundLetters(), "S");
}

TEST_P(JudgeTest, WrongAnswer)
{
    const QString typed = QString::fromLatin1(GetParam().wrong);
    typeAnswer(typed);
    pressReturn();

    EXPECT_EQ(w()->Feedback()->Text(), QStringLiteral("Incorrect"));
    EXPECT_EQ(w()->ScoreR()->Text(), QStringLiteral("0"));
    EXPECT_EQ(w()->ScoreW()->Text(), QStringLiteral("1"));
    EXPECT_EQ(w()->PCent()->Text(), QStringLiteral("0"));
    EXPECT_TRUE(w()->AnswerBanner()->Visible());
    EXPECT_EQ(w()->AnswerBanner()->Text(),
              QStringLiteral("Correct answer was:\n") + QString::fromLatin1(GetParam().shown));
    EXPECT_TRUE(w()->NewProblem()->isEnabled());
    EXPECT_TRUE(w()->NewProblem()->Default());
    EXPECT_EQ(fw::testing::runningTimerCount(), 0);
    EXPECT_EQ(w()->MyAnswer()->Text(), typed);
    EXPECT_FALSE(w()->MyAnswer()->isEnabled());
    EXPECT_FALSE(w()->Enter()->isEnabled());
    EXPECT_FALSE(w()->Enter()->Default());
    EXPECT_EQ(Module1::N, 0);
    EXPECT_EQ(soundLetters(), "L");

    // Return now presses New Problem, the window's default button.
    fw::testing::scriptRandom(GetParam().draws);
    QTest::keyClick(w(), Qt::Key_Return);
    settle();
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u);
    EXPECT_FALSE(w()->AnswerBanner()->Visible());
    EXPECT_EQ(w()->Feedback()->Text(), QString());
    EXPECT_EQ(w()->MyAnswer()->Text(), QString());
    EXPECT_TRUE(w()->MyAnswer()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Answer, JudgeTest, ::testing::ValuesIn(kAnswers),
                         [](const ::testing::TestParamInfo<AnswerRow>& info) { return std::string(info.param.name); });

// ---- What the field lets the learner type ----

namespace {

struct TypingRow {
    const char* name;
    const char* keys;
    const char* text;
};

const TypingRow kTyping[] = {
    {"LeadingBlank", " 7", "7"},
    {"TrailingBlank", "7 ", "7"},
    {"PlusSign", "+7", "7"},
    {"MinusSign", "-3", "3"},
    {"Point", "2.5", "25"},
    {"TwelveLetters", "DCCCLXXXVIII", "DCCCLXXXVIII"},
    {"ThirteenLetters", "DCCCLXXXVIIII", "DCCCLXXXVIII"},
    {"LettersAndDigits", "x1i2", "x1i2"},
};

void PrintTo(const TypingRow& row, std::ostream* os)
{
    *os << row.name;
}

class TypingTest : public AnswerTest, public ::testing::WithParamInterface<TypingRow> { };

} // namespace

TEST_P(TypingTest, FieldAdmitsTwelveLettersOrDigits)
{
    fireTimers();
    typeAnswer(QString::fromLatin1(GetParam().keys));
    EXPECT_EQ(w()->MyAnswer()->Text(), QString::fromLatin1(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Answer, TypingTest, ::testing::ValuesIn(kTyping),
                         [](const ::testing::TestParamInfo<TypingRow>& info) { return std::string(info.param.name); });

// ---- Counts, percentage and sounds over a session ----

namespace {

struct SessionRow {
    const char* name;
    std::string answers;  // R right, W wrong, 0 Reset
    const char* right;
    const char* wrong;
    const char* percent;
    std::string sounds;  // S right, L wrong, A applause
    qint32 n;
};

std::string times(int count, const std::string& s)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += s;
    return out;
}

// clang-format off
const SessionRow kSessions[] = {
    {"FirstRight", "R", "1", "0", "100", "S", 1},
    {"FirstWrong", "W", "0", "1", "0", "L", 0},
    {"OneRightOneWrong", "RW", "1", "1", "50", "SL", 1},
    {"OneRightTwoWrong", "RWW", "1", "2", "33", "SLL", 1},
    {"TwoRightOneWrongRoundsUp", "RRW", "2", "1", "67", "SSL", 2},
    {"TwentyNineRightTwentyOneWrong", times(29, "R") + times(21, "W"), "29", "21", "58",
     times(9, "S") + "AS" + times(9, "S") + "AS" + times(9, "S") + times(21, "L"), 9},
    {"TenthRightBringsApplause", times(10, "R"), "10", "0", "100", times(9, "S") + "AS", 0},
    {"TwentiethRightBringsItAgain", times(20, "R"), "20", "0", "100", times(2, times(9, "S") + "AS"), 0},
    {"WrongAnswersDoNotSetTheCountBack", times(9, "R") + "WR", "10", "1", "91", times(9, "S") + "LAS", 0},
    {"ResetStartsTheCountAgain", times(9, "R") + "0R", "1", "0", "100", times(10, "S"), 1},
    {"ResetThenWrongCountsFromZero", "RR0W", "0", "1", "0", "SSL", 0},
};
// clang-format on

void PrintTo(const SessionRow& row, std::ostream* os)
{
    *os << row.name;
}

class SessionTest : public AnswerTest, public ::testing::WithParamInterface<SessionRow> { };

} // namespace

TEST_P(SessionTest, CountsPercentageAndSounds)
{
    const SessionRow& row = GetParam();
    session(row.answers);
    EXPECT_EQ(w()->ScoreR()->Text(), QString::fromLatin1(row.right));
    EXPECT_EQ(w()->ScoreW()->Text(), QString::fromLatin1(row.wrong));
    EXPECT_EQ(w()->PCent()->Text(), QString::fromLatin1(row.percent));
    EXPECT_EQ(soundLetters(), row.sounds);
    EXPECT_EQ(Module1::N, row.n);
}

INSTANTIATE_TEST_SUITE_P(Answer, SessionTest, ::testing::ValuesIn(kSessions),
                         [](const ::testing::TestParamInfo<SessionRow>& info) { return std::string(info.param.name); });

// With the sounds off the tenth right answer plays nothing, reads no sound
// file, and still starts the count toward the next applause again.
TEST_F(SoundsOffAnswerTest, TenthRightAnswerIsSilentAndStillResetsTheCount)
{
    session(times(9, "R"));
    EXPECT_EQ(Module1::N, 9);
    session("WR");
    EXPECT_EQ(Module1::N, 0);
    EXPECT_EQ(w()->ScoreR()->Text(), QStringLiteral("10"));
    EXPECT_TRUE(fw::testing::playedSounds().isEmpty());
    EXPECT_TRUE(fw::testing::openedSoundFiles().isEmpty());
}

// What the window shows when each sound starts: the wrong-answer sound comes
// before the verdict and the count; the applause after "Correct" and before
// the right count grows; the right-answer sound after the counts and the
// percentage. Each line: sound, feedback, right/wrong shown, percentage shown,
// right/wrong counted.
TEST_F(AnswerTest, EachSoundStartsAtItsPointOfTheJudgement)
{
    session(times(9, "R"));
    std::vector<std::string> seen;
    fw::testing::setPlayObserver([&seen](const QString& sound) {
        seen.push_back(QStringLiteral("%1 [%2] %3/%4 %5% (%6/%7)")
                           .arg(sound, w()->Feedback()->Text(), w()->ScoreR()->Text(), w()->ScoreW()->Text(),
                                w()->PCent()->Text())
                           .arg(Module1::RightAnswer)
                           .arg(Module1::WrongAnswer)
                           .toStdString());
    });
    session("WR");
    fw::testing::setPlayObserver({});
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "Laser.wav [] 9/0 100% (9/0)",
                        "APPLAUSE LOOP.wav [Correct] 9/1 90% (9/1)",
                        "SndOK.wav [Correct] 10/1 91% (10/1)",
                    }));
}

// ---- Reset, an emptied answer, the keypad ----

TEST_F(AnswerTest, ResetWithinFourSecondsOfARightAnswer)
{
    session("WR");
    ASSERT_TRUE(w()->Timer2()->isRunning());
    click(w()->Reset());
    EXPECT_EQ(w()->ScoreR()->Text(), QStringLiteral("0"));
    EXPECT_EQ(w()->ScoreW()->Text(), QStringLiteral("0"));
    EXPECT_EQ(w()->PCent()->Text(), QStringLiteral("0"));
    EXPECT_EQ(Module1::RightAnswer, 0);
    EXPECT_EQ(Module1::WrongAnswer, 0);
    EXPECT_EQ(Module1::N, 0);
    // The feedback and the problem stay; Timer2 still brings the next one.
    EXPECT_EQ(w()->Feedback()->Text(), QStringLiteral("Correct"));
    EXPECT_TRUE(w()->Timer2()->isRunning());
    fw::testing::scriptRandom({6, 2});
    EXPECT_EQ(fireTimers(), 1);
    EXPECT_EQ(w()->A()->Text(), QStringLiteral("6"));
    EXPECT_EQ(w()->Feedback()->Text(), QString());
    EXPECT_TRUE(w()->MyAnswer()->isEnabled());
    EXPECT_TRUE(w()->Reset()->isEnabled());
}

TEST_F(AnswerTest, AnswerTypedAndDeletedIsJudgedWrong)
{
    nextProblem({7, 3});
    typeAnswer(QStringLiteral("5"));
    QTest::keyClick(w()->MyAnswer(), Qt::Key_Backspace);
    settle();
    ASSERT_EQ(w()->MyAnswer()->Text(), QString());
    EXPECT_TRUE(w()->Enter()->isEnabled());
    EXPECT_TRUE(w()->Enter()->Default());
    pressReturn();
    EXPECT_EQ(w()->Feedback()->Text(), QStringLiteral("Incorrect"));
    EXPECT_EQ(w()->ScoreW()->Text(), QStringLiteral("1"));
    EXPECT_EQ(w()->AnswerBanner()->Text(), QStringLiteral("Correct answer was:\n") + QStringLiteral("10"));
}

TEST_F(AnswerTest, EnterButtonClickAndKeypadEnterJudgeToo)
{
    nextProblem({7, 3});
    typeAnswer(QStringLiteral("10"));
    click(w()->Enter());
    EXPECT_EQ(w()->Feedback()->Text(), QStringLiteral("Correct"));

    nextProblem({8, 3});
    typeAnswer(QStringLiteral("11"));
    QTest::keyClick(w()->MyAnswer(), Qt::Key_Enter, Qt::KeypadModifier);
    settle();
    EXPECT_EQ(w()->Feedback()->Text(), QStringLiteral("Correct"));
    EXPECT_EQ(w()->ScoreR()->Text(), QStringLiteral("2"));
}

// A sound whose file is missing is tried once and skipped; the answers are
// judged as usual.
TEST_F(AnswerTest, MissingSoundsAreTriedOnceAndSkipped)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    fw::testing::setResourcesFolder(empty.path());
    session("WWR");
    EXPECT_EQ(w()->Feedback()->Text(), QStringLiteral("Correct"));
    EXPECT_EQ(w()->ScoreW()->Text(), QStringLiteral("2"));
    EXPECT_TRUE(fw::testing::playedSounds().isEmpty());
    EXPECT_EQ(fw::testing::openedSoundFiles(), (QStringList{kWrongSound, kRightSound}));
}
