#include "sumwise_fixture.h"

#include "drill/conversion.h"
#include "fw/text.h"

#include <QApplication>

#include <array>
#include <ostream>

// New Problem: what a problem looks like once drawn (the draws are scripted,
// so each row knows its operands), and the two timers that press the button.

namespace {

drill::Window1* mainWindow()
{
    return fw::openWindow<drill::Window1>();
}

// The state New Problem leaves, whatever the state before it.
void expectWaitingForAnAnswer()
{
    drill::Window1* x = mainWindow();
    EXPECT_EQ(x->MyAnswer()->Text(), QString());
    EXPECT_TRUE(x->MyAnswer()->isEnabled());
    EXPECT_EQ(x->focusWidget(), x->MyAnswer());
    EXPECT_FALSE(x->NewProblem()->isEnabled());
    EXPECT_FALSE(x->NewProblem()->Default());
    EXPECT_FALSE(x->AnswerBanner()->Visible());
    EXPECT_EQ(x->Feedback()->Text(), QString());
    EXPECT_FALSE(x->Enter()->isEnabled());
    EXPECT_FALSE(x->Enter()->Default());
}

class NewProblemTest : public SumwiseTest {
protected:
    void SetUp() override
    {
        SumwiseTest::SetUp();
        fireTimers();
    }
    void TearDown() override
    {
        EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty())
            << fw::testing::unhandledExceptions().join('\n').toStdString();
        SumwiseTest::TearDown();
    }

    // Answers the problem on screen right: Timer2 then brings the next one.
    static void answerRight()
    {
        QString answer;
        if (w()->Algebra()->Value())
            answer = QString::number(Module1::AlgebraAnswer);
        else if (w()->Add()->Value())
            answer = QString::number(Module1::First + Module1::Second);
        else if (w()->Subtract()->Value())
            answer = QString::number(Module1::First - Module1::Second);
        else if (w()->Multiply()->Value())
            answer = QString::number(Module1::First * Module1::Second);
        else if (w()->Divide()->Value())
            answer = QString::number(Module1::First / Module1::Second);
        else
            answer = ::Conversion()->ListBox1()->Cell(Module1::First + Module1::Second, 1);
        typeAnswer(answer);
        pressReturn();
        ASSERT_EQ(w()->Feedback()->Text(), QStringLiteral("Correct"));
    }
};

// ---- The problem shown, by operation and level ----

struct ProblemRow {
    const char* name;
    std::vector<const char*> clicks;
    std::vector<qint32> draws;
    // Arithmetic row; for Algebra A and Operator are hidden and B reads "X".
    const char* a;
    const char* sign;
    const char* b;
    // Algebra row: P, Q, first sign, second sign, Y, T; nullptr: not checked.
    std::array<const char*, 6> equation;
    qint32 answer;  // the operands' result, or X
};

// clang-format off
const ProblemRow kProblems[] = {
    {"AddEasy", {}, {7, 3}, "7", "+", "3", {}, 10},
    {"SubtractEasySwapsTheOperands", {"Subtract"}, {4, 9}, "9", "-", "4", {}, 5},
    {"SubtractHardDrawsAgainOnEqual", {"Subtract", "Hard"}, {100, 100, 4000}, "4000", "-", "100", {}, 3900},
    {"MultiplyEasy", {"Multiply"}, {5, 3}, "5", "x", "3", {}, 15},
    {"DivideEasyShowsDividendThenDivisor", {"Divide"}, {3, 4}, "12", "\u00F7", "4", {}, 3},
    {"DivideEasyRedrawsOverTwenty", {"Divide"}, {5, 6, 2, 10}, "20", "\u00F7", "10", {}, 2},
    {"DivideMedium", {"Divide", "Medium"}, {20, 6}, "120", "\u00F7", "20", {}, 6},
    {"DivideHard", {"Divide", "Hard"}, {70, 71}, "4970", "\u00F7", "71", {}, 70},
    {"RomanMedium", {"Roman", "Medium"}, {24, 19}, "XXIV", "+", "XIX", {}, 43},
    {"RomanHard", {"Roman", "Hard"}, {388, 500}, "D", "+", "CCCLXXXVIII", {}, 888},
    {"AlgebraEasy", {"Algebra"}, {3, 10, 2, 1}, nullptr, nullptr, "X", {"3", "10", "+", nullptr, "2", nullptr}, 4},
    {"AlgebraEasyMinusRaisesQ", {"Algebra"}, {2, 5, 40, 7}, nullptr, nullptr, "X", {"2", "41", "-", nullptr, "5", nullptr}, 18},
    {"AlgebraMedium", {"Algebra", "Medium"}, {2, 10, 40, 1}, nullptr, nullptr, "X", {"2", "10", "+", nullptr, "40", nullptr}, 15},
    {"AlgebraHardPlusPlus", {"Algebra", "Hard"}, {10, 3, 20, 5, 1, 1, 4}, nullptr, nullptr, "X", {"10", "3", "+", "+", "5", "23"}, 4},
    {"AlgebraHardMinusMinus", {"Algebra", "Hard"}, {10, 20, 3, 5, 8, 8, 4}, nullptr, nullptr, "X", {"10", "23", "-", "-", "5", "3"}, 4},
};
// clang-format on

