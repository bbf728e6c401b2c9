// Start-up chain, the event loop and the shutdown releases, through the real
// application object, menu bar and main window.
#include "sumwise_fixture.h"

#include "app/aboutbox.h"
#include "fw/exceptions.h"
#include "fw/menu.h"

#include <QAction>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QTimer>

#include <functional>
#include <stdexcept>

namespace {

const QStringList kStartupOrder = {
    QStringLiteral("application object created"),
    QStringLiteral("menu bar set"),
    QStringLiteral("application object registered"),
    QStringLiteral("menu handler bound: CheckForUpdateCheckNow"),
    QStringLiteral("menu handler bound: SoundOn"),
    QStringLiteral("menu handler bound: SoundOff"),
    QStringLiteral("menu handler bound: RomanNumberInfoShowWebSite"),
    QStringLiteral("menu handler bound: SoundAbout"),
    QStringLiteral("application opened"),
    QStringLiteral("window opened: Sumwise"),
};

std::vector<std::string> startupSteps()
{
    return strings(fw::testing::startupTrace().mid(0, kStartupOrder.size()));
}

std::vector<std::string> releases()
{
    return strings(fw::testing::startupTrace().filter(QRegularExpression(QStringLiteral("^released: "))));
}

QAction* menuAction(const QString& itemName)
{
    drill::Window1* main = fw::openWindow<drill::Window1>();
    return main && main->menuBar() ? main->menuBar()->findChild<QAction*>(itemName) : nullptr;
}

// Notes what a watched state looked like when a window of class W was shown.
template <class W>
class OnShow : public QObject {
public:
    explicit OnShow(std::function<void(W*)> look) : look_(std::move(look)) { qApp->installEventFilter(this); }
    ~OnShow() override { qApp->removeEventFilter(this); }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* w = dynamic_cast<W*>(watched))
                look_(w);
        return false;
    }

private:
    std::function<void(W*)> look_;
};

// Ends a loop that would otherwise run on; a test that needs it has failed.
class Watchdog {
public:
    explicit Watchdog(int ms = 10000)
    {
        timer_.setSingleShot(true);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            fired_ = true;
            QCoreApplication::exit(99);
        });
        timer_.start(ms);
    }
    bool fired() const { return fired_; }

private:
    QTimer timer_;
    bool fired_ = false;
};

} // namespace

// ---------------------------------------------------------------------------
// The fixture's start-up: the real chain up to the event loop.

using StartupTest = SumwiseTest;

TEST_F(StartupTest, StepsRunInTheirOrderAndTheMainWindowComesLast)
{
    EXPECT_EQ(startupSteps(), strings(kStartupOrder));
    EXPECT_EQ(strings(App()->menuHandlerNames()),
              strings({"CheckForUpdateCheckNow", "SoundOn", "SoundOff", "RomanNumberInfoShowWebSite",
                           "SoundAbout"}));
    EXPECT_EQ(App()->menuBar(), MenuBar1());
    EXPECT_EQ(w()->menuBarModel(), MenuBar1());
    ASSERT_NE(Module1::R, nullptr);
}

// Nothing else of the program is open: no document, no second window.
TEST_F(StartupTest, OnlyTheMainWindowIsOpenAfterStartUp)
{
    const std::vector<fw::Window*> open = fw::openWindows();
    ASSERT_GE(open.size(), 1u);
    for (fw::Window* window : open) {
        if (window != w()) {
            EXPECT_FALSE(window->isVisible()) << window->windowTitle().toStdString();
        }
    }
    EXPECT_TRUE(w()->isVisible());
}

TEST_F(StartupTest, ShutdownReleasesInOrderAndWritesNothing)
{
    // Only the main window's Close event writes the settings; the releases never do.
    QFile::remove(settingsPath());
    fw::testing::clearStartupTrace();
    finalizeProgram();
    EXPECT_EQ(releases(), strings(kReleaseOrder));
    EXPECT_FALSE(QFile::exists(settingsPath()));
    EXPECT_EQ(app::MenuBar1::_implicitInstance, nullptr);
    EXPECT_EQ(Module1::R, nullptr);
    EXPECT_TRUE(Module1::Answer.isEmpty());
    EXPECT_TRUE(Module1::S.isEmpty());
    EXPECT_TRUE(Module1::V.isEmpty());
    EXPECT_TRUE(fw::openWindows().empty());
    EXPECT_EQ(fw::GetAppObject(), nullptr);
}

