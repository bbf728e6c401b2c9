// The one menu bar: its model, its rendering in the main window, and the five
// handlers reached through the real QActions.
#include "sumwise_fixture.h"

#include "app/aboutbox.h"
#include "fw/menu.h"
#include "update/self_test.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>

#include <functional>
#include <ostream>
#include <vector>

namespace {

enum class Kind { Plain, Quit, ApplicationMenu };

Kind kindOf(const fw::MenuItem* item)
{
    if (dynamic_cast<const fw::QuitMenuItem*>(item))
        return Kind::Quit;
    if (dynamic_cast<const fw::AppleMenuItem*>(item))
        return Kind::ApplicationMenu;
    return Kind::Plain;
}

struct Entry {
    const char* name;
    const char* text;
    const char* shortcut;  // as the model holds it; "" also for the separators
    Kind kind;
};

struct Menu {
    Entry menu;
    std::vector<Entry> items;
};

const std::vector<Menu>& expectedBar()
{
    static const std::vector<Menu> bar = {
        {{"FileMenu", "&File", "", Kind::Plain}, {{"FileQuit", "Quit", "Cmd+Q", Kind::Quit}}},
        {{"EditMenu", "&Edit", "", Kind::Plain},
         {{"EditUndo", "&Undo", "Cmd+Z", Kind::Plain},
          {"UntitledMenu1", "-", "", Kind::Plain},
          {"EditCut", "Cu&t", "Cmd+X", Kind::Plain},
          {"EditCopy", "&Copy", "Cmd+C", Kind::Plain},
          {"EditPaste", "&Paste", "Cmd+V", Kind::Plain},
          {"EditClear", "Clear", "", Kind::Plain},
          {"UntitledMenu0", "-", "", Kind::Plain},
          {"EditSelectAll", "Select &All", "Cmd+A", Kind::Plain}}},
        {{"RomanNumberInfoMenu", "Roman Numerals Reference", "", Kind::Plain},
         {{"RomanNumberInfoShowWebSite", "Show Web Site", "", Kind::Plain}}},
        {{"CheckForUpdateMenu", "Check For Update", "", Kind::ApplicationMenu},
         {{"CheckForUpdateCheckNow", "Check Now", "", Kind::Plain}}},
        {{"SoundMenu", "Sound", "", Kind::Plain},
         {{"SoundOn", "On", "", Kind::Plain},
          {"SoundOff", "Off", "", Kind::Plain},
          {"SoundAbout", "About...", "", Kind::ApplicationMenu}}},
    };
    return bar;
}

void expectEntry(const fw::MenuItem* item, const Entry& e)
{
    ASSERT_NE(item, nullptr) << e.name;
    EXPECT_EQ(item->Name().toStdString(), e.name);
    EXPECT_EQ(item->Text().toStdString(), e.text) << e.name;
    EXPECT_EQ(item->KeyboardShortcut().toStdString(), e.shortcut) << e.name;
    EXPECT_EQ(kindOf(item), e.kind) << e.name;
    EXPECT_TRUE(item->AutoEnable()) << e.name;
}

// Every entry of the model, depth first.
void forEachItem(const fw::MenuItem* parent, const std::function<void(const fw::MenuItem*)>& visit)
{
    for (int i = 0; i < parent->Count(); ++i) {
        visit(parent->Item(i));
        forEachItem(parent->Item(i), visit);
    }
}

QMenuBar* renderedBar()
{
    drill::Window1* main = fw::openWindow<drill::Window1>();
    return main ? main->menuBar() : nullptr;
}

QAction* action(const QString& itemName)
{
    QMenuBar* bar = renderedBar();
    return bar ? bar->findChild<QAction*>(itemName) : nullptr;
}

// Chooses an item as the user does: through its QAction in the main window's bar.
void choose(const QString& itemName)
{
    QAction* a = action(itemName);
    ASSERT_NE(a, nullptr) << itemName.toStdString();
    a->trigger();
    QCoreApplication::processEvents();
}

template <class W>
int openCount()
{
    int n = 0;
    for (fw::Window* window : fw::openWindows())
        n += dynamic_cast<W*>(window) != nullptr;
    return n;
}

} // namespace

using MenuBarTest = SumwiseTest;

// ---------------------------------------------------------------------------
// The model.

