// Choosing a level or an operation: the operand range, the layout of the
// problem rows, and a new problem 50 ms later (Timer1).
#include "drill/window1.h"

#include "app/module1.h"

namespace drill {

namespace {

struct Range {
    qint32 low;
    qint32 high;
};

void setRange(Range r)
{
    Module1::Low = r.low;
    Module1::High = r.high;
}

// Where the algebra row's labels stand for one level. xVariable2 < 0: the
// second half of the equation (X, sign, T) is hidden.
struct AlgebraLayout {
    int pValue, xVariable1, algebraOp1, qValue, equal, yValue, xVariable2;
    bool hard;
};

constexpr AlgebraLayout kAlgebraEasy{90, 136, 245, 195, 170, 271, -1, false};
constexpr AlgebraLayout kAlgebraMedium{87, 130, 160, 183, 237, 268, -1, false};
// The operation handler and the level handler place two labels differently at
// Hard; the positions in force are those written last.
constexpr AlgebraLayout kAlgebraHardByOperation{66, 115, 144, 161, 203, 219, 265, true};
constexpr AlgebraLayout kAlgebraHardByLevel{69, 115, 144, 161, 203, 219, 257, true};

} // namespace

void Window1::resetAnswerArea()
{
    MyAnswer()->setText(QString());
    Feedback()->setText(QString());
    // Emptying the field may raise its text change, which arms Enter: disarm after.
    Enter()->setDefault(false);
    Enter()->setEnabled(false);
    NewProblem()->setEnabled(true);
    NewProblem()->setDefault(true);
    MyAnswer()->setEnabled(false);
}

void Window1::resetProblemArea()
{
    A()->setText(QString());
    B()->setLeft(154);
    B()->setText(QString());
    resetAnswerArea();
}

void Window1::showArithmeticRowOnly()
{
    PValue()->setVisible(false);
    QValue()->setVisible(false);
    TValue()->setVisible(false);
    XVariable1()->setVisible(false);
    XVariable2()->setVisible(false);
    YValue()->setVisible(false);
    AlgebraOp1()->setVisible(false);
    AlgebraOp2()->setVisible(false);
    Equal()->setVisible(false);
    A()->setVisible(true);
    B()->setVisible(true);
    Operator()->setVisible(true);
}

namespace {

void layAlgebraRow(const Window1& w, const AlgebraLayout& l)
{
    w.PValue()->setLeft(l.pValue);
    w.XVariable1()->setLeft(l.xVariable1);
    w.AlgebraOp1()->setLeft(l.algebraOp1);
    w.AlgebraOp1()->setVisible(true);
    w.QValue()->setLeft(l.qValue);
    w.Equal()->setLeft(l.equal);
    w.Equal()->setVisible(true);
    w.YValue()->setLeft(l.yValue);
    if (!l.hard) {
        w.XVariable2()->setVisible(false);
        w.AlgebraOp2()->setVisible(false);
        w.TValue()->setVisible(false);
        return;
    }
    w.XVariable2()->setLeft(l.xVariable2);
    w.XVariable2()->setVisible(true);
    w.AlgebraOp2()->setLeft(285);
    w.AlgebraOp2()->setVisible(true);
    w.TValue()->setLeft(304);
    w.TValue()->setVisible(true);
    // The signs stay empty until the Hard problem writes its own.
    w.AlgebraOp1()->setText(QString());
    w.AlgebraOp2()->setText(QString());
}

// The first selected level picks its range; with none selected the range stays.
template <class OnLevel>
void byLevel(const Window1& w, Range easy, Range medium, Range hard, OnLevel onLevel)
{
    if (w.Easy()->Value()) {
        setRange(easy);
        onLevel(0);
    } else if (w.Medium()->Value()) {
        setRange(medium);
        onLevel(1);
    } else if (w.Hard()->Value()) {
        setRange(hard);
        onLevel(2);
    }
}

} // namespace

// ---- Operations ----

namespace {

void arithmeticOperation(Window1& w, Range easy, Range medium, Range hard, const QString& sign)
{
    byLevel(w, easy, medium, hard, [](int) { });
    w.Operator()->setText(sign);
    w.resetProblemArea();
    w.AlgebraOp1()->setVisible(false);
    w.AlgebraOp2()->setVisible(false);
    w.PValue()->setVisible(false);
    w.QValue()->setVisible(false);
    w.YValue()->setVisible(false);
    w.TValue()->setVisible(false);
    w.A()->setVisible(true);
    w.Operator()->setVisible(true);
    w.XVariable1()->setVisible(false);
    w.XVariable2()->setVisible(false);
    w.Equal()->setVisible(false);
    w.Timer1()->setMode(1);
}

} // namespace

void Window1::Add_Action()
{
    arithmeticOperation(*this, {2, 10}, {11, 80}, {41, 1250}, QStringLiteral("+"));
}

void Window1::Subtract_Action()
{
    arithmeticOperation(*this, {2, 10}, {21, 650}, {81, 5000}, QStringLiteral("-"));
}

void Window1::Multiply_Action()
{
    arithmeticOperation(*this, {2, 10}, {11, 80}, {41, 250}, QStringLiteral("x"));
}

void Window1::Divide_Action()
{
    arithmeticOperation(*this, {2, 10}, {6, 25}, {11, 75}, QString(QChar(0x00F7)));
}

void Window1::Algebra_Action()
{
    static constexpr const AlgebraLayout* kLayouts[] = {&kAlgebraEasy, &kAlgebraMedium, &kAlgebraHardByOperation};
    byLevel(*this, {2, 10}, {10, 50}, {50, 500}, [this](int level) { layAlgebraRow(*this, *kLayouts[level]); });
    XVariable1()->setVisible(true);
    A()->setVisible(false);
    Operator()->setVisible(false);
    // The arithmetic row reads "X =" in front of the answer field.
    B()->setLeft(200);
    B()->setText(QStringLiteral("X"));
    AlgebraOp1()->setText(QString());
    AlgebraOp1()->setVisible(true);
    PValue()->setText(QString());
    PValue()->setVisible(true);
    QValue()->setText(QString());
    QValue()->setVisible(true);
    YValue()->setText(QString());
    YValue()->setVisible(true);
    TValue()->setText(QString());
    resetAnswerArea();
    Timer1()->setMode(1);
}

void Window1::Roman_Action()
{
    byLevel(*this, {2, 10}, {10, 50}, {50, 250}, [this](int) { showArithmeticRowOnly(); });
    B()->setLeft(154);
    Operator()->setText(QStringLiteral("+"));
    // A and B keep their texts until the new problem writes the two numerals.
    resetAnswerArea();
    Timer1()->setMode(1);
}

// ---- Levels ----

namespace {

void levelSelected(Window1& w, int level, Range range, Range romanRange)
{
    setRange(range);
    // The full reset whatever the operation: A and B are emptied, B back at 154.
    w.resetProblemArea();
    if (w.Algebra()->Value()) {
        w.B()->setLeft(200);
        w.B()->setText(QStringLiteral("X"));
        static constexpr const AlgebraLayout* kLayouts[] = {&kAlgebraEasy, &kAlgebraMedium, &kAlgebraHardByLevel};
        layAlgebraRow(w, *kLayouts[level]);
    }
    if (w.Roman()->Value()) {
        setRange(romanRange);
        w.showArithmeticRowOnly();
    }
    w.Timer1()->setMode(1);
}

} // namespace

void Window1::Easy_Action()
{
    levelSelected(*this, 0, {2, 10}, {2, 10});
}

void Window1::Medium_Action()
{
    Range r{11, 80};  // Add, Multiply, Roman or no operation
    if (Divide()->Value())
        r = {6, 25};
    else if (Subtract()->Value())
        r = {21, 650};
    else if (Algebra()->Value())
        r = {2, 10};
    levelSelected(*this, 1, r, {10, 50});
}

void Window1::Hard_Action()
{
    Range r{41, 250};  // Multiply, Roman or no operation
    if (Divide()->Value())
        r = {11, 75};
    else if (Add()->Value())
        r = {41, 1250};
    else if (Subtract()->Value())
        r = {81, 5000};
    else if (Algebra()->Value())
        r = {2, 30};
    levelSelected(*this, 2, r, {50, 500});
}

void Window1::presentSelection()
{
    using Handler = void (Window1::*)();
    const std::pair<fw::RadioButton*, Handler> operations[] = {
        {Add(), &Window1::Add_Action},         {Subtract(), &Window1::Subtract_Action},
        {Multiply(), &Window1::Multiply_Action}, {Divide(), &Window1::Divide_Action},
        {Algebra(), &Window1::Algebra_Action}, {Roman(), &Window1::Roman_Action},
    };
    for (const auto& [button, handler] : operations)
        if (button->Value())
            return (this->*handler)();
    const std::pair<fw::RadioButton*, Handler> levels[] = {
        {Easy(), &Window1::Easy_Action}, {Medium(), &Window1::Medium_Action}, {Hard(), &Window1::Hard_Action}};
    for (const auto& [button, handler] : levels)
        if (button->Value())
            return (this->*handler)();
    Add()->setValue(true);
    Easy()->setValue(true);
    Add_Action();
}

} // namespace drill
