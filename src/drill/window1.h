#pragma once

#include "fw/menu.h"
#include "fw/window.h"

namespace fw {
class Random;
}

namespace drill {

struct AlgebraDraw;
struct GeneratorStats;

// The main window of the drill. It keeps no data of its own beyond its
// controls: the drill state lives in Module1, and the selected operation and
// level are only the radio buttons' Value, read again at every use.
class Window1 : public fw::Window {
    Q_OBJECT
public:
    void Layout() override;
    void CreateControls() override;

    // Control accessors: each finds its control by name at every call.
    fw::GroupBox* GroupBox1() const { return control<fw::GroupBox>(QStringLiteral("GroupBox1")); }
    fw::RadioButton* Easy() const { return control<fw::RadioButton>(QStringLiteral("Easy")); }
    fw::RadioButton* Medium() const { return control<fw::RadioButton>(QStringLiteral("Medium")); }
    fw::RadioButton* Hard() const { return control<fw::RadioButton>(QStringLiteral("Hard")); }
    fw::GroupBox* GroupBox2() const { return control<fw::GroupBox>(QStringLiteral("GroupBox2")); }
    fw::RadioButton* Add() const { return control<fw::RadioButton>(QStringLiteral("Add")); }
    fw::RadioButton* Subtract() const { return control<fw::RadioButton>(QStringLiteral("Subtract")); }
    fw::RadioButton* Multiply() const { return control<fw::RadioButton>(QStringLiteral("Multiply")); }
    fw::RadioButton* Divide() const { return control<fw::RadioButton>(QStringLiteral("Divide")); }
    fw::RadioButton* Algebra() const { return control<fw::RadioButton>(QStringLiteral("Algebra")); }
    fw::RadioButton* Roman() const { return control<fw::RadioButton>(QStringLiteral("Roman")); }
    fw::PushButton* NewProblem() const { return control<fw::PushButton>(QStringLiteral("NewProblem")); }
    fw::TextField* MyAnswer() const { return control<fw::TextField>(QStringLiteral("MyAnswer")); }
    fw::Label* StaticText1() const { return control<fw::Label>(QStringLiteral("StaticText1")); }
    fw::Label* A() const { return control<fw::Label>(QStringLiteral("A")); }
    fw::Label* Operator() const { return control<fw::Label>(QStringLiteral("Operator")); }
    fw::Label* B() const { return control<fw::Label>(QStringLiteral("B")); }
    fw::PushButton* Enter() const { return control<fw::PushButton>(QStringLiteral("Enter")); }
    fw::Label* Feedback() const { return control<fw::Label>(QStringLiteral("Feedback")); }
    fw::Label* Right() const { return control<fw::Label>(QStringLiteral("Right")); }
    fw::Label* Wrong() const { return control<fw::Label>(QStringLiteral("Wrong")); }
    fw::PushButton* Reset() const { return control<fw::PushButton>(QStringLiteral("Reset")); }
    fw::Label* ScoreR() const { return control<fw::Label>(QStringLiteral("ScoreR")); }
    fw::Label* ScoreW() const { return control<fw::Label>(QStringLiteral("ScoreW")); }
    fw::Label* StaticText7() const { return control<fw::Label>(QStringLiteral("StaticText7")); }
    fw::Label* PCent() const { return control<fw::Label>(QStringLiteral("PCent")); }
    fw::Separator* Separator1() const { return control<fw::Separator>(QStringLiteral("Separator1")); }
    fw::Label* PValue() const { return control<fw::Label>(QStringLiteral("PValue")); }
    fw::Label* XVariable1() const { return control<fw::Label>(QStringLiteral("XVariable1")); }
    fw::Label* AlgebraOp1() const { return control<fw::Label>(QStringLiteral("AlgebraOp1")); }
    fw::Label* QValue() const { return control<fw::Label>(QStringLiteral("QValue")); }
    fw::Label* Equal() const { return control<fw::Label>(QStringLiteral("Equal")); }
    fw::Label* YValue() const { return control<fw::Label>(QStringLiteral("YValue")); }
    fw::Label* AlgebraOp2() const { return control<fw::Label>(QStringLiteral("AlgebraOp2")); }
    fw::Label* TValue() const { return control<fw::Label>(QStringLiteral("TValue")); }
    fw::Label* XVariable2() const { return control<fw::Label>(QStringLiteral("XVariable2")); }
    fw::Timer* Timer1() const { return control<fw::Timer>(QStringLiteral("Timer1")); }
    fw::Label* AnswerBanner() const { return control<fw::Label>(QStringLiteral("AnswerBanner")); }
    fw::Timer* Timer2() const { return control<fw::Timer>(QStringLiteral("Timer2")); }

