#include "sumwise_fixture.h"

#include <QMenuBar>

#include <memory>

// The main window as building it leaves it: 39 controls in a fixed order, at
// fixed places, with their design texts, and no handler run. The window opened
// by start-up has already run its Open event, so the pure creation state is
// read from a second Window1 built the way the framework builds one, up to but
// not including the Open event.

namespace {

enum class Kind { GroupBox, Radio, Push, Field, Label, Separator, Timer };

struct ControlRow {
    const char* name;
    Kind kind;
    const char* parent;  // group box, or nullptr for the window
    int left, top, width, height;
    const char* text;
    int size;   // text size set before the list; 0: the default size
    bool bold;
    int align;  // TextAlign of a label, Alignment of the field; -1 for none
    int period; // timers only
};

// clang-format off
const ControlRow kControls[] = {
    {"GroupBox1",   Kind::GroupBox,  nullptr,     263, 17, 100, 149, "Skill Level", 0, true, -1, 0},
    {"Easy",        Kind::Radio,     "GroupBox1", 267, 40, 80, 20, "Easy", 0, true, -1, 0},
    {"Medium",      Kind::Radio,     "GroupBox1", 268, 90, 80, 20, "Medium", 0, true, -1, 0},
    {"Hard",        Kind::Radio,     "GroupBox1", 269, 140, 80, 20, "Hard", 0, true, -1, 0},
    {"GroupBox2",   Kind::GroupBox,  nullptr,     56, 17, 154, 149, "Skill", 0, true, -1, 0},
    {"Add",         Kind::Radio,     "GroupBox2", 66, 40, 80, 20, "Add", 0, true, -1, 0},
    {"Subtract",    Kind::Radio,     "GroupBox2", 66, 60, 80, 20, "Subtract", 0, true, -1, 0},
    {"Multiply",    Kind::Radio,     "GroupBox2", 66, 80, 80, 20, "Multiply", 0, true, -1, 0},
    {"Divide",      Kind::Radio,     "GroupBox2", 66, 100, 80, 20, "Divide", 0, true, -1, 0},
    {"Algebra",     Kind::Radio,     "GroupBox2", 67, 120, 79, 20, "Algebra", 0, true, -1, 0},
    {"Roman",       Kind::Radio,     "GroupBox2", 67, 140, 140, 20, "Roman Numerals", 0, true, -1, 0},
    {"NewProblem",  Kind::Push,      nullptr,     158, 186, 108, 20, "New Problem", 0, true, -1, 0},
    {"MyAnswer",    Kind::Field,     nullptr,     296, 259, 110, 25, "CCCLXXXVIII", 16, false, 2, 0},
    {"StaticText1", Kind::Label,     nullptr,     268, 259, 20, 20, "=", 20, true, 1, 0},
    {"A",           Kind::Label,     nullptr,     13, 262, 110, 30, "CCCLXXXVIII", 16, false, 1, 0},
    {"Operator",    Kind::Label,     nullptr,     127, 262, 20, 20, "+", 16, false, 1, 0},
    {"B",           Kind::Label,     nullptr,     154, 262, 110, 30, "CCCLXXXVIII", 16, false, 1, 0},
    {"Enter",       Kind::Push,      nullptr,     308, 301, 80, 20, "Enter", 0, true, -1, 0},
    {"Feedback",    Kind::Label,     nullptr,     117, 339, 193, 40, "Feedback", 40, true, 1, 0},
    {"Right",       Kind::Label,     nullptr,     77, 409, 68, 27, "Correct", 0, true, 1, 0},
    {"Wrong",       Kind::Label,     nullptr,     146, 409, 68, 27, "Incorrect", 0, true, 1, 0},
    {"Reset",       Kind::Push,      nullptr,     308, 419, 80, 20, "Reset", 0, true, -1, 0},
    {"ScoreR",      Kind::Label,     nullptr,     79, 427, 63, 20, "0", 0, true, 1, 0},
    {"ScoreW",      Kind::Label,     nullptr,     146, 427, 60, 20, "0", 0, true, 1, 0},
    {"StaticText7", Kind::Label,     nullptr,     219, 409, 31, 20, "%", 0, true, 1, 0},
    {"PCent",       Kind::Label,     nullptr,     218, 427, 30, 20, "0", 0, true, 1, 0},
    {"Separator1",  Kind::Separator, nullptr,     15, 395, 388, 4, "", 0, false, -1, 0},
    {"PValue",      Kind::Label,     nullptr,     73, 223, 40, 20, "P", 18, false, 2, 0},
    {"XVariable1",  Kind::Label,     nullptr,     112, 223, 22, 20, "X", 18, false, 1, 0},
    {"AlgebraOp1",  Kind::Label,     nullptr,     143, 221, 20, 20, "+", 18, true, 1, 0},
    {"QValue",      Kind::Label,     nullptr,     165, 223, 40, 20, "Q", 18, false, 1, 0},
    {"Equal",       Kind::Label,     nullptr,     202, 221, 20, 20, "=", 20, true, 0, 0},
    {"YValue",      Kind::Label,     nullptr,     223, 223, 40, 20, "Y", 18, false, 2, 0},
    {"AlgebraOp2",  Kind::Label,     nullptr,     285, 221, 20, 20, "+", 18, true, 1, 0},
    {"TValue",      Kind::Label,     nullptr,     308, 223, 40, 20, "T", 18, false, 1, 0},
    {"XVariable2",  Kind::Label,     nullptr,     262, 223, 22, 20, "X", 18, false, 1, 0},
    {"Timer1",      Kind::Timer,     nullptr,     0, 0, 0, 0, "", 0, false, -1, 50},
    {"AnswerBanner", Kind::Label,    nullptr,     138, 297, 150, 36, "Correct answer:", 0, true, 1, 0},
    {"Timer2",      Kind::Timer,     nullptr,     0, 0, 0, 0, "", 0, false, -1, 4000},
};
// clang-format on

void PrintTo(const ControlRow& row, std::ostream* os)
{
    *os << row.name;
}

std::string rowName(const ::testing::TestParamInfo<ControlRow>& info)
{
    return info.param.name;
}

Qt::Alignment horizontal(int align)
{
    switch (align) {
    case 1: return Qt::AlignHCenter;
    case 2: return Qt::AlignRight;
    default: return Qt::AlignLeft;
    }
}

template <class C>
void expectPlace(const C* c, const ControlRow& row)
{
    EXPECT_EQ(c->Left(), row.left);
    EXPECT_EQ(c->Top(), row.top);
    EXPECT_EQ(c->width(), row.width);
    EXPECT_EQ(c->height(), row.height);
}

void expectFont(const QWidget* c, const ControlRow& row)
{
    EXPECT_EQ(c->font().pixelSize(), row.size ? row.size : fw::kDefaultTextPixelSize);
    EXPECT_EQ(c->font().bold(), row.bold);
}

// What nothing changes after creation: where a control stands vertically, its
// size, font, alignment and (for the groups) caption.
void expectFixedProperties(const drill::Window1& win, const ControlRow& row)
{
    const QString name = QString::fromLatin1(row.name);
    QObject* o = win._ControlByName(name);
    ASSERT_NE(o, nullptr) << row.name;
    if (row.kind == Kind::Timer) {
        auto* t = qobject_cast<fw::Timer*>(o);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(t->Period(), row.period);
        return;
    }
    auto* widget = qobject_cast<QWidget*>(o);
    ASSERT_NE(widget, nullptr);
    const QWidget* expectedParent =
        row.parent ? qobject_cast<QWidget*>(win._ControlByName(QString::fromLatin1(row.parent))) : win.centralWidget();
    EXPECT_EQ(widget->parentWidget(), expectedParent);
    if (row.kind != Kind::Separator)
        expectFont(widget, row);
    switch (row.kind) {
    case Kind::GroupBox:
        EXPECT_EQ(static_cast<fw::GroupBox*>(widget)->title(), QString::fromUtf8(row.text));
        break;
    case Kind::Radio:
        EXPECT_EQ(static_cast<fw::RadioButton*>(widget)->text(), QString::fromUtf8(row.text));
        break;
    case Kind::Push:
        EXPECT_EQ(static_cast<fw::PushButton*>(widget)->Caption(), QString::fromUtf8(row.text));
        break;
    case Kind::Label:
        EXPECT_EQ(static_cast<fw::Label*>(widget)->alignment() & Qt::AlignHorizontal_Mask, horizontal(row.align));
        break;
    case Kind::Field:
        EXPECT_EQ(static_cast<fw::TextField*>(widget)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        break;
    default:
        break;
    }
    EXPECT_EQ(widget->mapTo(win.centralWidget(), QPoint(0, 0)).y(), row.top) << "Top";
    EXPECT_EQ(widget->size(), QSize(row.width, row.height));
}

// Everything the creation gives, for a window whose Open event has not run.
void expectCreationState(const drill::Window1& win, const ControlRow& row)
{
    expectFixedProperties(win, row);
    const QString name = QString::fromLatin1(row.name);
    QObject* o = win._ControlByName(name);
    const QString text = QString::fromUtf8(row.text);
    const bool selected = name == QLatin1String("Easy") || name == QLatin1String("Add");
    switch (row.kind) {
    case Kind::Timer: {
        auto* t = qobject_cast<fw::Timer*>(o);
        EXPECT_EQ(t->Mode(), 0);
        EXPECT_FALSE(t->isRunning());
        return;
    }
    case Kind::GroupBox:
        expectPlace(static_cast<fw::GroupBox*>(o), row);
        break;
    case Kind::Radio: {
        auto* r = static_cast<fw::RadioButton*>(o);
        expectPlace(r, row);
        EXPECT_EQ(r->Value(), selected);
        break;
    }
    case Kind::Push: {
        auto* b = static_cast<fw::PushButton*>(o);
        expectPlace(b, row);
        EXPECT_EQ(b->Default(), name == QLatin1String("NewProblem"));
        EXPECT_FALSE(b->Cancel());
        break;
    }
    case Kind::Field: {
        auto* f = static_cast<fw::TextField*>(o);
        expectPlace(f, row);
        EXPECT_EQ(f->Text(), text);
        break;
    }
    case Kind::Label: {
        auto* l = static_cast<fw::Label*>(o);
        expectPlace(l, row);
        EXPECT_EQ(l->Text(), text);
        break;
    }
    case Kind::Separator:
        expectPlace(static_cast<fw::Separator*>(o), row);
        break;
    }
    auto* widget = qobject_cast<QWidget*>(o);
    const bool banner = name == QLatin1String("AnswerBanner");
    const bool field = name == QLatin1String("MyAnswer");
    EXPECT_EQ(widget->isHidden(), banner) << "Visible";
    EXPECT_EQ(widget->isEnabled(), !field) << "Enabled";
}

// A second Window1 built as the framework's window constructor builds one, up
// to (not including) its Open event.
class BuiltWindowTest : public SumwiseTest {
protected:
    void SetUp() override
    {
        SumwiseTest::SetUp();
        // The opened window's first problem now, so its Timer1 cannot fire
        // during settle() on a slow machine and disturb the sentinels.
        fireTimers();
        // Sentinels: no handler of the new window may touch the range or start a timer.
        Module1::Low = -7;
        Module1::High = -7;
        runningBefore = fw::testing::runningTimerCount();
        built = std::make_unique<drill::Window1>();
        built->Layout();
        built->CreateControls();
        built->show();
        settle();
    }
    void TearDown() override
    {
        built.reset();
        SumwiseTest::TearDown();
    }

    std::unique_ptr<drill::Window1> built;
    int runningBefore = 0;
};

class WindowCreationTest : public BuiltWindowTest, public ::testing::WithParamInterface<ControlRow> { };
class OpenedWindowTest : public SumwiseTest { };

} // namespace

TEST_P(WindowCreationTest, ControlAsCreated)
{
    expectCreationState(*built, GetParam());
    EXPECT_EQ(Module1::Low, -7);
    EXPECT_EQ(Module1::High, -7);
    EXPECT_EQ(fw::testing::runningTimerCount(), runningBefore);
}

// Selections, problems and answers move labels and change texts, but never a
// control's size, font, alignment or caption.
TEST_P(WindowCreationTest, ControlKeepsItsFixedPropertiesThroughADrill)
{
    click(w()->Algebra());
    click(w()->Hard());
    fireTimers();
    typeAnswer(QStringLiteral("0"));
    pressReturn();
    click(w()->Roman());
    fireTimers();
    click(w()->Divide());
    fireTimers();
    click(w()->Reset());
    const ControlRow& row = GetParam();
    expectFixedProperties(*w(), row);

    // Some controls nothing touches at all: they keep place, text and state.
    static const QStringList untouched = {"GroupBox1", "GroupBox2", "StaticText1", "Right", "Wrong",
                                          "Reset", "StaticText7", "Separator1"};
    if (untouched.contains(QLatin1String(row.name)))
        expectCreationState(*w(), row);
}

INSTANTIATE_TEST_SUITE_P(Window1, WindowCreationTest, ::testing::ValuesIn(kControls), rowName);

TEST_F(BuiltWindowTest, ControlsAreCreatedInTableOrder)
{
    QStringList expected;
    for (const ControlRow& row : kControls)
        expected << QString::fromLatin1(row.name);
    QStringList names;
    for (QObject* o : built->controlsInOrder())
        names << o->objectName();
    EXPECT_EQ(names, expected);
    names.clear();
    for (QObject* o : w()->controlsInOrder())
        names << o->objectName();
    EXPECT_EQ(names, expected);
}

TEST_F(BuiltWindowTest, WindowPropertiesAndButtonFlags)
{
    EXPECT_EQ(built->windowTitle(), QStringLiteral("Sumwise"));
    EXPECT_EQ(built->centralWidget()->size(), QSize(420, 467));
    EXPECT_EQ(built->menuBarModel(), MenuBar1());
    EXPECT_NE(built->menuBar(), nullptr);

    // The field admits letters and digits, twelve of them: the numeral of 888.
    EXPECT_EQ(built->MyAnswer()->maxLength(), 12);
    auto* banner = built->AnswerBanner();
    EXPECT_TRUE(banner->wordWrap());
    EXPECT_EQ(banner->palette().color(QPalette::WindowText), QColor(255, 2, 20));
    EXPECT_TRUE(built->Enter()->isEnabled());
    EXPECT_FALSE(built->Enter()->Default());
    EXPECT_TRUE(built->NewProblem()->isEnabled());
    EXPECT_TRUE(built->NewProblem()->Default());
    EXPECT_TRUE(built->Reset()->isEnabled());
}

// ---- The menu items the window reaches ----

namespace {

struct MenuRow {
    const char* name;
    fw::MenuItem* (*get)(const drill::Window1&);
    const char* text;
    fw::MenuItem::Kind kind;
};

using K = fw::MenuItem::Kind;
// clang-format off
const MenuRow kMenuItems[] = {
    {"SoundMenu", [](const drill::Window1& x) -> fw::MenuItem* { return x.SoundMenu(); }, "Sound", K::Normal},
    {"SoundAbout", [](const drill::Window1& x) -> fw::MenuItem* { return x.SoundAbout(); }, "About...", K::ApplicationMenu},
    {"SoundOff", [](const drill::Window1& x) -> fw::MenuItem* { return x.SoundOff(); }, "Off", K::Normal},
    {"SoundOn", [](const drill::Window1& x) -> fw::MenuItem* { return x.SoundOn(); }, "On", K::Normal},
    {"CheckForUpdateMenu", [](const drill::Window1& x) -> fw::MenuItem* { return x.CheckForUpdateMenu(); }, "Check For Update", K::ApplicationMenu},
    {"CheckForUpdateCheckNow", [](const drill::Window1& x) -> fw::MenuItem* { return x.CheckForUpdateCheckNow(); }, "Check Now", K::Normal},
    {"RomanNumberInfoMenu", [](const drill::Window1& x) -> fw::MenuItem* { return x.RomanNumberInfoMenu(); }, "Roman Numerals Reference", K::Normal},
    {"RomanNumberInfoShowWebSite", [](const drill::Window1& x) -> fw::MenuItem* { return x.RomanNumberInfoShowWebSite(); }, "Show Web Site", K::Normal},
    {"EditMenu", [](const drill::Window1& x) -> fw::MenuItem* { return x.EditMenu(); }, "&Edit", K::Normal},
    {"EditSelectAll", [](const drill::Window1& x) -> fw::MenuItem* { return x.EditSelectAll(); }, "Select &All", K::Normal},
    {"UntitledMenu0", [](const drill::Window1& x) -> fw::MenuItem* { return x.UntitledMenu0(); }, "-", K::Normal},
    {"EditClear", [](const drill::Window1& x) -> fw::MenuItem* { return x.EditClear(); }, "Clear", K::Normal},
    {"EditPaste", [](const drill::Window1& x) -> fw::MenuItem* { return x.EditPaste(); }, "&Paste", K::Normal},
    {"EditCopy", [](const drill::Window1& x) -> fw::MenuItem* { return x.EditCopy(); }, "&Copy", K::Normal},
    {"EditCut", [](const drill::Window1& x) -> fw::MenuItem* { return x.EditCut(); }, "Cu&t", K::Normal},
    {"UntitledMenu1", [](const drill::Window1& x) -> fw::MenuItem* { return x.UntitledMenu1(); }, "-", K::Normal},
    {"EditUndo", [](const drill::Window1& x) -> fw::MenuItem* { return x.EditUndo(); }, "&Undo", K::Normal},
    {"FileMenu", [](const drill::Window1& x) -> fw::MenuItem* { return x.FileMenu(); }, "&File", K::Normal},
    {"FileQuit", [](const drill::Window1& x) -> fw::MenuItem* { return x.FileQuit(); }, "Quit", K::Quit},
};
// clang-format on

void PrintTo(const MenuRow& row, std::ostream* os)
{
    *os << row.name;
}

class WindowMenuItemTest : public SumwiseTest, public ::testing::WithParamInterface<MenuRow> { };

} // namespace

TEST_P(WindowMenuItemTest, AccessorFindsTheItemOfTheSharedMenuBar)
{
    const MenuRow& row = GetParam();
    fw::MenuItem* item = row.get(*w());
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->Name(), QString::fromLatin1(row.name));
    EXPECT_EQ(item->Text(), QString::fromUtf8(row.text));
    EXPECT_EQ(item->kind(), row.kind);
    // The same item the application's menu handlers reach.
    EXPECT_EQ(item, App()->menuBar()->Lookup(QString::fromLatin1(row.name)));
    EXPECT_EQ(w()->menuBarModel(), App()->menuBar());
}