// A handler that raises goes to the unhandled-exception routine; nothing
// unwinds through Qt into the caller of the widget.
namespace {

struct ThrowRow {
    const char* name;
    std::function<void()> raise;
    QString report;
};

struct RouteRow {
    const char* name;
    // Binds handler somewhere and makes the framework call it through a real widget.
    std::function<void(std::function<void()> handler)> run;
};

void PrintTo(const RouteRow& row, std::ostream* os) { *os << row.name; }
void PrintTo(const ThrowRow& row, std::ostream* os) { *os << row.name; }

} // namespace

class HandlerExceptionTest : public SumwiseTest,
                             public ::testing::WithParamInterface<std::tuple<RouteRow, ThrowRow>> { };

TEST_P(HandlerExceptionTest, GoesToTheUnhandledExceptionRoutine)
{
    const auto& [route, raise] = GetParam();
    EXPECT_NO_THROW(route.run(raise.raise));
    settle();
    EXPECT_EQ(strings(fw::testing::unhandledExceptions()), strings({raise.report}));
    ASSERT_EQ(fw::testing::recordedDialogs().size(), 1u);
    EXPECT_TRUE(fw::testing::recordedDialogs()[0].message.contains(raise.report));
}

const RouteRow kRoutes[] = {
    {"MenuItem",
     [](std::function<void()> handler) {
         App()->_AddMenuHandler(QStringLiteral("SoundOn"), [handler] {
             handler();
             return false;
         });
         QAction* action = menuAction(QStringLiteral("SoundOn"));
         ASSERT_NE(action, nullptr);
         action->trigger();
     }},
    {"PushButton",
     [](std::function<void()> handler) {
         App()->_SoundAbout_Action();
         app::AboutBox* box = fw::openWindow<app::AboutBox>();
         ASSERT_NE(box, nullptr);
         box->PushButton1()->setAction(handler);
         QTest::mouseClick(box->PushButton1(), Qt::LeftButton);
     }},
    {"Timer",
     [](std::function<void()> handler) {
         fw::openWindow<drill::Window1>()->Timer1()->setAction(handler);
         ASSERT_GE(fw::testing::fireTimers(), 1);
     }},
};

const ThrowRow kThrows[] = {
    {"NilObject", [] { throw fw::NilObjectException("no control named X"); },
     QStringLiteral("NilObjectException: no control named X")},
    {"IllegalCast", [] { throw fw::IllegalCastException("not a label"); },
     QStringLiteral("IllegalCastException: not a label")},
    {"StdException", [] { throw std::runtime_error("plain failure"); }, QStringLiteral("plain failure")},
    {"AnythingElse", [] { throw 42; }, QStringLiteral("unknown exception")},
};

INSTANTIATE_TEST_SUITE_P(Routes, HandlerExceptionTest, ::testing::Combine(::testing::ValuesIn(kRoutes),
                                                                         ::testing::ValuesIn(kThrows)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) + "_"
                                 + std::get<1>(info.param).name;
                         });

// Once the program must shut down, its timers and buttons no longer reach the
// drill: no problem is drawn behind the report.
TEST_F(SumwiseTest, NoHandlerRunsBehindTheShutDownReport)
{
    click(w()->Subtract()); // Timer1 now waits to draw a problem
    const QString shownBefore = w()->A()->text();
    fw::testing::scriptRandom({40, 30, 40, 30});
    int timersFired = 0;
    fw::testing::setOnModal([&] {
        timersFired = fireTimers();
        click(w()->NewProblem());
    });
    App()->_AddMenuHandler(QStringLiteral("SoundOn"), []() -> bool { throw fw::NilObjectException("gone"); });
    menuAction(QStringLiteral("SoundOn"))->trigger();
    settle();
    EXPECT_EQ(strings(fw::testing::unhandledExceptions()), strings({"NilObjectException: gone"}));
    EXPECT_GE(timersFired, 1);
    EXPECT_EQ(fw::testing::scriptedRandomLeft(), 4u) << "a problem was drawn";
    EXPECT_EQ(w()->A()->text(), shownBefore);
}

// A menu handler may take the menu bar down with it; choosing the item must
// not touch the deleted action afterwards (AddressSanitizer sees it if it does).
TEST_F(SumwiseTest, MenuHandlerThatDeletesItsMenuBarIsSafe)
{
    QPointer<QMenuBar> bar = w()->menuBar();
    App()->_AddMenuHandler(QStringLiteral("SoundOn"), [&bar] {
        delete bar.data();
        return false;
    });
    menuAction(QStringLiteral("SoundOn"))->trigger();
    settle();
    EXPECT_TRUE(bar.isNull());
    EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty());
}

