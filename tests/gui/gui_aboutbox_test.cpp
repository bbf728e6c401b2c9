// The About box as the user meets it: opened from the Sound menu, its eight
// controls, its three addresses, Return, and closing.
#include "sumwise_fixture.h"

#include "app/aboutbox.h"
#include "fw/app_metadata.h"
#include "update/self_test.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPointer>
#include <QRegularExpression>

#include <ostream>
#include <string>

namespace {

const QString kPlaceholder = QStringLiteral("3.3.0 Intel");

struct ControlRow {
    const char* name;
    bool isButton;
    int left, top, width, height;
    const char* text;  // nullptr: looked at by a test of its own
    int pixelSize;     // 0: the default size
    bool bold;
    Qt::Alignment align;  // labels only
    bool isDefault;       // buttons only
};

const ControlRow kControls[] = {
    {"PushButton1", true, 84, 183, 120, 21, "Email Author", 0, true, {}, false},
    {"PushButton2", true, 84, 220, 120, 21, "Visit Web Site", 0, true, {}, false},
    {"StaticText2", false, 92, 89, 104, 87, nullptr, 0, false, Qt::AlignHCenter, false},
    {"StaticText1", false, 33, 20, 224, 45, "Sumwise", 30, true, Qt::AlignHCenter, false},
    {"StaticText3", false, 89, 63, 56, 20, "Version:", 12, true, Qt::AlignLeft, false},
    {"StaticText4", false, 142, 63, 57, 20, nullptr, 12, true, Qt::AlignRight, false},
    {"SupportButton", true, 84, 257, 120, 21, "Support Halvex", 0, true, {}, true},
    {"StaticText5", false, 15, 290, 260, 20, nullptr, 0, false, Qt::AlignLeft, false},
};

struct ButtonRow {
    const char* name;
    QString (*address)();
    const char* shape;  // what every address of that button looks like
};

void PrintTo(const ButtonRow& row, std::ostream* os) { *os << row.name; }

const ButtonRow kButtons[] = {
    // The mail link carries the address alone: no "?", subject or body.
    {"PushButton1", &app::AboutBox::mailAddress, R"(^mailto:[^?&\s/]+@[^?&\s/]+$)"},
    // The maker's site: the host and nothing after it, not even "/".
    {"PushButton2", &app::AboutBox::webSiteAddress, R"(^http://[^/?#\s]+$)"},
    // The order page: the product's code alone, then lang=en.
    {"SupportButton", &app::AboutBox::orderPageAddress, R"(^http://[^/?#\s]+/\?[^=&\s]+&lang=en$)"},
};

// Why text would not show whole in the label, or "" when it does: a line wider
// than the label is cut off, or wraps onto a line below, and lines beyond its
// height are cut off.
std::string clipping(const fw::Label* label, const QString& text)
{
    const QFontMetrics metrics(label->font());
    const QRect room = label->contentsRect();
    for (const QString& line : text.split(u'\n'))
        if (const int width = metrics.horizontalAdvance(line); width > room.width())
            return "\"" + line.toStdString() + "\" is " + std::to_string(width) + " px wide in a label of "
                   + std::to_string(room.width());
    const int flags = int(label->alignment()) | (label->wordWrap() ? int(Qt::TextWordWrap) : 0);
    const int height = metrics.boundingRect(QRect(0, 0, room.width(), 1000), flags, text).height();
    if (height > room.height())
        return "the text is " + std::to_string(height) + " px high in a label of " + std::to_string(room.height());
    return {};
}

// The text of StaticText4 each time an About box is shown.
class VersionOnShow : public QObject {
public:
    VersionOnShow() { qApp->installEventFilter(this); }
    ~VersionOnShow() override { qApp->removeEventFilter(this); }
    QStringList seen;

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show)
            if (auto* box = dynamic_cast<app::AboutBox*>(watched))
                seen.append(box->StaticText4()->Text());
        return false;
    }
};

} // namespace

class AboutBoxTest : public SumwiseTest {
protected:
    // Opens it as the user does, through the Sound menu's "About..." item.
    static app::AboutBox* openBox()
    {
        fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("SoundAbout")));
        QCoreApplication::processEvents();
        return fw::openWindow<app::AboutBox>();
    }
};

