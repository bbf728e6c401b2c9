// The process entry as the program runs it: processMain makes the
// QApplication, runs _Main with its event loop, then the releases. It needs a
// binary of its own, since the other GUI tests share one QApplication.
#include "app/startup.h"
#include "program_seams.h"
#include "fw/application.h"
#include "fw/exceptions.h"
#include "fw/testing.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <stdexcept>

namespace {

const QString kMainWindowBuilt = QStringLiteral("window opened: Sumwise");
const QString kFirstRelease = kReleaseOrder.first();

// What one run of the process entry left behind.
struct EntryRun {
    int status = -1;
    QStringList steps;
    int unhandledAtFirstRelease = -1;  // exceptions reported when the releases began
};

class ProcessEntryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(configDir.isValid());
        useQuietSeams(configDir.path());
    }

    void TearDown() override
    {
        fw::testing::resetRecordings();
        fw::testing::setPreferencesFolder(QString());
    }

    // Runs the process entry; act runs when start-up reaches the step at.
    static EntryRun runEntry(const QString& at, const std::function<void()>& act)
    {
        EntryRun run;
        fw::testing::setTraceObserver([&](const QString& step) {
            if (step == kFirstRelease && run.unhandledAtFirstRelease < 0)
                run.unhandledAtFirstRelease = int(fw::testing::unhandledExceptions().size());
            if (step == at)
                act();
        });
        static char name[] = "sumwise";
        static char* argv[] = {name, nullptr};
        int argc = 1;
        run.status = processMain(argc, argv);
        fw::testing::setTraceObserver(nullptr);
        run.steps = fw::testing::startupTrace();
        return run;
    }

    static QStringList releases(const EntryRun& run)
    {
        return run.steps.filter(QRegularExpression(QStringLiteral("^released: ")));
    }

    QTemporaryDir configDir;
};

} // namespace

TEST_F(ProcessEntryTest, ReleasesFollowTheEventLoop)
{
    qsizetype stepsWhenTheLoopQuit = -1;
    const EntryRun run = runEntry(kMainWindowBuilt, [&] {
        QTimer::singleShot(0, qApp, [&] {
            stepsWhenTheLoopQuit = fw::testing::startupTrace().size();
            fw::Application::Quit(0);
        });
    });
    ASSERT_GE(stepsWhenTheLoopQuit, 0) << "the event loop did not run";
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty());
    EXPECT_EQ(strings(releases(run)), strings(kReleaseOrder));
    EXPECT_GE(run.steps.indexOf(kFirstRelease), stepsWhenTheLoopQuit);
}

// Whatever is thrown, wherever in start-up, reaches the unhandled-exception
// routine; the releases still run, and the process reports the failure.
namespace {

struct ThrowAt {
    const char* name;
    const char* step;
};

struct Thrown {
    const char* name;
    std::function<void()> raise;
    const char* report;
};

void PrintTo(const ThrowAt& row, std::ostream* os) { *os << row.name; }
void PrintTo(const Thrown& row, std::ostream* os) { *os << row.name; }

class StartupExceptionTest : public ProcessEntryTest,
                             public ::testing::WithParamInterface<std::tuple<ThrowAt, Thrown>> { };

} // namespace

TEST_P(StartupExceptionTest, ReachesTheRoutineAndTheReleasesStillRun)
{
    const auto& [at, thrown] = GetParam();
    EntryRun run;
    EXPECT_NO_THROW(run = runEntry(QLatin1String(at.step), thrown.raise));
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(strings(fw::testing::unhandledExceptions()), strings({QLatin1String(thrown.report)}));
    EXPECT_EQ(run.unhandledAtFirstRelease, 1) << "the routine runs before the releases";
    EXPECT_EQ(strings(releases(run)), strings(kReleaseOrder));
}

INSTANTIATE_TEST_SUITE_P(
    Table, StartupExceptionTest,
    ::testing::Combine(
        ::testing::Values(ThrowAt{"EarlyStartup", "menu bar set"},
                          ThrowAt{"BuildingTheMainWindow", "window opened: Sumwise"}),
        ::testing::Values(
            Thrown{"NilObject", [] { throw fw::NilObjectException("no menu bar"); },
                   "NilObjectException: no menu bar"},
            Thrown{"IllegalCast", [] { throw fw::IllegalCastException("not a window"); },
                   "IllegalCastException: not a window"},
            Thrown{"StdException", [] { throw std::runtime_error("plain failure"); }, "plain failure"},
            Thrown{"AnythingElse", [] { throw 42; }, "unknown exception"})),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + "_" + std::get<1>(info.param).name;
    });

int main(int argc, char** argv)
{
    // The entry makes its QApplication on the offscreen platform wherever
    // CTest's environment is not set.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