TEST_F(MenuBarTest, MenusAndItemsInTheirOrderWithNamesTextsShortcutsAndKinds)
{
    const fw::MenuBar* bar = MenuBar1();
    const auto& expected = expectedBar();
    ASSERT_EQ(bar->Count(), int(expected.size()));
    for (int m = 0; m < bar->Count(); ++m) {
        const fw::MenuItem* menu = bar->Item(m);
        expectEntry(menu, expected[size_t(m)].menu);
        const auto& items = expected[size_t(m)].items;
        ASSERT_EQ(menu->Count(), int(items.size())) << items.size();
        for (int i = 0; i < menu->Count(); ++i)
            expectEntry(menu->Item(i), items[size_t(i)]);
    }
}

TEST_F(MenuBarTest, LookupFindsEveryEntryByNameAtAnyDepth)
{
    const fw::MenuBar* bar = MenuBar1();
    for (const Menu& m : expectedBar()) {
        const fw::MenuItem* menu = bar->Child(QLatin1String(m.menu.name));
        ASSERT_NE(menu, nullptr) << m.menu.name;
        EXPECT_EQ(bar->Lookup(QLatin1String(m.menu.name)), menu);
        for (size_t i = 0; i < m.items.size(); ++i) {
            const QString name = QLatin1String(m.items[i].name);
            EXPECT_EQ(bar->Lookup(name), menu->Item(int(i))) << m.items[i].name;
            // Child looks at the menus only; items sit one level down.
            EXPECT_EQ(bar->Child(name), nullptr) << m.items[i].name;
        }
    }
    EXPECT_EQ(bar->Lookup(QStringLiteral("NoSuchItem")), nullptr);
}

TEST_F(MenuBarTest, ApplicationAndMainWindowShareTheOneBar)
{
    EXPECT_EQ(MenuBar1(), MenuBar1());
    EXPECT_EQ(App()->menuBar(), MenuBar1());
    EXPECT_EQ(w()->menuBarModel(), MenuBar1());
    // Both roads to the Sound items lead to the same objects.
    EXPECT_EQ(SoundOn(), w()->SoundOn());
    EXPECT_EQ(SoundOff(), w()->SoundOff());
    EXPECT_EQ(SoundOn(), MenuBar1()->Child(QStringLiteral("SoundMenu"))->Item(0));
}

class MenuBarBuildTest : public SumwiseTest {
protected:
    bool startsProgram() const override { return false; }
};

TEST_F(MenuBarBuildTest, BuildingSetsNoCheckMark)
{
    fw::MenuBar* bar = MenuBar1();
    forEachItem(bar, [](const fw::MenuItem* item) { EXPECT_FALSE(item->Checked()) << item->Name().toStdString(); });
    QWidget host;
    QMenuBar* rendered = bar->createQMenuBar(&host);
    for (QAction* a : rendered->findChildren<QAction*>()) {
        EXPECT_FALSE(a->isChecked()) << a->objectName().toStdString();
        EXPECT_FALSE(a->isCheckable()) << a->objectName().toStdString();
    }
}

// ---------------------------------------------------------------------------
// The Qt menu bar of the main window.

TEST_F(MenuBarTest, MainWindowShowsTheMenusTheirItemsAndShortcuts)
{
    QMenuBar* bar = renderedBar();
    ASSERT_NE(bar, nullptr);
    const QList<QAction*> menus = bar->actions();
    const auto& expected = expectedBar();
    ASSERT_EQ(menus.size(), qsizetype(expected.size()));
    for (size_t m = 0; m < expected.size(); ++m) {
        QMenu* menu = menus[qsizetype(m)]->menu();
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->title().toStdString(), expected[m].menu.text);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), qsizetype(expected[m].items.size())) << expected[m].menu.name;
        for (size_t i = 0; i < expected[m].items.size(); ++i) {
            const Entry& e = expected[m].items[i];
            QAction* a = items[qsizetype(i)];
            EXPECT_EQ(a->objectName().toStdString(), e.name);
            if (QLatin1String(e.text) == QLatin1String("-")) {
                EXPECT_TRUE(a->isSeparator()) << e.name;
                continue;
            }
            EXPECT_FALSE(a->isSeparator()) << e.name;
            EXPECT_EQ(a->text().toStdString(), e.text);
            const QString portable = QString::fromLatin1(e.shortcut).replace(QLatin1String("Cmd+"),
                                                                              QLatin1String("Ctrl+"));
            EXPECT_EQ(a->shortcut().toString().toStdString(), portable.toStdString()) << e.name;
        }
    }
    EXPECT_EQ(action(QStringLiteral("FileQuit"))->shortcut().toString(), QStringLiteral("Ctrl+Q"));
}

// ---------------------------------------------------------------------------
// The Sound handlers through the QActions.