TEST_F(AboutBoxTest, WindowAndItsEightControlsInCreationOrder)
{
    app::AboutBox* box = openBox();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("About..."));
    EXPECT_EQ(box->centralWidget()->size(), QSize(289, 322));
    // An ordinary window: the main window stays usable behind it.
    EXPECT_EQ(box->windowModality(), Qt::NonModal);
    EXPECT_EQ(box->menuBarModel(), nullptr);

    QStringList names;
    for (QObject* o : box->controlsInOrder())
        names.append(o->objectName());
    QStringList expected;
    for (const ControlRow& row : kControls)
        expected.append(QLatin1String(row.name));
    EXPECT_EQ(names.join(u' ').toStdString(), expected.join(u' ').toStdString());

    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(row.name);
        QWidget* c = qobject_cast<QWidget*>(box->_ControlByName(QLatin1String(row.name)));
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(c->isVisible());
        EXPECT_TRUE(c->isEnabled());
        EXPECT_EQ(c->mapTo(box->centralWidget(), QPoint(0, 0)), QPoint(row.left, row.top));
        EXPECT_EQ(c->size(), QSize(row.width, row.height));
        EXPECT_EQ(c->font().bold(), row.bold);
        if (row.pixelSize) {
            EXPECT_EQ(c->font().pixelSize(), row.pixelSize);
        }
        if (row.isButton) {
            auto* b = box->control<fw::PushButton>(QLatin1String(row.name));
            EXPECT_EQ(b->Caption().toStdString(), row.text);
            EXPECT_EQ(b->Default(), row.isDefault);
            EXPECT_FALSE(b->Cancel());
        } else {
            auto* l = box->control<fw::Label>(QLatin1String(row.name));
            if (row.text) {
                EXPECT_EQ(l->Text().toStdString(), row.text);
            }
            EXPECT_EQ(l->alignment() & Qt::AlignHorizontal_Mask, row.align);
        }
    }
}

TEST_F(AboutBoxTest, CreditsAndIconLine)
{
    app::AboutBox* box = openBox();
    ASSERT_NE(box, nullptr);
    const QStringList credits = box->StaticText2()->Text().split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    ASSERT_EQ(credits.size(), 5) << box->StaticText2()->Text().toStdString();
    EXPECT_EQ(credits[0], QStringLiteral("Developed by"));
    EXPECT_FALSE(credits[1].trimmed().isEmpty());
    EXPECT_TRUE(credits[2].isEmpty());
    EXPECT_EQ(credits[3], QStringLiteral("Sr. Beta Tester"));
    EXPECT_FALSE(credits[4].trimmed().isEmpty());
    EXPECT_TRUE(box->StaticText2()->wordWrap());

    const QString iconLine = box->StaticText5()->Text();
    EXPECT_FALSE(iconLine.trimmed().isEmpty());
    EXPECT_FALSE(iconLine.contains(u'\n'));

    EXPECT_EQ(clipping(box->StaticText2(), box->StaticText2()->Text()), "");
    EXPECT_EQ(clipping(box->StaticText5(), iconLine), "");
}

// Whatever processor the program is built for, its long version shows whole in
// the About box and in the version window.
TEST_F(AboutBoxTest, EveryLongVersionFitsBothVersionLabels)
{
    const QString shortVersion = fw::appMetadata().shortVersion;
    const QStringList forms = fw::longVersionForms(shortVersion);
    EXPECT_TRUE(forms.contains(App()->LongVersion())) << App()->LongVersion().toStdString();
    // A processor without a short name gets one of the forms too.
    EXPECT_TRUE(forms.contains(fw::longVersionFor(shortVersion, QStringLiteral("loongarch64"))));

    app::AboutBox* box = openBox();
    ASSERT_NE(box, nullptr);
    fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("CheckForUpdateCheckNow")));
    update::selfTest* versionWindow = fw::openWindow<update::selfTest>();
    ASSERT_NE(versionWindow, nullptr);
    for (const fw::Label* label : {box->StaticText4(), versionWindow->StaticText2()})
        for (const QString& form : forms)
            EXPECT_EQ(clipping(label, form), "") << "in " << label->window()->windowTitle().toStdString();
}