    // Level selection.
    void Easy_Action();
    void Medium_Action();
    void Hard_Action();
    // Operation selection.
    void Add_Action();
    void Subtract_Action();
    void Multiply_Action();
    void Divide_Action();
    void Algebra_Action();
    void Roman_Action();
    // Problems, answers, score.
    void NewProblem_Action();
    void MyAnswer_TextChange();
    void Enter_Action();
    void Reset_Action();
    void Timer1_Action();
    void Timer2_Action();

    // Menu-item accessors: the items of the shared menu bar, found by name.
    fw::MenuItem* SoundMenu() const { return menuItem<fw::MenuItem>("SoundMenu"); }
    fw::AppleMenuItem* SoundAbout() const { return menuItem<fw::AppleMenuItem>("SoundAbout"); }
    fw::MenuItem* SoundOff() const { return menuItem<fw::MenuItem>("SoundOff"); }
    fw::MenuItem* SoundOn() const { return menuItem<fw::MenuItem>("SoundOn"); }
    fw::AppleMenuItem* CheckForUpdateMenu() const { return menuItem<fw::AppleMenuItem>("CheckForUpdateMenu"); }
    fw::MenuItem* CheckForUpdateCheckNow() const { return menuItem<fw::MenuItem>("CheckForUpdateCheckNow"); }
    fw::MenuItem* RomanNumberInfoMenu() const { return menuItem<fw::MenuItem>("RomanNumberInfoMenu"); }
    fw::MenuItem* RomanNumberInfoShowWebSite() const { return menuItem<fw::MenuItem>("RomanNumberInfoShowWebSite"); }
    fw::MenuItem* EditMenu() const { return menuItem<fw::MenuItem>("EditMenu"); }
    fw::MenuItem* EditSelectAll() const { return menuItem<fw::MenuItem>("EditSelectAll"); }
    fw::MenuItem* UntitledMenu0() const { return menuItem<fw::MenuItem>("UntitledMenu0"); }
    fw::MenuItem* EditClear() const { return menuItem<fw::MenuItem>("EditClear"); }
    fw::MenuItem* EditPaste() const { return menuItem<fw::MenuItem>("EditPaste"); }
    fw::MenuItem* EditCopy() const { return menuItem<fw::MenuItem>("EditCopy"); }
    fw::MenuItem* EditCut() const { return menuItem<fw::MenuItem>("EditCut"); }
    fw::MenuItem* UntitledMenu1() const { return menuItem<fw::MenuItem>("UntitledMenu1"); }
    fw::MenuItem* EditUndo() const { return menuItem<fw::MenuItem>("EditUndo"); }
    fw::MenuItem* FileMenu() const { return menuItem<fw::MenuItem>("FileMenu"); }
    fw::QuitMenuItem* FileQuit() const { return menuItem<fw::QuitMenuItem>("FileQuit"); }

    void Event_Open() override;
    void Event_Close() override;

    // Problem generators: draw into Module1 and write the equation labels.
    void GetRandomNumbers();
    void GetAlgebraRandomNumbersMedium();
    void GetAlgebraRandomNumbersEasy();
    void GetAlgebraRandomNumbersHard();

    // Settings file.
    void getPlist();
    void savePlist();

    // Steps the selection handlers share.
    // Operands, answer field and feedback emptied; New Problem armed, Enter not.
    void resetProblemArea();
    // The same without touching A and B.
    void resetAnswerArea();
    // The equation hidden; A, B and the sign shown.
    void showArithmeticRowOnly();

private:
    void _CreateControls0();
    void _CreateControls1();
    void showTwoTermEquation(bool (*draw)(fw::Random&, qint32, qint32, AlgebraDraw&, GeneratorStats*));

    template <class T>
    T* menuItem(const char* name) const
    {
        fw::MenuBar* bar = menuBarModel();
        if (!bar)
            throw fw::NilObjectException("the window has no menu bar");
        fw::MenuItem* item = bar->Lookup(QLatin1String(name));
        if (!item)
            throw fw::NilObjectException(std::string("no menu item named ") + name);
        T* t = dynamic_cast<T*>(item);
        if (!t)
            throw fw::IllegalCastException(std::string("menu item ") + name + " is of another class");
        return t;
    }

    // Runs the handler of the selected operation (else level) as a click
    // would, so the range and layout are in place before the first problem.
    void presentSelection();
};

} // namespace drill

drill::Window1* Window1();
