#include "sumwise_fixture.h"

#include "drill/conversion.h"

#include <array>
#include <optional>

// Choosing an operation or a level with the mouse: the operand range in force,
// the layout of the two problem rows, and the problem that Timer1 brings.

namespace {

struct Range {
    int low, high;
    bool operator==(const Range&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Range& r)
{
    return os << r.low << ".." << r.high;
}

drill::Window1* mainWindow()
{
    return fw::openWindow<drill::Window1>();
}

Range rangeInForce()
{
    return {Module1::Low, Module1::High};
}

fw::RadioButton* button(const QString& name)
{
    return mainWindow()->control<fw::RadioButton>(name);
}

const QStringList kOperations = {"Add", "Subtract", "Multiply", "Divide", "Algebra", "Roman"};
const QStringList kLevels = {"Easy", "Medium", "Hard"};

// The nine labels of the algebra row, left to right as designed.
std::array<fw::Label*, 9> algebraRow()
{
    drill::Window1* x = mainWindow();
    return {x->PValue(), x->XVariable1(), x->AlgebraOp1(), x->QValue(), x->Equal(),
            x->YValue(), x->XVariable2(), x->AlgebraOp2(), x->TValue()};
}

// The waiting state every selection handler leaves: New Problem armed, Enter
// not, the answer field empty and closed, one timer to bring the problem.
void expectWaitingForAProblem()
{
    drill::Window1* x = mainWindow();
    EXPECT_TRUE(x->NewProblem()->isEnabled());
    EXPECT_TRUE(x->NewProblem()->Default());
    EXPECT_FALSE(x->Enter()->isEnabled());
    EXPECT_FALSE(x->Enter()->Default());
    EXPECT_EQ(x->MyAnswer()->Text(), QString());
    EXPECT_FALSE(x->MyAnswer()->isEnabled());
    EXPECT_EQ(x->Feedback()->Text(), QString());
    EXPECT_TRUE(x->Timer1()->isRunning());
}

int labelNumber(fw::Label* l)
{
    bool ok = false;
    const int n = l->Text().toInt(&ok);
    EXPECT_TRUE(ok) << l->objectName().toStdString() << " reads " << l->Text().toStdString();
    return n;
}

int signed_(const QString& sign, int n)
{
    EXPECT_TRUE(sign == QLatin1String("+") || sign == QLatin1String("-")) << sign.toStdString();
    return sign == QLatin1String("-") ? -n : n;
}

// The problem on screen belongs to the selection and the range in force, and
// shows what the globals hold.
void expectValidProblem(Range r)
{
    drill::Window1* x = mainWindow();
    ASSERT_TRUE(x->MyAnswer()->isEnabled()) << "no problem was presented";
    const int first = Module1::First, second = Module1::Second;
    if (x->Algebra()->Value()) {
        const int p = labelNumber(x->PValue()), q = labelNumber(x->QValue()), y = labelNumber(x->YValue());
        const int answer = Module1::AlgebraAnswer;
        EXPECT_GE(p, r.low);
        EXPECT_LE(p, r.high);
        const QString s = x->AlgebraOp1()->Text();
        if (x->Easy()->Value()) {
            EXPECT_EQ(p * answer, q + signed_(s, y));
            EXPECT_GE(answer, 2);
        } else if (x->Medium()->Value()) {
            EXPECT_EQ(p * answer + signed_(s, q), y);
            EXPECT_GE(answer, 11);
        } else {
            const int t = labelNumber(x->TValue());
            const QString v = x->AlgebraOp2()->Text();
            EXPECT_EQ(p * answer + signed_(s, q), y * answer + signed_(v, t));
            EXPECT_GE(answer, 4);
            EXPECT_FALSE(s == QLatin1String("+") && v == QLatin1String("-"));
        }
        EXPECT_EQ(x->B()->Text(), QStringLiteral("X"));
        return;
    }
    if (x->Divide()->Value()) {
        ASSERT_GT(second, 0);
        const int quotient = first / second;
        EXPECT_EQ(first % second, 0);
        EXPECT_GE(quotient, r.low);
        EXPECT_LT(quotient, second);
        EXPECT_LE(second, r.high);
        const int limit = x->Easy()->Value() ? 20 : x->Medium()->Value() ? 500 : 5000;
        EXPECT_LE(first, limit);
    } else {
        EXPECT_GE(second, r.low);
        EXPECT_LT(second, first);
        EXPECT_LE(first, r.high);
    }
    if (x->Roman()->Value()) {
        EXPECT_EQ(x->A()->Text(), ::Conversion()->ListBox1()->Cell(first, 1));
        EXPECT_EQ(x->B()->Text(), ::Conversion()->ListBox1()->Cell(second, 1));
    } else {
        EXPECT_EQ(x->A()->Text(), QString::number(first));
        EXPECT_EQ(x->B()->Text(), QString::number(second));
    }
}

class SelectionTest : public SumwiseTest {
protected:
    void SetUp() override
    {
        SumwiseTest::SetUp();
        // The learner meets the first problem before choosing anything.
        fireTimers();
    }
    void TearDown() override
    {
        EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty()) << fw::testing::unhandledExceptions().join('\n').toStdString();
        SumwiseTest::TearDown();
    }
};

// ---- The range of every operation at every level, by either handler ----

struct RangeRow {
    const char* operation;
    const char* level;
    Range byLevel;      // the level clicked last
    Range byOperation;  // the operation clicked last
};

// clang-format off
const RangeRow kRanges[] = {
    {"Add",      "Easy",   {2, 10},  {2, 10}},
    {"Add",      "Medium", {11, 80}, {11, 80}},
    {"Add",      "Hard",   {41, 1250}, {41, 1250}},
    {"Subtract", "Easy",   {2, 10},  {2, 10}},
    {"Subtract", "Medium", {21, 650}, {21, 650}},
    {"Subtract", "Hard",   {81, 5000}, {81, 5000}},
    {"Multiply", "Easy",   {2, 10},  {2, 10}},
    {"Multiply", "Medium", {11, 80}, {11, 80}},
    {"Multiply", "Hard",   {41, 250}, {41, 250}},
    {"Divide",   "Easy",   {2, 10},  {2, 10}},
    {"Divide",   "Medium", {6, 25},  {6, 25}},
    {"Divide",   "Hard",   {11, 75}, {11, 75}},
    {"Algebra",  "Easy",   {2, 10},  {2, 10}},
    {"Algebra",  "Medium", {2, 10},  {10, 50}},
    {"Algebra",  "Hard",   {2, 30},  {50, 500}},
    {"Roman",    "Easy",   {2, 10},  {2, 10}},
    {"Roman",    "Medium", {10, 50}, {10, 50}},
    {"Roman",    "Hard",   {50, 500}, {50, 250}},
};
// clang-format on

void PrintTo(const RangeRow& row, std::ostream* os)
{
    *os << row.operation << " " << row.level;
}

class RangeTest : public SelectionTest, public ::testing::WithParamInterface<RangeRow> { };

} // namespace