namespace {

struct SoundRow {
    const char* name;
    std::vector<const char*> chosen;
    bool soundOn;
};

void PrintTo(const SoundRow& row, std::ostream* os) { *os << row.name; }

} // namespace

class SoundItemChoiceTest : public SumwiseTest, public ::testing::WithParamInterface<SoundRow> { };

TEST_P(SoundItemChoiceTest, FlagAndCheckMarksFollowTheLastChoice)
{
    const SoundRow& row = GetParam();
    const QByteArray settingsBefore = settingsOnDisk();
    for (const char* item : row.chosen)
        choose(QLatin1String(item));

    EXPECT_EQ(Module1::SoundFlag, row.soundOn);
    EXPECT_EQ(SoundOn()->Checked(), row.soundOn);
    EXPECT_EQ(SoundOff()->Checked(), !row.soundOn);
    // The check marks show in the rendered menu too.
    EXPECT_EQ(action(QStringLiteral("SoundOn"))->isChecked(), row.soundOn);
    EXPECT_EQ(action(QStringLiteral("SoundOff"))->isChecked(), !row.soundOn);
    // Only the flag and the marks change: nothing is played or saved.
    EXPECT_TRUE(fw::testing::playedSounds().isEmpty());
    EXPECT_EQ(settingsOnDisk(), settingsBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, SoundItemChoiceTest,
    ::testing::Values(SoundRow{"On", {"SoundOn"}, true}, SoundRow{"Off", {"SoundOff"}, false},
                      SoundRow{"OnTwice", {"SoundOn", "SoundOn"}, true},
                      SoundRow{"OffTwice", {"SoundOff", "SoundOff"}, false},
                      SoundRow{"OffThenOn", {"SoundOff", "SoundOn"}, true},
                      SoundRow{"OnThenOff", {"SoundOn", "SoundOff"}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Every handler returns False, and what each opens.

namespace {

struct HandlerRow {
    const char* name;
    bool (app::App::*handler)();
};

void PrintTo(const HandlerRow& row, std::ostream* os) { *os << row.name; }

} // namespace

class MenuHandlerTest : public SumwiseTest, public ::testing::WithParamInterface<HandlerRow> { };

TEST_P(MenuHandlerTest, ReturnsFalse)
{
    app::App* a = App();
    EXPECT_FALSE((a->*GetParam().handler)());
    EXPECT_FALSE((a->*GetParam().handler)());
}

INSTANTIATE_TEST_SUITE_P(Handlers, MenuHandlerTest,
                         ::testing::Values(HandlerRow{"CheckNow", &app::App::_CheckForUpdateCheckNow_Action},
                                           HandlerRow{"SoundOn", &app::App::_SoundOn_Action},
                                           HandlerRow{"SoundOff", &app::App::_SoundOff_Action},
                                           HandlerRow{"ShowWebSite", &app::App::_RomanNumberInfoShowWebSite_Action},
                                           HandlerRow{"About", &app::App::_SoundAbout_Action}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(MenuBarTest, ShowWebSiteOpensTheRomanNumeralsPageEachTime)
{
    choose(QStringLiteral("RomanNumberInfoShowWebSite"));
    choose(QStringLiteral("RomanNumberInfoShowWebSite"));
    const QStringList& urls = fw::testing::openedUrls();
    ASSERT_EQ(urls.size(), 2);
    static const QRegularExpression kPage(QStringLiteral("^http://[^/:?#]+(:[0-9]+)?/via_romana/numbers\\.html$"));
    EXPECT_TRUE(kPage.match(urls[0]).hasMatch()) << urls[0].toStdString();
    EXPECT_EQ(urls[1], urls[0]);
}

TEST_F(MenuBarTest, CheckNowTwiceLeavesOneVersionWindow)
{
    choose(QStringLiteral("CheckForUpdateCheckNow"));
    update::selfTest* first = fw::openWindow<update::selfTest>();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    choose(QStringLiteral("CheckForUpdateCheckNow"));
    EXPECT_EQ(fw::openWindow<update::selfTest>(), first);
    EXPECT_EQ(openCount<update::selfTest>(), 1);
    // Only showing it: no check has started.
    EXPECT_TRUE(fw::testing::openedUrls().isEmpty());
}

TEST_F(MenuBarTest, AboutTwiceLeavesOneAboutBox)
{
    choose(QStringLiteral("SoundAbout"));
    app::AboutBox* first = fw::openWindow<app::AboutBox>();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    choose(QStringLiteral("SoundAbout"));
    EXPECT_EQ(fw::openWindow<app::AboutBox>(), first);
    EXPECT_EQ(openCount<app::AboutBox>(), 1);
}

// Choosing the item again while its window is open behind the main window
// brings that window to the front: shown, raised and active.
namespace {

struct FrontRow {
    const char* name;
    const char* item;
    fw::Window* (*open)();
    bool minimised = false; // the learner had put the window away
};

void PrintTo(const FrontRow& row, std::ostream* os) { *os << row.name; }

// Counts the times a widget is raised.
class RaiseCounter : public QObject {
public:
    explicit RaiseCounter(QWidget* watched) { watched->installEventFilter(this); }
    int count = 0;

    bool eventFilter(QObject*, QEvent* event) override
    {
        count += event->type() == QEvent::ZOrderChange;
        return false;
    }
};

} // namespace

class BringToFrontTest : public SumwiseTest, public ::testing::WithParamInterface<FrontRow> { };

TEST_P(BringToFrontTest, ChoosingAgainBringsTheOpenWindowToTheFront)
{
    const FrontRow& row = GetParam();
    choose(QLatin1String(row.item));
    fw::Window* open = row.open();
    ASSERT_NE(open, nullptr);
    if (row.minimised)
        open->showMinimized();
    w()->raise();
    w()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w()));

    RaiseCounter raised(open);
    choose(QLatin1String(row.item));
    EXPECT_EQ(row.open(), open);
    EXPECT_TRUE(open->isVisible());
    EXPECT_FALSE(open->isMinimized());
    EXPECT_GE(raised.count, 1) << "not raised";
    EXPECT_TRUE(QTest::qWaitFor([open] { return QApplication::activeWindow() == open; }, 1000)) << "not active";
}

INSTANTIATE_TEST_SUITE_P(
    Items, BringToFrontTest,
    ::testing::Values(FrontRow{"About", "SoundAbout", []() -> fw::Window* { return fw::openWindow<app::AboutBox>(); }},
                      FrontRow{"CheckNow", "CheckForUpdateCheckNow",
                               []() -> fw::Window* { return fw::openWindow<update::selfTest>(); }},
                      FrontRow{"MinimisedAbout", "SoundAbout",
                               []() -> fw::Window* { return fw::openWindow<app::AboutBox>(); }, true},
                      FrontRow{"MinimisedCheckNow", "CheckForUpdateCheckNow",
                               []() -> fw::Window* { return fw::openWindow<update::selfTest>(); }, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The Edit items act on the focused answer field.

namespace {

struct EditRow {
    const char* name;
    const char* typed;
    std::vector<const char*> chosen;
    const char* text;       // the field afterwards
    const char* clipboard;  // nullptr: not looked at
};

void PrintTo(const EditRow& row, std::ostream* os) { *os << row.name; }

} // namespace

class EditMenuTest : public SumwiseTest, public ::testing::WithParamInterface<EditRow> { };

TEST_P(EditMenuTest, ActsOnTheFocusedAnswerField)
{
    const EditRow& row = GetParam();
    fireTimers();  // the first problem; the answer field takes input from here on
    fw::TextField* field = w()->MyAnswer();
    ASSERT_TRUE(field->isEnabled());
    w()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w()));
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([field] { return field->hasFocus(); }, 2000));
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));

    QTest::keyClicks(field, QLatin1String(row.typed));
    for (const char* item : row.chosen) {
        if (QLatin1String(item) == QLatin1String("End"))
            QTest::keyClick(field, Qt::Key_End);
        else if (QLatin1String(item) == QLatin1String("Ctrl+A"))
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        else
            choose(QLatin1String(item));
    }
    EXPECT_EQ(field->Text().toStdString(), row.text);
    if (row.clipboard) {
        EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), row.clipboard);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EditMenuTest,
    ::testing::Values(
        EditRow{"SelectAllCopyPaste", "12", {"EditSelectAll", "EditCopy", "End", "EditPaste"}, "1212", "12"},
        EditRow{"SelectAllCut", "34", {"EditSelectAll", "EditCut"}, "", "34"},
        EditRow{"PasteAtTheEnd", "5", {"EditPaste"}, "57", "7"},
        EditRow{"UndoThePaste", "12", {"EditSelectAll", "EditCopy", "End", "EditPaste", "EditUndo"}, "12", "12"},
        EditRow{"SelectAllClear", "99", {"EditSelectAll", "EditClear"}, "", "7"},
        // The shortcut key, not the menu, selects; Copy then takes the selection.
        EditRow{"CtrlASelectsTheText", "34", {"Ctrl+A", "EditCopy"}, "34", "34"}),
    [](const auto& info) { return std::string(info.param.name); });