void PrintTo(const ProblemRow& row, std::ostream* os)
{
    *os << row.name;
}

class ProblemTest : public NewProblemTest, public ::testing::WithParamInterface<ProblemRow> { };

} // namespace

// From the state after a wrong answer (banner up, feedback shown, New Problem
// the default button) a click on New Problem draws the scripted problem.
TEST_P(ProblemTest, ClickOnNewProblemAfterAWrongAnswer)
{
    const ProblemRow& row = GetParam();
    for (const char* name : row.clicks)
        click(w()->control<fw::RadioButton>(QString::fromLatin1(name)));
    fireTimers();
    typeAnswer(QStringLiteral("0"));
    pressReturn();
    ASSERT_TRUE(w()->AnswerBanner()->Visible());
    ASSERT_TRUE(w()->NewProblem()->isEnabled());

    fw::testing::scriptRandom(row.draws);
    click(w()->NewProblem());
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u);
    expectWaitingForAnAnswer();

    const bool algebra = row.a == nullptr;
    EXPECT_EQ(w()->A()->Visible(), !algebra);
    EXPECT_EQ(w()->Operator()->Visible(), !algebra);
    if (!algebra) {
        EXPECT_EQ(w()->A()->Text(), QString::fromUtf8(row.a));
        EXPECT_EQ(w()->Operator()->Text(), QString::fromUtf8(row.sign));
    }
    EXPECT_EQ(w()->B()->Text(), QString::fromUtf8(row.b));

    const fw::Label* labels[] = {w()->PValue(), w()->QValue(), w()->AlgebraOp1(),
                                 w()->AlgebraOp2(), w()->YValue(), w()->TValue()};
    for (size_t i = 0; i < 6; ++i) {
        if (row.equation[i]) {
            EXPECT_EQ(labels[i]->Text(), QString::fromUtf8(row.equation[i])) << labels[i]->objectName().toStdString();
            EXPECT_TRUE(labels[i]->Visible()) << labels[i]->objectName().toStdString();
        }
    }
    if (algebra) {
        EXPECT_EQ(Module1::AlgebraAnswer, row.answer);
    } else if (w()->Divide()->Value()) {
        EXPECT_EQ(Module1::First / Module1::Second, row.answer);
    } else if (w()->Subtract()->Value()) {
        EXPECT_EQ(Module1::First - Module1::Second, row.answer);
    } else if (w()->Multiply()->Value()) {
        EXPECT_EQ(Module1::First * Module1::Second, row.answer);
    } else {
        EXPECT_EQ(Module1::First + Module1::Second, row.answer);
    }
}

INSTANTIATE_TEST_SUITE_P(NewProblem, ProblemTest, ::testing::ValuesIn(kProblems),
                         [](const ::testing::TestParamInfo<ProblemRow>& info) { return std::string(info.param.name); });

// ---- Enter waits for the learner ----

TEST_F(NewProblemTest, EnterIsDisabledUntilTheLearnerTypes)
{
    expectWaitingForAnAnswer();
    // Return with nothing typed presses nothing: no enabled default button.
    pressReturn();
    EXPECT_EQ(w()->Feedback()->Text(), QString());
    EXPECT_EQ(w()->ScoreW()->Text(), QStringLiteral("0"));

    typeAnswer(QStringLiteral("1"));
    EXPECT_TRUE(w()->Enter()->isEnabled());
    EXPECT_TRUE(w()->Enter()->Default());
    EXPECT_FALSE(w()->NewProblem()->Default());
}

TEST_F(NewProblemTest, NextProblemDisarmsEnterTheLearnerHadArmed)
{
    typeAnswer(QStringLiteral("5"));
    ASSERT_TRUE(w()->Enter()->isEnabled());
    click(w()->Medium());
    EXPECT_FALSE(w()->Enter()->isEnabled());
    ASSERT_EQ(fireTimers(), 1);
    expectWaitingForAnAnswer();
}

TEST_F(NewProblemTest, DisabledNewProblemIgnoresClicks)
{
    fw::testing::scriptRandom({9, 2});
    click(w()->NewProblem());
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 2u);
    fw::testing::clearRandomScript();
}