TEST_P(RangeTest, OperationThenLevel)
{
    const RangeRow& row = GetParam();
    click(button(row.operation));
    click(button(row.level));
    EXPECT_TRUE(button(row.operation)->Value());
    EXPECT_TRUE(button(row.level)->Value());
    EXPECT_EQ(rangeInForce(), row.byLevel);
    expectWaitingForAProblem();
    EXPECT_EQ(fireTimers(), 1);
    expectValidProblem(row.byLevel);
}

TEST_P(RangeTest, LevelThenOperation)
{
    const RangeRow& row = GetParam();
    click(button(row.level));
    click(button(row.operation));
    EXPECT_EQ(rangeInForce(), row.byOperation);
    expectWaitingForAProblem();
    EXPECT_EQ(fireTimers(), 1);
    expectValidProblem(row.byOperation);
}

// The range drawn from is the one written last, with problems in between.
TEST_P(RangeTest, EachClickWritesItsOwnTable)
{
    const RangeRow& row = GetParam();
    click(button(row.operation));
    fireTimers();
    click(button(row.level));
    fireTimers();
    EXPECT_EQ(rangeInForce(), row.byLevel);
    expectValidProblem(row.byLevel);
    click(button(row.operation));
    fireTimers();
    EXPECT_EQ(rangeInForce(), row.byOperation);
    expectValidProblem(row.byOperation);
}

