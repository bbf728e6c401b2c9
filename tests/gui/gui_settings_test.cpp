#include "sumwise_fixture.h"

#include <QAction>
#include <QDir>
#include <QMenuBar>

// The three settings kept between runs, seen from the window: what opening it
// restores from "sumwise.txt", what closing it writes back, and the Sound menu
// that switches the feedback sounds in between.

namespace {

drill::Window1* mainWindow()
{
    return fw::openWindow<drill::Window1>();
}

// The Sound menu's entry as the window's own menu bar shows it.
QAction* menuBarAction(const char* name)
{
    return mainWindow()->menuBar()->findChild<QAction*>(QLatin1String(name));
}

void expectSounds(bool on)
{
    drill::Window1* x = mainWindow();
    EXPECT_EQ(Module1::SoundFlag, on);
    EXPECT_EQ(x->SoundOn()->Checked(), on);
    EXPECT_EQ(x->SoundOff()->Checked(), !on);
    QAction* onAction = menuBarAction("SoundOn");
    QAction* offAction = menuBarAction("SoundOff");
    ASSERT_NE(onAction, nullptr);
    ASSERT_NE(offAction, nullptr);
    EXPECT_EQ(onAction->isChecked(), on);
    EXPECT_EQ(offAction->isChecked(), !on);
}

QString selectedOf(const std::vector<fw::RadioButton*>& group)
{
    QStringList selected;
    for (fw::RadioButton* b : group)
        if (b->Value())
            selected << b->objectName();
    return selected.join(QLatin1Char(','));
}

QString selectedOperation()
{
    drill::Window1* x = mainWindow();
    return selectedOf({x->Add(), x->Subtract(), x->Multiply(), x->Divide(), x->Algebra(), x->Roman()});
}

QString selectedLevel()
{
    drill::Window1* x = mainWindow();
    return selectedOf({x->Easy(), x->Medium(), x->Hard()});
}

// A fixture whose settings file holds what the test's row says.
template <class Row>
class SettingsFileTestBase : public SumwiseTest, public ::testing::WithParamInterface<Row> {
protected:
    QByteArray initialSettings() const override { return QByteArray(this->GetParam().file); }
    void TearDown() override
    {
        EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty())
            << fw::testing::unhandledExceptions().join('\n').toStdString();
        SumwiseTest::TearDown();
    }
};

// ---- Opening the window ----

struct OpenRow {
    const char* name;
    const char* file;  // "": no file
    bool soundsOn;
    const char* operation;
    const char* level;
    int low, high;
};

// clang-format off
const OpenRow kOpenRows[] = {
    {"MissingFile", "", true, "Add", "Easy", 2, 10},
    {"Defaults", "True\nAdd\nEasy\n", true, "Add", "Easy", 2, 10},
    {"SoundsOff", "False\nAdd\nEasy\n", false, "Add", "Easy", 2, 10},
    {"EmptyFirstLine", "\nMultiply\nMedium\n", false, "Multiply", "Medium", 11, 80},
    {"OtherFirstLine", "Yes\nSubtract\nEasy\n", false, "Subtract", "Easy", 2, 10},
    {"TrueInLowerCase", "true\nSubtract\nHard\n", true, "Subtract", "Hard", 81, 5000},
    {"RomanCaptionSelectsNothing", "True\nRoman Numerals\nMedium\n", true, "Add", "Medium", 11, 80},
    {"RomanByName", "True\nRoman\nHard\n", true, "Roman", "Hard", 50, 250},
    {"UnknownLevelKeepsEasy", "True\nDivide\nExpert\n", true, "Divide", "Easy", 2, 10},
    {"BlankAfterNameSelectsNothing", "True\nDivide \nHard\n", true, "Add", "Hard", 41, 1250},
    {"AlgebraMedium", "False\nAlgebra\nMedium\n", false, "Algebra", "Medium", 10, 50},
    {"DivideHard", "False\nDivide\nHard\n", false, "Divide", "Hard", 11, 75},
    {"MoreThanThreeLines", "False\nSubtract\nHard\nDivide\nEasy\n", false, "Subtract", "Hard", 81, 5000},
    {"NoLineEndAtTheEnd", "True\nMultiply\nHard", true, "Multiply", "Hard", 41, 250},
    {"WindowsLineEnds", "True\r\nDivide\r\nMedium\r\n", true, "Divide", "Medium", 6, 25},
    {"OnlyOneLine", "False", false, "Add", "Easy", 2, 10},
};
// clang-format on