// The numeral table is read from a window that is never shown.
TEST_F(NewProblemTest, RomanProblemShowsNoOtherWindow)
{
    click(w()->Roman());
    ASSERT_EQ(fireTimers(), 1);
    drill::Conversion* table = fw::openWindow<drill::Conversion>();
    ASSERT_NE(table, nullptr);
    EXPECT_FALSE(table->isVisible());
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (top->isVisible() && qobject_cast<fw::Window*>(top)) {
            EXPECT_EQ(top, w());
        }
    }
}

// The table is made by the first numeral looked up, and not a moment before.
class NumeralTableTest : public SumwiseTest { };

TEST_F(NumeralTableTest, IsMadeByTheFirstRomanProblem)
{
    EXPECT_EQ(fw::openWindow<drill::Conversion>(), nullptr) << "made at start-up";
    ASSERT_EQ(fireTimers(), 1);
    ASSERT_FALSE(w()->A()->Text().isEmpty());
    EXPECT_EQ(fw::openWindow<drill::Conversion>(), nullptr) << "made for a problem without numerals";
    click(w()->Roman());
    EXPECT_EQ(fw::openWindow<drill::Conversion>(), nullptr) << "made by choosing the operation";
    ASSERT_EQ(fireTimers(), 1);
    EXPECT_NE(fw::openWindow<drill::Conversion>(), nullptr);
}

// ---- Timer1: one problem after the last of a burst of selections ----

TEST_F(NewProblemTest, BurstOfSelectionsGivesOneProblem)
{
    for (fw::RadioButton* b : {w()->Subtract(), w()->Divide(), w()->Medium(), w()->Algebra(), w()->Multiply(),
                               w()->Hard()}) {
        click(b);
        EXPECT_EQ(fw::testing::runningTimerCount(), 1);
    }
    fw::testing::scriptRandom({100, 50, 60, 70});
    EXPECT_EQ(fireTimers(), 1);
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 2u);
    EXPECT_EQ(w()->A()->Text(), QStringLiteral("100"));
    EXPECT_EQ(w()->Operator()->Text(), QStringLiteral("x"));
    EXPECT_EQ(w()->B()->Text(), QStringLiteral("50"));
    expectWaitingForAnAnswer();
    EXPECT_EQ(fireTimers(), 0);
    fw::testing::clearRandomScript();
}

// ---- Timer2: the next problem after a right answer ----

TEST_F(NewProblemTest, RightAnswerBringsTheNextProblemThroughTimer2)
{
    answerRight();
    EXPECT_FALSE(w()->NewProblem()->isEnabled());
    EXPECT_FALSE(w()->NewProblem()->Default());
    EXPECT_TRUE(w()->Timer2()->isRunning());
    EXPECT_EQ(fw::testing::runningTimerCount(), 1);

    fw::testing::scriptRandom({9, 2});
    EXPECT_EQ(fireTimers(), 1);
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u);
    EXPECT_EQ(w()->A()->Text(), QStringLiteral("9"));
    EXPECT_EQ(w()->B()->Text(), QStringLiteral("2"));
    expectWaitingForAnAnswer();
    EXPECT_FALSE(w()->Timer2()->isRunning());
}

// A selection within Timer2's 4 s brings its problem after 50 ms; that problem
// stays while the learner types, and Timer2 brings no other.
struct ChoiceRow {
    const char* name;  // the button chosen after the right answer
    qint32 first, second;
};

void PrintTo(const ChoiceRow& row, std::ostream* os) { *os << row.name; }

class ChoiceAfterRightAnswerTest : public NewProblemTest, public ::testing::WithParamInterface<ChoiceRow> { };

TEST_P(ChoiceAfterRightAnswerTest, KeepsTheChosenProblem)
{
    const ChoiceRow& row = GetParam();
    answerRight();
    ASSERT_TRUE(w()->Timer2()->isRunning());
    click(qobject_cast<QAbstractButton*>(w()->_ControlByName(QLatin1String(row.name))));
    fw::testing::scriptRandom({row.first, row.second});
    EXPECT_EQ(fireTimers(), 1);
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 0u);
    typeAnswer(QStringLiteral("1"));
    EXPECT_EQ(fireTimers(), 0);
    EXPECT_EQ(w()->A()->Text(), fw::Str(row.first));
    EXPECT_EQ(w()->B()->Text(), fw::Str(row.second));
    EXPECT_EQ(w()->MyAnswer()->Text(), QStringLiteral("1"));
    EXPECT_TRUE(w()->Enter()->isEnabled());
}

// Add at Easy to start with: Multiply keeps Easy's 2..10, Hard gives Add's 41..1250.
const ChoiceRow kChoices[] = {{"Multiply", 5, 3}, {"Hard", 500, 300}};

INSTANTIATE_TEST_SUITE_P(Timer2, ChoiceAfterRightAnswerTest, ::testing::ValuesIn(kChoices),
                         [](const auto& info) { return std::string(info.param.name); });