// From the first moment it is seen the label holds the version string exactly,
// and every box opened in the run shows the same one.
TEST_F(AboutBoxTest, VersionLabelShowsTheLongVersionNeverThePlaceholder)
{
    VersionOnShow watch;
    app::AboutBox* box = openBox();
    ASSERT_NE(box, nullptr);
    box->close();
    settle();
    ASSERT_NE(openBox(), nullptr);

    const QString version = App()->LongVersion();
    EXPECT_EQ(version, fw::appMetadata().longVersion);
    EXPECT_FALSE(version.isEmpty());
    EXPECT_NE(version, kPlaceholder);
    ASSERT_GE(watch.seen.size(), 2);
    for (const QString& seen : watch.seen)
        EXPECT_EQ(seen.toStdString(), version.toStdString());
    EXPECT_EQ(fw::openWindow<app::AboutBox>()->StaticText3()->Text(), QStringLiteral("Version:"));
}

class AboutBoxButtonTest : public AboutBoxTest, public ::testing::WithParamInterface<ButtonRow> { };

// Each press hands the address over again; the box stays open and unchanged.
TEST_P(AboutBoxButtonTest, EachPressOpensItsAddressAndTheBoxStays)
{
    const ButtonRow& row = GetParam();
    app::AboutBox* box = openBox();
    ASSERT_NE(box, nullptr);
    auto* button = box->control<fw::PushButton>(QLatin1String(row.name));
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseClick(button, Qt::LeftButton);
    settle();

    const QStringList& urls = fw::testing::openedUrls();
    ASSERT_EQ(urls.size(), 2);
    EXPECT_EQ(urls[0], row.address());
    EXPECT_EQ(urls[1], urls[0]);
    EXPECT_TRUE(QRegularExpression(QLatin1String(row.shape)).match(urls[0]).hasMatch()) << urls[0].toStdString();
    EXPECT_EQ(fw::openWindow<app::AboutBox>(), box);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->StaticText4()->Text(), App()->LongVersion());
    EXPECT_TRUE(fw::testing::recordedDialogs().empty());
}

INSTANTIATE_TEST_SUITE_P(Buttons, AboutBoxButtonTest, ::testing::ValuesIn(kButtons),
                         [](const auto& info) { return std::string(info.param.name); });

// Return presses the default button, whichever control has the focus.
class AboutBoxReturnTest : public AboutBoxTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(AboutBoxReturnTest, PressesSupportButtonAndTheBoxStays)
{
    app::AboutBox* box = openBox();
    ASSERT_NE(box, nullptr);
    box->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(box));
    QWidget* target = box;
    if (const QString name = QLatin1String(GetParam()); name != QLatin1String("window")) {
        target = qobject_cast<QWidget*>(box->_ControlByName(name));
        ASSERT_NE(target, nullptr);
        target->setFocus();
        ASSERT_TRUE(QTest::qWaitFor([target] { return target->hasFocus(); }, 2000));
    }
    QTest::keyClick(target, Qt::Key_Return);
    settle();

    ASSERT_EQ(fw::testing::openedUrls().size(), 1);
    EXPECT_EQ(fw::testing::openedUrls()[0], app::AboutBox::orderPageAddress());
    EXPECT_EQ(fw::openWindow<app::AboutBox>(), box);
    EXPECT_TRUE(box->isVisible());
}

INSTANTIATE_TEST_SUITE_P(Focus, AboutBoxReturnTest,
                         ::testing::Values("window", "PushButton1", "PushButton2", "SupportButton"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(AboutBoxTest, ClosingAndReopeningMakesAFreshWindow)
{
    QPointer<app::AboutBox> first = openBox();
    ASSERT_NE(first, nullptr);
    first->close();  // the close box
    settle();
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(fw::openWindow<app::AboutBox>(), nullptr);

    app::AboutBox* second = openBox();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(second->isVisible());
    EXPECT_EQ(second->StaticText4()->Text(), App()->LongVersion());
    EXPECT_EQ(second->controlsInOrder().size(), 8u);
    // The main window was never touched.
    EXPECT_NE(w(), nullptr);
}
