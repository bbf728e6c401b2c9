// Drawing and showing the next problem.
#include "drill/window1.h"

#include "app/module1.h"
#include "drill/conversion.h"
#include "drill/generators.h"
#include "fw/exceptions.h"
#include "fw/text.h"

namespace drill {

namespace {

fw::Random& generator()
{
    if (!Module1::R)
        throw fw::NilObjectException("the random generator has not been made yet");
    return *Module1::R;
}

Level selectedLevel(const Window1& w)
{
    if (w.Easy()->Value())
        return Level::Easy;
    if (w.Medium()->Value())
        return Level::Medium;
    if (w.Hard()->Value())
        return Level::Hard;
    return Level::None;
}

AlgebraDraw algebraGlobals()
{
    AlgebraDraw d;
    d.P = Module1::P;
    d.Q = Module1::Q;
    d.Y = Module1::Y;
    d.T = Module1::T;
    d.RandomOp1 = Module1::RandomOp1;
    d.RandomOp2 = Module1::RandomOp2;
    d.AlgebraAnswer = Module1::AlgebraAnswer;
    d.S = Module1::S;
    d.V = Module1::V;
    return d;
}

void storeAlgebraGlobals(const AlgebraDraw& d)
{
    Module1::P = d.P;
    Module1::Q = d.Q;
    Module1::Y = d.Y;
    Module1::T = d.T;
    Module1::RandomOp1 = d.RandomOp1;
    Module1::RandomOp2 = d.RandomOp2;
    Module1::AlgebraAnswer = d.AlgebraAnswer;
    Module1::S = d.S;
    Module1::V = d.V;
}

QString numeral(qint32 n)
{
    return ::Conversion()->ListBox1()->Cell(n, 1);
}

} // namespace

void Window1::GetRandomNumbers()
{
    ArithmeticDraw d{Module1::First, Module1::Second, Module1::Temp};
    if (!drawRandomNumbers(generator(), Module1::Low, Module1::High, Divide()->Value(), selectedLevel(*this), d))
        return;
    Module1::First = d.First;
    Module1::Second = d.Second;
    Module1::Temp = d.Temp;
}

// Easy and Medium write the same four labels; only the equation's shape differs.
void Window1::showTwoTermEquation(bool (*draw)(fw::Random&, qint32, qint32, AlgebraDraw&, GeneratorStats*))
{
    AlgebraDraw d = algebraGlobals();
    if (!draw(generator(), Module1::Low, Module1::High, d, nullptr))
        return;
    storeAlgebraGlobals(d);
    PValue()->setText(fw::Str(d.P));
    QValue()->setText(fw::Str(d.Q));
    AlgebraOp1()->setText(d.S);
    YValue()->setText(fw::Str(d.Y));
}

void Window1::GetAlgebraRandomNumbersEasy()
{
    showTwoTermEquation(&drawAlgebraEasy);
}

void Window1::GetAlgebraRandomNumbersMedium()
{
    showTwoTermEquation(&drawAlgebraMedium);
}

void Window1::GetAlgebraRandomNumbersHard()
{
    AlgebraDraw d = algebraGlobals();
    if (!drawAlgebraHard(generator(), Module1::Low, Module1::High, d))
        return;
    storeAlgebraGlobals(d);
    PValue()->setText(fw::Str(d.P));
    QValue()->setText(fw::Str(d.Q));
    AlgebraOp1()->setText(d.S);
    AlgebraOp2()->setText(d.V);
    YValue()->setText(fw::Str(d.Y));
    TValue()->setText(fw::Str(d.T));
}

void Window1::NewProblem_Action()
{
    // A right answer leaves Timer2 waiting to bring the next problem; once a
    // problem is on screen, whatever brought it, that one is the learner's and
    // must not be swapped for another while they type its answer.
    Timer2()->setMode(0);
    MyAnswer()->setText(QString());

    if (Algebra()->Value()) {
        if (Easy()->Value())
            GetAlgebraRandomNumbersEasy();
        else if (Medium()->Value())
            GetAlgebraRandomNumbersMedium();
        else if (Hard()->Value())
            GetAlgebraRandomNumbersHard();
    } else {
        GetRandomNumbers();
    }

    if (Roman()->Value()) {
        A()->setText(numeral(Module1::First));
        B()->setText(numeral(Module1::Second));
    } else {
        // Hidden in Algebra, so harmless there.
        A()->setText(fw::Str(Module1::First));
    }

    if (Add()->Value())
        Operator()->setText(QStringLiteral("+"));
    else if (Subtract()->Value())
        Operator()->setText(QStringLiteral("-"));
    else if (Multiply()->Value())
        Operator()->setText(QStringLiteral("x"));
    else if (Divide()->Value())
        Operator()->setText(QString(QChar(0x00F7)));

    if (Add()->Value() || Subtract()->Value() || Multiply()->Value() || Divide()->Value())
        B()->setText(fw::Str(Module1::Second));

    NewProblem()->setEnabled(false);
    NewProblem()->setDefault(false);
    AnswerBanner()->setVisible(false);
    Feedback()->setText(QString());
    MyAnswer()->setEnabled(true);
    MyAnswer()->SetFocus();
    Enter()->setDefault(false);
    Enter()->setEnabled(false);
}

void Window1::Timer1_Action()
{
    NewProblem()->Push();
}

void Window1::Timer2_Action()
{
    NewProblem()->setEnabled(true);
    NewProblem()->setDefault(true);
    NewProblem()->Push();
}

} // namespace drill
