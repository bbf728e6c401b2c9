// Building the main window: its properties and its 39 controls in creation order.
#include "drill/window1.h"

#include "app/menubar1.h"

namespace drill {

namespace {
const QString S = QStringLiteral("System");
const QString H = QStringLiteral("Helvetica Neue");
// Eleven "A" would be the design's mask, but the Roman sum 888 reads
// "DCCCLXXXVIII": twelve letters, so every answer the drill asks for can be typed.
const QString kAnswerMask = QStringLiteral("AAAAAAAAAAAA");
} // namespace

void Window1::Layout()
{
    setMenuBarModel(MenuBar1());
    applyProperties({.Title = QStringLiteral("Sumwise"),
                     .Width = 420,
                     .Height = 467,
                     .Frame = 0,
                     .CloseButton = true,
                     .MinimizeButton = true,
                     .MaximizeButton = false,
                     .Resizeable = false,
                     .Visible = true,
                     .MenuBarVisible = true});
}

void Window1::CreateControls()
{
    _CreateControls0();
    _CreateControls1();
}

void Window1::_CreateControls0()
{
    addGroupBox(QStringLiteral("GroupBox1"), 0,
                {.Left = 263, .Top = 17, .Width = 100, .Height = 149, .Caption = QStringLiteral("Skill Level"),
                 .TextFont = S, .Bold = true, .TabIndex = 0});
    addRadioButton(QStringLiteral("Easy"), 0,
                   {.Left = 267, .Top = 40, .Width = 80, .Height = 20, .Caption = QStringLiteral("Easy"),
                    .TextFont = S, .Bold = true, .Value = true, .InitialParent = QStringLiteral("GroupBox1"),
                    .TabIndex = 0},
                   [this] { Easy_Action(); });
    addRadioButton(QStringLiteral("Medium"), 0,
                   {.Left = 268, .Top = 90, .Width = 80, .Height = 20, .Caption = QStringLiteral("Medium"),
                    .TextFont = S, .Bold = true, .InitialParent = QStringLiteral("GroupBox1"), .TabIndex = 1},
                   [this] { Medium_Action(); });
    addRadioButton(QStringLiteral("Hard"), 0,
                   {.Left = 269, .Top = 140, .Width = 80, .Height = 20, .Caption = QStringLiteral("Hard"),
                    .TextFont = S, .Bold = true, .InitialParent = QStringLiteral("GroupBox1"), .TabIndex = 2},
                   [this] { Hard_Action(); });
    addGroupBox(QStringLiteral("GroupBox2"), 0,
                {.Left = 56, .Top = 17, .Width = 154, .Height = 149, .Caption = QStringLiteral("Skill"),
                 .TextFont = S, .Bold = true, .TabIndex = 1});
    addRadioButton(QStringLiteral("Add"), 0,
                   {.Left = 66, .Top = 40, .Width = 80, .Height = 20, .Caption = QStringLiteral("Add"),
                    .TextFont = S, .Bold = true, .Value = true, .InitialParent = QStringLiteral("GroupBox2"),
                    .TabIndex = 0},
                   [this] { Add_Action(); });
    addRadioButton(QStringLiteral("Subtract"), 0,
                   {.Left = 66, .Top = 60, .Width = 80, .Height = 20, .Caption = QStringLiteral("Subtract"),
                    .TextFont = S, .Bold = true, .InitialParent = QStringLiteral("GroupBox2"), .TabIndex = 1},
                   [this] { Subtract_Action(); });
    addRadioButton(QStringLiteral("Multiply"), 0,
                   {.Left = 66, .Top = 80, .Width = 80, .Height = 20, .Caption = QStringLiteral("Multiply"),
                    .TextFont = S, .Bold = true, .InitialParent = QStringLiteral("GroupBox2"), .TabIndex = 2},
                   [this] { Multiply_Action(); });
    addRadioButton(QStringLiteral("Divide"), 0,
                   {.Left = 66, .Top = 100, .Width = 80, .Height = 20, .Caption = QStringLiteral("Divide"),
                    .TextFont = S, .Bold = true, .InitialParent = QStringLiteral("GroupBox2"), .TabIndex = 3},
                   [this] { Divide_Action(); });
    addRadioButton(QStringLiteral("Algebra"), 0,
                   {.Left = 67, .Top = 120, .Width = 79, .Height = 20, .Caption = QStringLiteral("Algebra"),
                    .TextFont = S, .Bold = true, .InitialParent = QStringLiteral("GroupBox2"), .TabIndex = 4},
                   [this] { Algebra_Action(); });
    addRadioButton(QStringLiteral("Roman"), 0,
                   {.Left = 67, .Top = 140, .Width = 140, .Height = 20, .Caption = QStringLiteral("Roman Numerals"),
                    .TextFont = S, .Bold = true, .InitialParent = QStringLiteral("GroupBox2"), .TabIndex = 5},
                   [this] { Roman_Action(); });
    addPushButton(QStringLiteral("NewProblem"), 0,
                  {.Left = 158, .Top = 186, .Width = 108, .Height = 20, .Caption = QStringLiteral("New Problem"),
                   .TextFont = H, .Bold = true, .Default = true, .TabIndex = 2},
                  [this] { NewProblem_Action(); });
    addTextField(QStringLiteral("MyAnswer"), 16,
                 {.Left = 296, .Top = 259, .Width = 110, .Height = 25, .Text = QStringLiteral("CCCLXXXVIII"),
                  .TextFont = H, .Bold = false, .Alignment = 2, .Mask = kAnswerMask, .Border = true,
                  .Enabled = false, .TabIndex = 3},
                 [this] { MyAnswer_TextChange(); });
    addLabel(QStringLiteral("StaticText1"), 20,
             {.Left = 268, .Top = 259, .Width = 20, .Height = 20, .Text = QStringLiteral("="), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 4});
    addLabel(QStringLiteral("A"), 16,
             {.Left = 13, .Top = 262, .Width = 110, .Height = 30, .Text = QStringLiteral("CCCLXXXVIII"), .TextFont = H,
              .TextAlign = 1, .TabIndex = 5});
    addLabel(QStringLiteral("Operator"), 16,
             {.Left = 127, .Top = 262, .Width = 20, .Height = 20, .Text = QStringLiteral("+"), .TextFont = H,
              .TextAlign = 1, .TabIndex = 6});
    addLabel(QStringLiteral("B"), 16,
             {.Left = 154, .Top = 262, .Width = 110, .Height = 30, .Text = QStringLiteral("CCCLXXXVIII"),
              .TextFont = H, .TextAlign = 1, .TabIndex = 7});
    addPushButton(QStringLiteral("Enter"), 0,
                  {.Left = 308, .Top = 301, .Width = 80, .Height = 20, .Caption = QStringLiteral("Enter"),
                   .TextFont = H, .Bold = true, .Default = false, .Enabled = true, .TabIndex = 8},
                  [this] { Enter_Action(); });
    addLabel(QStringLiteral("Feedback"), 40,
             {.Left = 117, .Top = 339, .Width = 193, .Height = 40, .Text = QStringLiteral("Feedback"), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 9});
    addLabel(QStringLiteral("Right"), 0,
             {.Left = 77, .Top = 409, .Width = 68, .Height = 27, .Text = QStringLiteral("Correct"), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 10});
    addLabel(QStringLiteral("Wrong"), 0,
             {.Left = 146, .Top = 409, .Width = 68, .Height = 27, .Text = QStringLiteral("Incorrect"), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 11});
    addPushButton(QStringLiteral("Reset"), 0,
                  {.Left = 308, .Top = 419, .Width = 80, .Height = 20, .Caption = QStringLiteral("Reset"),
                   .TextFont = H, .Bold = true, .TabIndex = 12},
                  [this] { Reset_Action(); });
    addLabel(QStringLiteral("ScoreR"), 0,
             {.Left = 79, .Top = 427, .Width = 63, .Height = 20, .Text = QStringLiteral("0"), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 13});
    addLabel(QStringLiteral("ScoreW"), 0,
             {.Left = 146, .Top = 427, .Width = 60, .Height = 20, .Text = QStringLiteral("0"), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 14});
    addLabel(QStringLiteral("StaticText7"), 0,
             {.Left = 219, .Top = 409, .Width = 31, .Height = 20, .Text = QStringLiteral("%"), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 15});
    addLabel(QStringLiteral("PCent"), 0,
             {.Left = 218, .Top = 427, .Width = 30, .Height = 20, .Text = QStringLiteral("0"), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 16});
    addSeparator(QStringLiteral("Separator1"), {.Left = 15, .Top = 395, .Width = 388, .Height = 4, .TabIndex = 17});
    addLabel(QStringLiteral("PValue"), 18,
             {.Left = 73, .Top = 223, .Width = 40, .Height = 20, .Text = QStringLiteral("P"), .TextFont = H,
              .TextAlign = 2, .TabIndex = 18});
    addLabel(QStringLiteral("XVariable1"), 18,
             {.Left = 112, .Top = 223, .Width = 22, .Height = 20, .Text = QStringLiteral("X"), .TextFont = H,
              .TextAlign = 1, .TabIndex = 19});
    addLabel(QStringLiteral("AlgebraOp1"), 18,
             {.Left = 143, .Top = 221, .Width = 20, .Height = 20, .Text = QStringLiteral("+"), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 20});
}

void Window1::_CreateControls1()
{
    addLabel(QStringLiteral("QValue"), 18,
             {.Left = 165, .Top = 223, .Width = 40, .Height = 20, .Text = QStringLiteral("Q"), .TextFont = H,
              .TextAlign = 1, .TabIndex = 21});
    addLabel(QStringLiteral("Equal"), 20,
             {.Left = 202, .Top = 221, .Width = 20, .Height = 20, .Text = QStringLiteral("="), .TextFont = H,
              .Bold = true, .TextAlign = 0, .TabIndex = 22});
    addLabel(QStringLiteral("YValue"), 18,
             {.Left = 223, .Top = 223, .Width = 40, .Height = 20, .Text = QStringLiteral("Y"), .TextFont = H,
              .TextAlign = 2, .TabIndex = 23});
    addLabel(QStringLiteral("AlgebraOp2"), 18,
             {.Left = 285, .Top = 221, .Width = 20, .Height = 20, .Text = QStringLiteral("+"), .TextFont = H,
              .Bold = true, .TextAlign = 1, .TabIndex = 24});
    addLabel(QStringLiteral("TValue"), 18,
             {.Left = 308, .Top = 223, .Width = 40, .Height = 20, .Text = QStringLiteral("T"), .TextFont = H,
              .TextAlign = 1, .TabIndex = 25});
    addLabel(QStringLiteral("XVariable2"), 18,
             {.Left = 262, .Top = 223, .Width = 22, .Height = 20, .Text = QStringLiteral("X"), .TextFont = H,
              .TextAlign = 1, .TabIndex = 26});
    addTimer(QStringLiteral("Timer1"), 0, 50, [this] { Timer1_Action(); });
    addLabel(QStringLiteral("AnswerBanner"), 0,
             {.Left = 138, .Top = 297, .Width = 150, .Height = 36, .Text = QStringLiteral("Correct answer:"),
              .TextFont = H, .Bold = true, .TextAlign = 1, .Multiline = true, .TextColor = 0xFF0214,
              .Visible = false, .TabIndex = 28});
    addTimer(QStringLiteral("Timer2"), 0, 4000, [this] { Timer2_Action(); });
}

} // namespace drill

drill::Window1* Window1()
{
    return fw::implicitWindow<drill::Window1>();
}