// ---------------------------------------------------------------------------
// _Main itself, with the event loop.

class MainLoopTest : public SumwiseTest {
protected:
    bool startsProgram() const override { return false; }
};

namespace {

struct QuitRow {
    const char* name;
    std::function<void()> quit;
    bool savesSettings;
};

void PrintTo(const QuitRow& row, std::ostream* os) { *os << row.name; }

} // namespace

class MainLoopQuitTest : public MainLoopTest, public ::testing::WithParamInterface<QuitRow> { };

TEST_P(MainLoopQuitTest, MainReturnsAndTheReleasesFollowInOrder)
{
    const QuitRow& row = GetParam();
    // The main window made the file when it read it; see who writes it again.
    QObject scope;
    QTimer::singleShot(0, &scope, [this, &row] {
        QFile::remove(settingsPath());
        row.quit();
    });
    Watchdog watchdog;
    _Main();
    EXPECT_FALSE(watchdog.fired()) << "the event loop did not end";
    EXPECT_EQ(startupSteps(), strings(kStartupOrder));
    EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty());
    EXPECT_EQ(QFile::exists(settingsPath()), row.savesSettings);

    QFile::remove(settingsPath());
    finalizeProgram();
    EXPECT_EQ(releases(), strings(kReleaseOrder));
    EXPECT_FALSE(QFile::exists(settingsPath()));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, MainLoopQuitTest,
    ::testing::Values(
        // The quit item closes the windows first, so the main window saves.
        QuitRow{"QuitMenuItem", [] { menuAction(QStringLiteral("FileQuit"))->trigger(); }, true},
        QuitRow{"MainWindowCloseBox", [] { fw::openWindow<drill::Window1>()->close(); }, true},
        QuitRow{"FrameworkQuit", [] { fw::Application::Quit(0); }, false},
        // The quit item's shortcut works in a window without a menu bar of its own.
        QuitRow{"CtrlQInTheAboutBox",
                [] {
                    App()->_SoundAbout_Action();
                    app::AboutBox* box = fw::openWindow<app::AboutBox>();
                    ASSERT_NE(box, nullptr);
                    ASSERT_TRUE(QTest::qWaitForWindowActive(box));
                    QTest::keyClick(box, Qt::Key_Q, Qt::ControlModifier);
                },
                true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainLoopTest, ExceptionInAHandlerEndsTheLoopAndTheReleasesFollow)
{
    QObject scope;
    QTimer::singleShot(0, &scope, [] {
        App()->_AddMenuHandler(QStringLiteral("SoundOff"), []() -> bool {
            throw fw::NilObjectException("no sound");
        });
        menuAction(QStringLiteral("SoundOff"))->trigger();
    });
    Watchdog watchdog;
    EXPECT_NO_THROW(_Main());
    EXPECT_FALSE(watchdog.fired()) << "the event loop did not end";
    EXPECT_EQ(strings(fw::testing::unhandledExceptions()), strings({"NilObjectException: no sound"}));

    finalizeProgram();
    EXPECT_EQ(releases(), strings(kReleaseOrder));
}

// A handler that the framework calls during start-up, before the loop runs,
// must end the program just as well: its report says the application shuts down.
TEST_F(MainLoopTest, ExceptionInAHandlerBeforeTheLoopStillEndsIt)
{
    OnShow<drill::Window1> raiseOnShow([](drill::Window1*) {
        fw::dispatch([] { throw fw::IllegalCastException("during start-up"); });
    });
    Watchdog watchdog(3000);
    EXPECT_NO_THROW(_Main());
    EXPECT_FALSE(watchdog.fired()) << "the event loop ran on after the exception";
    EXPECT_EQ(strings(fw::testing::unhandledExceptions()), strings({"IllegalCastException: during start-up"}));
}

// The generator exists before the main window shows, so no draw can miss it.
TEST_F(MainLoopTest, ApplicationOpensBeforeTheMainWindow)
{
    bool generatorMade = false;
    bool barShared = false;
    OnShow<drill::Window1> look([&](drill::Window1* main) {
        generatorMade = Module1::R != nullptr;
        barShared = main->menuBarModel() == App()->menuBar();
    });
    startProgram();
    EXPECT_TRUE(generatorMade);
    EXPECT_TRUE(barShared);
    EXPECT_EQ(startupSteps(), strings(kStartupOrder));
}