void PrintTo(const OpenRow& row, std::ostream* os)
{
    *os << row.name;
}

class OpenSettingsTest : public SettingsFileTestBase<OpenRow> { };

} // namespace

TEST_P(OpenSettingsTest, OpeningRestoresThemAndPresentsAProblem)
{
    const OpenRow& row = GetParam();
    expectSounds(row.soundsOn);
    EXPECT_EQ(selectedOperation(), QString::fromLatin1(row.operation));
    EXPECT_EQ(selectedLevel(), QString::fromLatin1(row.level));
    EXPECT_EQ(Module1::Low, row.low);
    EXPECT_EQ(Module1::High, row.high);
    EXPECT_EQ(settingsOnDisk(), *row.file ? QByteArray(row.file) : QByteArrayLiteral("True\nAdd\nEasy\n"));

    EXPECT_EQ(fw::testing::runningTimerCount(), 1);
    EXPECT_EQ(fireTimers(), 1);
    EXPECT_TRUE(w()->MyAnswer()->isEnabled());
    EXPECT_FALSE(w()->NewProblem()->isEnabled());
    const bool algebra = w()->Algebra()->Value();
    EXPECT_FALSE((algebra ? w()->PValue() : w()->A())->Text().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Settings, OpenSettingsTest, ::testing::ValuesIn(kOpenRows),
                         [](const ::testing::TestParamInfo<OpenRow>& info) { return std::string(info.param.name); });

namespace {
class DivideHardSettingsTest : public SumwiseTest {
protected:
    QByteArray initialSettings() const override { return QByteArrayLiteral("False\nDivide\nHard\n"); }
};
} // namespace

// Restored Divide at Hard draws from 11..75 at once: the quotient is smaller
// than the divisor, the division has no remainder, the dividend stays in 5000.
TEST_F(DivideHardSettingsTest, FirstProblemIsAValidDivision)
{
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(fireTimers(), 1);
        const int dividend = w()->A()->Text().toInt();
        const int divisor = w()->B()->Text().toInt();
        EXPECT_EQ(w()->Operator()->Text(), QStringLiteral("\u00F7"));
        ASSERT_GT(divisor, 0);
        EXPECT_EQ(dividend % divisor, 0);
        EXPECT_GE(dividend / divisor, 11);
        EXPECT_LT(dividend / divisor, divisor);
        EXPECT_LE(divisor, 75);
        EXPECT_LE(dividend, 5000);
        // Each round asks again through the level button, as a learner would.
        click(w()->Hard());
    }
}

// ---- Closing the window ----