INSTANTIATE_TEST_SUITE_P(Selection, RangeTest, ::testing::ValuesIn(kRanges),
                         [](const ::testing::TestParamInfo<RangeRow>& info) {
                             return std::string(info.param.operation) + info.param.level;
                         });

// ---- Layouts after sequences of clicks ----

namespace {

// Where the nine algebra labels stand; nullopt: hidden, left not checked.
using RowLayout = std::array<std::optional<int>, 9>;
const RowLayout kHidden{};
const RowLayout kAlgebraEasy{90, 136, 245, 195, 170, 271, std::nullopt, std::nullopt, std::nullopt};
const RowLayout kAlgebraMedium{87, 130, 160, 183, 237, 268, std::nullopt, std::nullopt, std::nullopt};
const RowLayout kAlgebraHardByLevel{69, 115, 144, 161, 203, 219, 257, 285, 304};
const RowLayout kAlgebraHardByOperation{66, 115, 144, 161, 203, 219, 265, 285, 304};

struct LayoutRow {
    const char* name;
    std::vector<const char*> clicks;  // a problem is shown between two clicks
    Range range;
    RowLayout algebra;
    bool arithmeticShown;  // A and Operator
    const char* sign;      // Operator, when shown
    int bLeft;
    const char* bText;     // nullptr: not checked
    bool signsEmpty;       // AlgebraOp1 and AlgebraOp2 emptied
};

// clang-format off
const LayoutRow kLayouts[] = {
    {"AlgebraAtEasy", {"Algebra"}, {2, 10}, kAlgebraEasy, false, nullptr, 200, "X", false},
    {"AlgebraEasyThenMedium", {"Algebra", "Medium"}, {2, 10}, kAlgebraMedium, false, nullptr, 200, "X", false},
    {"AlgebraEasyThenHard", {"Algebra", "Hard"}, {2, 30}, kAlgebraHardByLevel, false, nullptr, 200, "X", true},
    {"AlgebraEasyHardEasy", {"Algebra", "Hard", "Easy"}, {2, 10}, kAlgebraEasy, false, nullptr, 200, "X", false},
    {"AlgebraMediumThenHard", {"Medium", "Algebra", "Hard"}, {2, 30}, kAlgebraHardByLevel, false, nullptr, 200, "X", true},
    {"AlgebraSelectedAtHard", {"Hard", "Algebra"}, {50, 500}, kAlgebraHardByOperation, false, nullptr, 200, "X", true},
    {"AlgebraAtHardThenEasy", {"Hard", "Algebra", "Easy"}, {2, 10}, kAlgebraEasy, false, nullptr, 200, "X", false},
    {"RomanAfterAlgebra", {"Algebra", "Roman"}, {2, 10}, kHidden, true, "+", 154, "X", false},
    {"RomanAfterAlgebraAtHard", {"Hard", "Algebra", "Roman"}, {50, 250}, kHidden, true, "+", 154, "X", false},
    {"RomanMediumThenHard", {"Roman", "Medium", "Hard"}, {50, 500}, kHidden, true, "+", 154, "", false},
    {"SubtractMediumThenEasy", {"Subtract", "Medium", "Easy"}, {2, 10}, kHidden, true, "-", 154, "", false},
    {"AddAfterAlgebraAtHard", {"Hard", "Algebra", "Add"}, {41, 1250}, kHidden, true, "+", 154, "", false},
    {"MultiplyAfterRoman", {"Roman", "Multiply"}, {2, 10}, kHidden, true, "x", 154, "", false},
    {"DivideAfterAlgebra", {"Algebra", "Divide"}, {2, 10}, kHidden, true, "\u00F7", 154, "", false},
    {"LevelKeepsTheDivideSign", {"Divide", "Hard"}, {11, 75}, kHidden, true, "\u00F7", 154, "", false},
};
// clang-format on

void PrintTo(const LayoutRow& row, std::ostream* os)
{
    *os << row.name;
}

class LayoutTest : public SelectionTest, public ::testing::WithParamInterface<LayoutRow> {
protected:
    void expectLayout(const LayoutRow& row, bool beforeProblem)
    {
        drill::Window1* x = w();
        const auto labels = algebraRow();
        for (size_t i = 0; i < labels.size(); ++i) {
            SCOPED_TRACE(labels[i]->objectName().toStdString());
            EXPECT_EQ(labels[i]->Visible(), row.algebra[i].has_value());
            if (row.algebra[i]) {
                EXPECT_EQ(labels[i]->Left(), *row.algebra[i]);
            }
        }
        EXPECT_EQ(x->A()->Visible(), row.arithmeticShown);
        EXPECT_EQ(x->Operator()->Visible(), row.arithmeticShown);
        if (row.sign) {
            EXPECT_EQ(x->Operator()->Text(), QString::fromUtf8(row.sign));
        }
        EXPECT_TRUE(x->B()->Visible());
        EXPECT_EQ(x->B()->Left(), row.bLeft);
        if (!beforeProblem)
            return;
        if (row.bText) {
            EXPECT_EQ(x->B()->Text(), QString::fromUtf8(row.bText));
        }
        if (row.arithmeticShown && !x->Roman()->Value()) {
            EXPECT_EQ(x->A()->Text(), QString());
        }
        if (row.signsEmpty) {
            EXPECT_EQ(x->AlgebraOp1()->Text(), QString());
            EXPECT_EQ(x->AlgebraOp2()->Text(), QString());
        }
    }
};

} // namespace