INSTANTIATE_TEST_SUITE_P(Window1, WindowMenuItemTest, ::testing::ValuesIn(kMenuItems),
                         [](const ::testing::TestParamInfo<MenuRow>& info) { return std::string(info.param.name); });

// ---- The opened window ----

TEST_F(OpenedWindowTest, SecondAccessorCallReturnsTheOpenWindowAndBuildsNothing)
{
    drill::Window1* first = w();
    const size_t controls = first->controlsInOrder().size();
    const int running = fw::testing::runningTimerCount();
    EXPECT_EQ(::Window1(), first);
    EXPECT_EQ(first->controlsInOrder().size(), controls);
    EXPECT_EQ(fw::testing::runningTimerCount(), running);
    EXPECT_EQ(fw::openWindows().size(), size_t(1));
}

// With no settings file the Open event restores Add and Easy and presents them
// as a click would: the window waits for the problem that Timer1 brings.
TEST_F(OpenedWindowTest, OpenedWindowWaitsForItsFirstProblem)
{
    drill::Window1* x = w();
    EXPECT_TRUE(x->Add()->Value());
    EXPECT_TRUE(x->Easy()->Value());
    EXPECT_EQ(Module1::Low, 2);
    EXPECT_EQ(Module1::High, 10);
    EXPECT_EQ(x->A()->Text(), QString());
    EXPECT_EQ(x->B()->Text(), QString());
    EXPECT_EQ(x->B()->Left(), 154);
    EXPECT_EQ(x->Operator()->Text(), QStringLiteral("+"));
    for (fw::Label* l : {x->PValue(), x->XVariable1(), x->AlgebraOp1(), x->QValue(), x->Equal(), x->YValue(),
                         x->XVariable2(), x->AlgebraOp2(), x->TValue()})
        EXPECT_FALSE(l->Visible()) << l->objectName().toStdString();
    EXPECT_EQ(x->Feedback()->Text(), QString());
    EXPECT_EQ(x->MyAnswer()->Text(), QString());
    EXPECT_FALSE(x->MyAnswer()->isEnabled());
    EXPECT_FALSE(x->Enter()->isEnabled());
    EXPECT_FALSE(x->Enter()->Default());
    EXPECT_TRUE(x->NewProblem()->isEnabled());
    EXPECT_TRUE(x->NewProblem()->Default());
    EXPECT_FALSE(x->AnswerBanner()->Visible());
    EXPECT_EQ(x->ScoreR()->Text(), QStringLiteral("0"));
    EXPECT_EQ(x->ScoreW()->Text(), QStringLiteral("0"));
    EXPECT_EQ(x->PCent()->Text(), QStringLiteral("0"));
    EXPECT_TRUE(x->Timer1()->isRunning());
    EXPECT_FALSE(x->Timer2()->isRunning());
    EXPECT_EQ(fw::testing::runningTimerCount(), 1);
    EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty());
}