namespace {

struct CloseRow {
    const char* name;
    const char* file;
    std::vector<const char*> steps;  // "Sound...": that item of the Sound menu; else a button
    const char* written;
};

// clang-format off
const CloseRow kCloseRows[] = {
    {"SoundsOffDivideHard", "", {"SoundOff", "Divide", "Hard"}, "False\nDivide\nHard\n"},
    {"NothingChanged", "True\nMultiply\nMedium\n", {}, "True\nMultiply\nMedium\n"},
    {"ExtraLinesAreGone", "True\nAdd\nEasy\nJunk\nMore\n", {}, "True\nAdd\nEasy\n"},
    {"RomanIsStoredByName", "", {"Roman", "Medium"}, "True\nRoman\nMedium\n"},
    {"SoundsOnAgain", "False\nAlgebra\nHard\n", {"SoundOn"}, "True\nAlgebra\nHard\n"},
    {"CaptionRewrittenAsTheSelection", "True\nRoman Numerals\nMedium\n", {}, "True\nAdd\nMedium\n"},
    {"LowerCaseRewrittenAsNames", "true\nsubtract\nhard\n", {}, "True\nSubtract\nHard\n"},
    {"WindowsLineEndsRewritten", "False\r\nDivide\r\nEasy\r\n", {"Subtract"}, "False\nSubtract\nEasy\n"},
    {"WithTheAboutBoxOpen", "", {"SoundAbout", "Multiply", "Medium"}, "True\nMultiply\nMedium\n"},
};
// clang-format on

void PrintTo(const CloseRow& row, std::ostream* os)
{
    *os << row.name;
}

class CloseSettingsTest : public SettingsFileTestBase<CloseRow> {
protected:
    void runSteps()
    {
        fireTimers();
        for (const char* step : GetParam().steps) {
            const QString name = QString::fromLatin1(step);
            if (name.startsWith(QLatin1String("Sound")))
                App()->runMenuHandler(name);
            else
                click(w()->control<fw::RadioButton>(name));
            fireTimers();
        }
    }
    void expectWritten()
    {
        EXPECT_EQ(settingsOnDisk(), QByteArray(GetParam().written));
        // Written in place of the old file, nothing left beside it.
        EXPECT_EQ(QDir(configDir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                  QStringList{QStringLiteral("sumwise.txt")});
    }
};

} // namespace

TEST_P(CloseSettingsTest, CloseWritesTheThreeSettings)
{
    runSteps();
    w()->Close();
    settle();
    EXPECT_EQ(w(), nullptr);
    expectWritten();
}

// The title bar's close button takes the same way out.
TEST_P(CloseSettingsTest, ClosingByTheWindowFrameWritesThemToo)
{
    runSteps();
    ASSERT_TRUE(w()->close());
    settle();
    EXPECT_EQ(w(), nullptr);
    expectWritten();
}

INSTANTIATE_TEST_SUITE_P(Settings, CloseSettingsTest, ::testing::ValuesIn(kCloseRows),
                         [](const ::testing::TestParamInfo<CloseRow>& info) { return std::string(info.param.name); });

namespace {
class SettingsRunTest : public SumwiseTest { };
} // namespace

// A change made during the run reaches the file only when the window closes.
TEST_F(SettingsRunTest, FileIsWrittenOnlyWhenTheWindowCloses)
{
    fireTimers();
    App()->runMenuHandler(QStringLiteral("SoundOff"));
    click(w()->Roman());
    click(w()->Hard());
    fireTimers();
    EXPECT_EQ(settingsOnDisk(), QByteArrayLiteral("True\nAdd\nEasy\n"));
}

// ---- The Sound menu ----

namespace {

struct SoundMenuRow {
    const char* name;
    const char* file;
    const char* item;
    bool throughMenuBar;  // the QAction of the window's menu bar, else the handler
    bool on;
};

// clang-format off
const SoundMenuRow kSoundMenuRows[] = {
    {"OffByHandler", "", "SoundOff", false, false},
    {"OnByHandler", "False\nAdd\nEasy\n", "SoundOn", false, true},
    {"OffByMenuBar", "", "SoundOff", true, false},
    {"OnByMenuBar", "False\nAdd\nEasy\n", "SoundOn", true, true},
    {"OnWhenAlreadyOn", "True\nAdd\nEasy\n", "SoundOn", true, true},
    {"OffWhenAlreadyOff", "False\nAdd\nEasy\n", "SoundOff", true, false},
};
// clang-format on

void PrintTo(const SoundMenuRow& row, std::ostream* os)
{
    *os << row.name;
}

class SoundMenuTest : public SettingsFileTestBase<SoundMenuRow> { };

} // namespace

TEST_P(SoundMenuTest, SwitchesTheMarksAndTheFlag)
{
    const SoundMenuRow& row = GetParam();
    if (row.throughMenuBar) {
        QAction* action = menuBarAction(row.item);
        ASSERT_NE(action, nullptr);
        action->trigger();
        settle();
    } else {
        App()->runMenuHandler(QString::fromLatin1(row.item));
    }
    expectSounds(row.on);

    // The answer check plays by the new setting at once.
    fireTimers();
    typeAnswer(QStringLiteral("0"));
    pressReturn();
    EXPECT_EQ(fw::testing::playedSounds(), row.on ? QStringList{QStringLiteral("Laser.wav")} : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(Settings, SoundMenuTest, ::testing::ValuesIn(kSoundMenuRows),
                         [](const ::testing::TestParamInfo<SoundMenuRow>& info) {
                             return std::string(info.param.name);
                         });

namespace {
class SoundsOffSettingsTest : public SumwiseTest {
protected:
    QByteArray initialSettings() const override { return QByteArrayLiteral("False\nAdd\nEasy\n"); }
};
} // namespace

// While the setting stays off no sound file is read, whatever the answers;
// switching on loads each sound at its first use.
TEST_F(SoundsOffSettingsTest, NoSoundFileIsOpenedWhileOff)
{
    fireTimers();
    for (int i = 0; i < 12; ++i) {
        const bool right = i % 4 != 3;
        typeAnswer(QString::number(right ? Module1::First + Module1::Second : 0));
        pressReturn();
        if (right)
            fireTimers();
        else
            click(w()->NewProblem());
    }
    EXPECT_EQ(Module1::RightAnswer, 9);
    EXPECT_TRUE(fw::testing::openedSoundFiles().isEmpty());
    EXPECT_TRUE(fw::testing::playedSounds().isEmpty());

    App()->runMenuHandler(QStringLiteral("SoundOn"));
    EXPECT_TRUE(fw::testing::openedSoundFiles().isEmpty());
    typeAnswer(QStringLiteral("0"));
    pressReturn();
    EXPECT_EQ(fw::testing::openedSoundFiles(), QStringList{QStringLiteral("Laser.wav")});
    EXPECT_EQ(fw::testing::playedSounds(), QStringList{QStringLiteral("Laser.wav")});
}

// What one run writes, the next run's window restores.
TEST_F(SettingsRunTest, NextWindowRestoresWhatTheLastOneWrote)
{
    fireTimers();
    App()->runMenuHandler(QStringLiteral("SoundOff"));
    click(w()->Roman());
    click(w()->Hard());
    w()->Close();
    settle();
    ASSERT_EQ(w(), nullptr);

    App()->runMenuHandler(QStringLiteral("SoundOn"));
    drill::Window1* next = ::Window1();
    ASSERT_EQ(next, w());
    expectSounds(false);
    EXPECT_EQ(selectedOperation(), QStringLiteral("Roman"));
    EXPECT_EQ(selectedLevel(), QStringLiteral("Hard"));
    EXPECT_EQ(Module1::Low, 50);
    EXPECT_EQ(Module1::High, 250);
    EXPECT_EQ(fireTimers(), 1);
    EXPECT_TRUE(next->MyAnswer()->isEnabled());
}

// Closing stops both timers: nothing of the window runs after it has gone.
TEST_F(SettingsRunTest, ClosingWithProblemsPendingRunsNothingMore)
{
    fireTimers();
    typeAnswer(QString::number(Module1::First + Module1::Second));
    pressReturn();
    ASSERT_EQ(w()->Feedback()->Text(), QStringLiteral("Correct"));
    click(w()->Subtract());
    ASSERT_EQ(fw::testing::runningTimerCount(), 2);
    w()->Close();
    settle();
    EXPECT_EQ(fireTimers(), 0);
    EXPECT_EQ(settingsOnDisk(), QByteArrayLiteral("True\nSubtract\nEasy\n"));
    EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty());
}