TEST_P(LayoutTest, AfterTheLastClickAndAfterItsProblem)
{
    const LayoutRow& row = GetParam();
    for (size_t i = 0; i < row.clicks.size(); ++i) {
        if (i > 0) {
            ASSERT_EQ(fireTimers(), 1);
        }
        click(button(row.clicks[i]));
    }
    EXPECT_EQ(rangeInForce(), row.range);
    expectWaitingForAProblem();
    expectLayout(row, true);

    // The problem fills the rows without moving or hiding anything.
    ASSERT_EQ(fireTimers(), 1);
    expectLayout(row, false);
    expectValidProblem(row.range);
}

INSTANTIATE_TEST_SUITE_P(Selection, LayoutTest, ::testing::ValuesIn(kLayouts),
                         [](const ::testing::TestParamInfo<LayoutRow>& info) { return std::string(info.param.name); });

// The algebra labels are emptied by the operation handler, whatever the level,
// so a new equation never shows half of the last one.
TEST_F(SelectionTest, AlgebraEmptiesTheEquationUntilItsProblem)
{
    click(w()->Algebra());
    fireTimers();
    click(w()->Hard());
    fireTimers();
    ASSERT_FALSE(w()->TValue()->Text().isEmpty());
    click(w()->Add());
    fireTimers();
    click(w()->Algebra());
    for (fw::Label* l : {w()->PValue(), w()->QValue(), w()->YValue(), w()->TValue(), w()->AlgebraOp1()})
        EXPECT_EQ(l->Text(), QString()) << l->objectName().toStdString();
}

// A click on the button already selected runs its handler again, like any click.
TEST_F(SelectionTest, ClickingTheSelectedButtonAgainAsksForANewProblem)
{
    click(w()->Subtract());
    fireTimers();
    const qint32 first = Module1::First, second = Module1::Second;
    fw::testing::scriptRandom({first == 9 ? 8 : 9, 3});
    click(w()->Subtract());
    expectWaitingForAProblem();
    ASSERT_EQ(fireTimers(), 1);
    EXPECT_EQ(w()->B()->Text(), QStringLiteral("3"));
    EXPECT_NE(std::pair(Module1::First, Module1::Second), std::pair(first, second));
}

// Selecting by code, as restoring the settings does, runs no handler.
TEST_F(SelectionTest, SelectingByCodeRunsNoHandler)
{
    w()->Hard()->setValue(true);
    w()->Divide()->setValue(true);
    settle();
    EXPECT_EQ(rangeInForce(), (Range{2, 10}));
    EXPECT_EQ(fw::testing::runningTimerCount(), 0);
}
