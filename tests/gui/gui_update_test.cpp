// The update check end to end: "Check Now", Return in the version window, the
// update window fetching from a server of the test's own on 127.0.0.1, and what
// follows each reply. The version window's handler waits in ShowModal while the
// server answers, exactly as in the running program.
#include "refused_port.h"
#include "sumwise_fixture.h"

#include "app/aboutbox.h"
#include "fw/app_metadata.h"
#include "fw/build_constant.h"
#include "fw/menu.h"
#include "update/self_test.h"
#include "update/tags.h"
#include "update/update_file.h"
#include "update/update_window.h"

#include <QApplication>
#include <QDialog>
#include <QFontInfo>
#include <QHostAddress>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTextEdit>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <functional>
#include <map>
#include <optional>
#include <ostream>

using fw::testing::DialogAnswer;
using SelfTestWindow = update::selfTest;
using UpdateWindow = update::updateWindow;

namespace {

constexpr int kWatchdogMs = 15000;  // only a hang ever waits this long
constexpr int kQuietMs = 200;       // time given to an event that must not come

const QString kChecking = QStringLiteral("Checking for updates...");
const QString kCurrentLabel = QStringLiteral("This version is current.");
const QString kCurrentBox = QStringLiteral("You are using the current version. No update is available.");
const QString kUpgradeTitle = QStringLiteral("New version available!");

// One reply of the server: the head and the body as they go over the wire.
QByteArray reply(const QByteArray& body, const QByteArray& statusLine = "HTTP/1.0 200 OK",
                 const QByteArray& extraHead = {}, bool withLength = true)
{
    QByteArray head = statusLine + "\r\nContent-Type: text/xml\r\n" + extraHead;
    if (withLength)
        head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    return head + "\r\n" + body;
}

QByteArray updateFile(const QByteArray& version, const QByteArray& description = "Faster drills.",
                      std::optional<QByteArray> free = QByteArray("Yes"))
{
    QByteArray f = "<?xml version=\"1.0\"?>\n<Update>\n  <CurrentVersion>" + version + "</CurrentVersion>\n";
    if (free)
        f += "  <Free>" + *free + "</Free>\n";
    return f + "  <Description>" + description + "</Description>\n</Update>\n";
}

// A server on 127.0.0.1 for the update file. It keeps the request of the
// latest connection and, once its blank line is in, hands the connection to
// the test's script.
class UpdateServer : public QObject {
public:
    using Script = std::function<void(QTcpSocket*)>;

    UpdateServer()
    {
        listening_ = server_.listen(QHostAddress::LocalHost, 0);
        connect(&server_, &QTcpServer::newConnection, this, &UpdateServer::accept);
    }

    bool listening() const { return listening_; }
    quint16 port() const { return server_.serverPort(); }
    QString url() const { return QStringLiteral("http://127.0.0.1:%1/Updates/sumwise.xml").arg(port()); }
    void setScript(Script script) { script_ = std::move(script); }
    void answerWith(const QByteArray& bytes)
    {
        setScript([bytes](QTcpSocket* peer) {
            peer->write(bytes);
            peer->disconnectFromHost();
        });
    }
    int connections() const { return connections_; }
    const QByteArray& request() const { return request_; }
    QTcpSocket* lastPeer() const { return lastPeer_; }
    std::function<void()> onRequest;

private:
    void accept()
    {
        while (QTcpSocket* peer = server_.nextPendingConnection()) {
            peer->setParent(this);
            ++connections_;
            request_.clear();
            lastPeer_ = peer;
            connect(peer, &QTcpSocket::readyRead, this, [this, peer] {
                request_ += peer->readAll();
                if (peer->property("answered").toBool() || !request_.contains("\r\n\r\n"))
                    return;
                peer->setProperty("answered", true);
                if (onRequest)
                    onRequest();
                if (script_)
                    script_(peer);
            });
        }
    }

    QTcpServer server_;
    Script script_;
    QByteArray request_;
    QPointer<QTcpSocket> lastPeer_;
    int connections_ = 0;
    bool listening_ = false;
};

// What the user could see at one moment.
struct Seen {
    bool taken = false;
    bool versionWindowOpen = false;
    bool updateWindowOpen = false;
    bool modal = false;
    QString label;
    int progressMaximum = -1;
    bool progressVisible = false;
};

Seen seeNow()
{
    Seen s;
    s.taken = true;
    s.versionWindowOpen = fw::openWindow<SelfTestWindow>() != nullptr;
    if (UpdateWindow* u = fw::openWindow<UpdateWindow>()) {
        s.updateWindowOpen = true;
        // Modal as Qt sees it: input to every other window is blocked.
        s.modal = QApplication::activeModalWidget() == u;
        s.label = u->StaticText1()->Text();
        s.progressMaximum = u->ProgressBar1()->Maximum();
        s.progressVisible = u->ProgressBar1()->Visible();
    }
    return s;
}

QString upgradeMessage(const QString& version, bool free)
{
    return QStringLiteral("Version ") + version + QStringLiteral(" is now available. (You are using version ")
        + fw::appMetadata().shortVersion + QStringLiteral(".) ")
        + (free ? QStringLiteral("This is a free upgrade. Would you like to automatically download this update "
                                 "(using your web browser)?")
                : QStringLiteral("This is a paid upgrade. Would you like to automatically download the trial "
                                 "version (using your web browser)?"));
}

QPushButton* buttonCaptioned(QWidget* parent, const QString& caption)
{
    for (QPushButton* b : parent->findChildren<QPushButton*>())
        if (b->text() == caption && b->isVisible())
            return b;
    return nullptr;
}

} // namespace

class UpdateCheckTest : public SumwiseTest {
protected:
    void SetUp() override
    {
        clearQtQuitFlag();
        SumwiseTest::SetUp();
        ASSERT_TRUE(server.listening());
        fw::testing::overrideBuildConstant(QStringLiteral("kUpdateUrl"), server.url());
        server.onRequest = [this] { atRequest = seeNow(); };
        fw::testing::setOnModal([this] { atDialog = seeNow(); });
    }

    void TearDown() override
    {
        fw::testing::overrideBuildConstant(QStringLiteral("kUpdateUrl"), QString());
        SumwiseTest::TearDown();
    }

    // A quit asked for outside a running loop (an earlier test in this process
    // closed the main window) leaves Qt's quit flag set, and every modal loop
    // after it would return at once. Only the application's exec clears it.
    static void clearQtQuitFlag()
    {
        if (QThread::currentThread()->loopLevel() > 0)
            return;
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }

    // "Check Now" from the menu, then Return in the version window. Returns
    // when the version window's handler does: once the update window has closed.
    void runCheck()
    {
        fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("CheckForUpdateCheckNow")));
        SelfTestWindow* version = fw::openWindow<SelfTestWindow>();
        ASSERT_NE(version, nullptr);
        version->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(version));
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus && focus->window() == version ? focus : version;

        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [this] {
            hung = true;
            if (QWidget* modal = QApplication::activeModalWidget())
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
            if (UpdateWindow* u = fw::openWindow<UpdateWindow>())
                u->Close();
        });
        watchdog.start(kWatchdogMs);
        QTest::keyClick(target, Qt::Key_Return);
        watchdog.stop();
        settle();
        ASSERT_FALSE(hung) << "the update window was still open after " << kWatchdogMs << " ms";
        EXPECT_EQ(fw::openWindow<UpdateWindow>(), nullptr);
        EXPECT_EQ(fw::openWindow<SelfTestWindow>(), nullptr);
    }

    // The moment the server had the whole request: the window was fetching.
    void expectFetchingAtRequest() const
    {
        ASSERT_TRUE(atRequest.taken);
        EXPECT_FALSE(atRequest.versionWindowOpen);
        EXPECT_TRUE(atRequest.updateWindowOpen);
        EXPECT_TRUE(atRequest.modal);
        EXPECT_EQ(atRequest.label, kChecking);
        EXPECT_EQ(atRequest.progressMaximum, 0);
        EXPECT_TRUE(atRequest.progressVisible);
    }

    const std::vector<fw::testing::RecordedDialog>& dialogs() const { return fw::testing::recordedDialogs(); }

    UpdateServer server;
    Seen atRequest;
    Seen atDialog;
    bool hung = false;
};

// ---------------------------------------------------------------------------
// The version window.

TEST_F(UpdateCheckTest, VersionWindowShowsTheLongVersion)
{
    fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("CheckForUpdateCheckNow")));
    SelfTestWindow* version = fw::openWindow<SelfTestWindow>();
    ASSERT_NE(version, nullptr);
    EXPECT_TRUE(version->isVisible());
    EXPECT_EQ(version->windowTitle(), QStringLiteral("Self Test"));
    EXPECT_EQ(version->StaticText2()->Text(), App()->LongVersion());
    EXPECT_NE(version->StaticText2()->Text(), QStringLiteral("3.3.0 Intel"));
    EXPECT_EQ(version->StaticText1()->Text(), QStringLiteral("Version:"));
    EXPECT_EQ(version->PushButton1()->Caption(), QStringLiteral("Check for Updates"));
    EXPECT_TRUE(version->PushButton1()->Default());
    // Showing it fetches nothing.
    settle();
    EXPECT_EQ(server.connections(), 0);
}

TEST_F(UpdateCheckTest, VersionWindowLayout)
{
    struct ControlRow {
        const char* name;
        int left, top, width, height;
        const char* text;  // nullptr: the long version
        bool bold;
        Qt::Alignment align;  // labels only
    };
    const ControlRow controls[] = {
        {"StaticText1", 41, 19, 67, 20, "Version:", true, Qt::AlignLeft},
        {"StaticText2", 101, 19, 71, 20, nullptr, false, Qt::AlignRight},
        {"PushButton1", 28, 61, 157, 21, "Check for Updates", true, {}},
    };
    fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("CheckForUpdateCheckNow")));
    SelfTestWindow* version = fw::openWindow<SelfTestWindow>();
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(version->centralWidget()->size(), QSize(213, 102));
    EXPECT_EQ(version->menuBarModel(), nullptr);
    QStringList names;
    for (QObject* o : version->controlsInOrder())
        names.append(o->objectName());
    EXPECT_EQ(names.join(u' ').toStdString(), "StaticText1 StaticText2 PushButton1");

    for (const ControlRow& row : controls) {
        SCOPED_TRACE(row.name);
        auto* c = qobject_cast<QWidget*>(version->_ControlByName(QLatin1String(row.name)));
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(c->isVisible());
        EXPECT_TRUE(c->isEnabled());
        EXPECT_EQ(c->mapTo(version->centralWidget(), QPoint(0, 0)), QPoint(row.left, row.top));
        EXPECT_EQ(c->size(), QSize(row.width, row.height));
        EXPECT_EQ(c->font().bold(), row.bold);
        EXPECT_EQ(c->font().pixelSize(), fw::kDefaultTextPixelSize);
        const QString text = row.text ? QString::fromLatin1(row.text) : App()->LongVersion();
        if (auto* label = dynamic_cast<fw::Label*>(c)) {
            EXPECT_EQ(label->Text(), text);
            EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, row.align);
        } else {
            auto* button = version->control<fw::PushButton>(QLatin1String(row.name));
            EXPECT_EQ(button->Caption(), text);
            EXPECT_TRUE(button->Default());
            EXPECT_FALSE(button->Cancel());
        }
    }
}

TEST_F(UpdateCheckTest, ClosingTheVersionWindowMakesNoCheck)
{
    fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("CheckForUpdateCheckNow")));
    QPointer<SelfTestWindow> version = fw::openWindow<SelfTestWindow>();
    ASSERT_NE(version, nullptr);
    version->close();
    settle();
    EXPECT_TRUE(version.isNull());
    QTest::qWait(kQuietMs);
    EXPECT_EQ(server.connections(), 0);

    fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("CheckForUpdateCheckNow")));
    ASSERT_NE(fw::openWindow<SelfTestWindow>(), nullptr);
    EXPECT_EQ(fw::openWindow<SelfTestWindow>()->StaticText2()->Text(), App()->LongVersion());
}

// ---------------------------------------------------------------------------
// The boxes in each window's title bar, read from the flags Qt hands to the
// platform. The update window is looked at while it fetches.

TEST_F(UpdateCheckTest, TitleBarBoxesOfEachWindow)
{
    std::map<std::string, Qt::WindowFlags> flags;
    const auto note = [&flags](const char* name, QWidget* window) {
        if (window && window->windowHandle())
            flags[name] = window->windowHandle()->flags();
    };
    note("Window1", w());
    fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("SoundAbout")));
    note("AboutBox", fw::openWindow<app::AboutBox>());
    fw::menuItemChosen(MenuBar1()->Lookup(QStringLiteral("CheckForUpdateCheckNow")));
    note("selfTest", fw::openWindow<SelfTestWindow>());
    server.onRequest = [&] { note("updateWindow", fw::openWindow<UpdateWindow>()); };
    server.answerWith(reply(updateFile("1.0.0")));
    runCheck();

    struct Boxes {
        const char* window;
        bool close, minimise, maximise;
    };
    for (const Boxes& row : {Boxes{"Window1", true, true, false}, Boxes{"AboutBox", true, false, false},
                             Boxes{"selfTest", true, false, false}, Boxes{"updateWindow", true, true, false}}) {
        SCOPED_TRACE(row.window);
        ASSERT_EQ(flags.count(row.window), 1u);
        const Qt::WindowFlags f = flags[row.window];
        EXPECT_EQ(f.testFlag(Qt::WindowCloseButtonHint), row.close);
        EXPECT_EQ(f.testFlag(Qt::WindowMinimizeButtonHint), row.minimise);
        EXPECT_EQ(f.testFlag(Qt::WindowMaximizeButtonHint), row.maximise);
    }
}

// ---------------------------------------------------------------------------
// The request and the fetching state.

// Host carries the server part exactly as the address gives it, port included.
class UpdateRequestTest : public UpdateCheckTest, public ::testing::WithParamInterface<const char*> { };

TEST_P(UpdateRequestTest, ReturnStartsTheCheckWithTheExactRequest)
{
    const QString serverPart = QStringLiteral("%1:%2").arg(QLatin1String(GetParam())).arg(server.port());
    fw::testing::overrideBuildConstant(QStringLiteral("kUpdateUrl"),
                                       QStringLiteral("http://%1/Updates/sumwise.xml").arg(serverPart));
    server.answerWith(reply(updateFile("1.0.0")));
    runCheck();
    EXPECT_EQ(server.connections(), 1);
    EXPECT_EQ(server.request().toStdString(), "GET /Updates/sumwise.xml HTTP/1.0\r\nAccept: */*\r\n"
                                              "Accept-Language: en\r\nHost: "
                                                  + serverPart.toStdString() + "\r\n\r\n");
    expectFetchingAtRequest();
}

INSTANTIATE_TEST_SUITE_P(Hosts, UpdateRequestTest, ::testing::Values("127.0.0.1", "localhost"),
                         [](const auto& info) {
                             return std::string(info.param) == "localhost" ? "Localhost" : "LoopbackAddress";
                         });

// The update window appears once, already modal: shown first and made modal
// afterwards, it would be hidden and shown again, a flicker under a window manager.
TEST_F(UpdateCheckTest, UpdateWindowIsShownOnceAndModal)
{
    struct ShowWatch : QObject {
        std::vector<Qt::WindowModality> shows;
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Show)
                if (auto* u = dynamic_cast<UpdateWindow*>(watched))
                    shows.push_back(u->windowModality());
            return false;
        }
    } watch;
    qApp->installEventFilter(&watch);
    server.answerWith(reply(updateFile("1.0.0")));
    runCheck();
    qApp->removeEventFilter(&watch);
    EXPECT_EQ(watch.shows, std::vector<Qt::WindowModality>{Qt::ApplicationModal});
}

// What the user sees while the fetch runs.
TEST_F(UpdateCheckTest, FetchingWindowLayout)
{
    struct Place {
        const char* name;
        QRect rect;
    };
    const Place places[] = {
        {"StaticText1", {20, 19, 266, 20}},
        {"ProgressBar1", {20, 46, 260, 12}},
        {"PushButton1", {208, 80, 72, 20}},
    };
    QString title;
    QSize size;
    QString caption;
    bool isDefault = false;
    bool isCancel = false;
    std::vector<QRect> seen;
    server.onRequest = [&] {
        atRequest = seeNow();
        UpdateWindow* u = fw::openWindow<UpdateWindow>();
        if (!u)
            return;
        title = u->windowTitle();
        size = u->centralWidget()->size();
        caption = u->PushButton1()->Caption();
        isDefault = u->PushButton1()->Default();
        isCancel = u->PushButton1()->Cancel();
        for (const Place& p : places) {
            auto* c = qobject_cast<QWidget*>(u->_ControlByName(QLatin1String(p.name)));
            seen.push_back(c ? QRect(c->mapTo(u->centralWidget(), QPoint(0, 0)), c->size()) : QRect());
        }
    };
    server.answerWith(reply(updateFile("1.0.0")));
    runCheck();
    expectFetchingAtRequest();
    EXPECT_EQ(title, QStringLiteral("Update"));
    EXPECT_EQ(size, QSize(300, 120));
    EXPECT_EQ(caption, QStringLiteral("Cancel"));
    EXPECT_TRUE(isDefault);
    EXPECT_TRUE(isCancel);
    ASSERT_EQ(seen.size(), std::size(places));
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(seen[i], places[i].rect) << places[i].name;
}

TEST_F(UpdateCheckTest, EveryCheckMakesAFreshWindowThatFetchesAgain)
{
    server.answerWith(reply(updateFile("1.0.0")));
    QPointer<UpdateWindow> first;
    server.onRequest = [&] {
        atRequest = seeNow();
        if (!first)
            first = fw::openWindow<UpdateWindow>();
    };
    runCheck();
    settle();
    EXPECT_TRUE(first.isNull());
    runCheck();
    EXPECT_EQ(server.connections(), 2);
    EXPECT_EQ(dialogs().size(), 2u);
}

// ---------------------------------------------------------------------------
// The page handler over the replies the server may give.

namespace {

enum class Outcome { Current, Upgrade, Silent, Failed };

struct PageRow {
    const char* name;
    QByteArray reply;
    Outcome outcome;
    QString newVersion;   // Upgrade only
    bool free = false;    // Upgrade only
    QString explanation;  // Upgrade only
    int code = 0;         // Failed only: the code the message gives
};

QString communicationError(int code)
{
    return QStringLiteral("There was a communication error with the website. Please try again later. (Code: %1)")
        .arg(code);
}

void PrintTo(const PageRow& row, std::ostream* os) { *os << row.name; }

} // namespace

class UpdatePageTest : public UpdateCheckTest, public ::testing::WithParamInterface<PageRow> { };

TEST_P(UpdatePageTest, ReadsThePageAndEndsTheCheck)
{
    const PageRow& row = GetParam();
    server.answerWith(row.reply);
    runCheck();
    expectFetchingAtRequest();
    EXPECT_EQ(server.connections(), 1) << "a redirect must not be followed";
    EXPECT_EQ(fw::testing::beepCount(), row.outcome == Outcome::Failed ? 1 : 0);
    EXPECT_TRUE(fw::testing::openedUrls().isEmpty());

    switch (row.outcome) {
    case Outcome::Failed:
        ASSERT_EQ(dialogs().size(), 1u);
        EXPECT_EQ(dialogs()[0].kind, QStringLiteral("MsgBox"));
        EXPECT_EQ(dialogs()[0].message, communicationError(row.code));
        EXPECT_EQ(dialogs()[0].beepsBefore, 1);
        EXPECT_TRUE(atDialog.updateWindowOpen);
        EXPECT_EQ(atDialog.label, kChecking);
        break;
    case Outcome::Silent:
        EXPECT_TRUE(dialogs().empty());
        break;
    case Outcome::Current:
        ASSERT_EQ(dialogs().size(), 1u);
        EXPECT_EQ(dialogs()[0].kind, QStringLiteral("MsgBox"));
        EXPECT_EQ(dialogs()[0].message, kCurrentBox);
        // Behind the box the window already says so, and closes only after it.
        EXPECT_TRUE(atDialog.updateWindowOpen);
        EXPECT_EQ(atDialog.label, kCurrentLabel);
        EXPECT_FALSE(atDialog.progressVisible);
        EXPECT_FALSE(atDialog.versionWindowOpen);
        break;
    case Outcome::Upgrade: {
        ASSERT_EQ(dialogs().size(), 1u);
        const auto& d = dialogs()[0];
        EXPECT_EQ(d.kind, QStringLiteral("MessageDialog"));
        EXPECT_EQ(d.title, kUpgradeTitle);
        EXPECT_EQ(d.message.toStdString(), upgradeMessage(row.newVersion, row.free).toStdString());
        EXPECT_EQ(d.explanation.toStdString(), row.explanation.toStdString());
        EXPECT_EQ(d.icon, 3);
        EXPECT_EQ(d.alternateCaption, QStringLiteral("Go to Website"));
        EXPECT_TRUE(d.alternateVisible);
        EXPECT_TRUE(d.cancelVisible);
        EXPECT_FALSE(d.actionCaption.isEmpty());
        // The window stays behind the dialog, bar hidden, label unchanged.
        EXPECT_TRUE(atDialog.updateWindowOpen);
        EXPECT_EQ(atDialog.label, kChecking);
        EXPECT_FALSE(atDialog.progressVisible);
        EXPECT_FALSE(atDialog.versionWindowOpen);
        break;
    }
    }
}

const QByteArray kHugeDescription = QByteArray(100000, 'x');
const QByteArray kMarkup = "<b>Bold</b> &amp; <a href=\"http://127.0.0.1/\">link</a><br>";

const PageRow kPages[] = {
    {"SameVersion", reply(updateFile("1.0.0")), Outcome::Current, {}, false, {}},
    {"MissingThirdFieldReadsAsZero", reply(updateFile("1.0")), Outcome::Current, {}, false, {}},
    {"FourthFieldIgnored", reply(updateFile("1.0.0.9")), Outcome::Current, {}, false, {}},
    {"LeadingZeroReadsAsNumber", reply(updateFile("1.00.0")), Outcome::Current, {}, false, {}},
    // A field reads as a number only when its first character is a digit.
    {"BlankBeforeVersion", reply(updateFile(" 1.0.0")), Outcome::Upgrade, " 1.0.0", true, "Faster drills."},
    {"SignBeforeVersion", reply(updateFile("+1.0.0")), Outcome::Upgrade, "+1.0.0", true, "Faster drills."},
    {"TwoVersionsTheFirstCounts",
     reply("<CurrentVersion>1.0.0</CurrentVersion><CurrentVersion>2.0.0</CurrentVersion>"), Outcome::Current, {},
     false, {}},
    {"TwoVersionsTheFirstCountsAlsoWhenOlder",
     reply("<CurrentVersion>0.9</CurrentVersion><Free>Yes</Free><CurrentVersion>1.0.0</CurrentVersion>"),
     Outcome::Upgrade, "0.9", true, ""},
    {"WithoutContentLength", reply(updateFile("1.0.0"), "HTTP/1.0 200 OK", {}, false), Outcome::Current, {},
     false, {}},
    {"HeadEndingInBareLineFeeds", "HTTP/1.0 200 OK\nContent-Type: text/xml\n\n" + updateFile("1.0.0"),
     Outcome::Current, {}, false, {}},
    {"NotFoundStatusWithTheFile", reply(updateFile("1.0.0"), "HTTP/1.0 404 Not Found"), Outcome::Current, {},
     false, {}},
    // Whatever is no update file fails the check: the reply's own error
    // status where it has one, else the code for "not an update file".
    {"NotFoundPage", reply("<html><body>Not Found</body></html>", "HTTP/1.0 404 Not Found"), Outcome::Failed, {},
     false, {}, 404},
    {"RedirectPage",
     reply("<html>Moved</html>", "HTTP/1.0 301 Moved Permanently",
           "Location: http://127.0.0.1:9/Updates/sumwise.xml\r\n"),
     Outcome::Failed, {}, false, {}, 301},
    {"LoginPage", reply("<html><form>Log in to use this network</form></html>"), Outcome::Failed, {}, false, {},
     update::kNotAnUpdateFile},
    {"EmptyCurrentVersion", reply(updateFile("")), Outcome::Failed, {}, false, {}, update::kNotAnUpdateFile},
    {"BlankCurrentVersion", reply(updateFile(" \r\n\t ")), Outcome::Failed, {}, false, {},
     update::kNotAnUpdateFile},
    {"CurrentVersionNeverEnds", reply("<CurrentVersion>1.0.0"), Outcome::Failed, {}, false, {},
     update::kNotAnUpdateFile},
    {"NoStatusLine", "Hello\r\n\r\n<html>No status here</html>", Outcome::Failed, {}, false, {},
     update::kNotAnUpdateFile},
    {"OlderFree", reply(updateFile("0.9.9")), Outcome::Upgrade, "0.9.9", true, "Faster drills."},
    {"NewerFree", reply(updateFile("1.0.1")), Outcome::Upgrade, "1.0.1", true, "Faster drills."},
    {"FreeInSmallLetters", reply(updateFile("0.9.9", "d", QByteArray("yes"))), Outcome::Upgrade, "0.9.9", true,
     "d"},
    {"FreeWithABlankBefore", reply(updateFile("0.9.9", "d", QByteArray(" Yes"))), Outcome::Upgrade, "0.9.9",
     false, "d"},
    {"FreeOtherWord", reply(updateFile("0.9.9", "d", QByteArray("No"))), Outcome::Upgrade, "0.9.9", false, "d"},
    {"NoFreeElement", reply(updateFile("0.9.9", "d", std::nullopt)), Outcome::Upgrade, "0.9.9", false, "d"},
    {"DescriptionOverSeveralLines", reply(updateFile("2.0", "First line.\r\nSecond line.\nThird line.")),
     Outcome::Upgrade, "2.0", true, "First line.\r\nSecond line.\nThird line."},
    {"DescriptionWithMarkup", reply(updateFile("2.0", kMarkup)), Outcome::Upgrade, "2.0", true,
     QString::fromLatin1(kMarkup)},
    {"EmptyDescription", reply(updateFile("2.0", "")), Outcome::Upgrade, "2.0", true, ""},
    {"HugeDescriptionIsCut", reply(updateFile("2.0", kHugeDescription)), Outcome::Upgrade, "2.0", true,
     QString::fromLatin1(kHugeDescription.left(update::kMaxShownLength))},
    {"EmptyBody", reply(""), Outcome::Silent, {}, false, {}},
    {"EmptyBodyWithoutLength", reply("", "HTTP/1.0 200 OK", {}, false), Outcome::Silent, {}, false, {}},
    {"NothingSentAtAll", "", Outcome::Silent, {}, false, {}},
};

INSTANTIATE_TEST_SUITE_P(Pages, UpdatePageTest, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// The upgrade dialog's buttons.

namespace {

struct ButtonRow {
    const char* name;
    DialogAnswer answer;
    bool opensSite;
    bool windowStays;
};

void PrintTo(const ButtonRow& row, std::ostream* os) { *os << row.name; }

} // namespace

const ButtonRow kUpgradeButtons[] = {
    {"Cancel", DialogAnswer::Cancel, false, false},
    {"Action", DialogAnswer::Action, true, false},
    {"GoToWebsite", DialogAnswer::Alternate, true, true},
};

class UpgradeButtonTest : public UpdateCheckTest, public ::testing::WithParamInterface<ButtonRow> { };

TEST_P(UpgradeButtonTest, ActsOnThePressedButton)
{
    const ButtonRow& row = GetParam();
    server.answerWith(reply(updateFile("0.9.9")));
    fw::testing::scriptDialogAnswers({row.answer});
    // What the window looks like once the dialog has gone; when it stayed
    // open, its own Cancel button then closes it.
    Seen afterDialog;
    fw::testing::setOnModal([&] {
        atDialog = seeNow();
        QTimer::singleShot(0, &server, [&] {
            afterDialog = seeNow();
            if (UpdateWindow* u = fw::openWindow<UpdateWindow>())
                QTest::mouseClick(u->PushButton1(), Qt::LeftButton);
        });
    });
    runCheck();

    const QString site = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    EXPECT_EQ(fw::testing::openedUrls().join(u' ').toStdString(), row.opensSite ? site.toStdString() : "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return afterDialog.taken; }, 2000));
    EXPECT_EQ(afterDialog.updateWindowOpen, row.windowStays);
    if (row.windowStays) {
        EXPECT_EQ(afterDialog.label, kChecking);
        EXPECT_FALSE(afterDialog.progressVisible);
    }
    EXPECT_FALSE(afterDialog.versionWindowOpen);
    EXPECT_EQ(dialogs().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Buttons, UpgradeButtonTest, ::testing::ValuesIn(kUpgradeButtons),
                         [](const auto& info) { return std::string(info.param.name); });

// The real dialog on screen: texts shown as plain text, and its real buttons.
namespace {

struct RealButtonRow {
    const char* name;
    const char* caption;
    bool opensSite;
    bool windowStays;
};

void PrintTo(const RealButtonRow& row, std::ostream* os) { *os << row.name; }

} // namespace

// The real dialogs, answered by a timer that plays the user.
class RealDialogTest : public UpdateCheckTest {
protected:
    void SetUp() override
    {
        UpdateCheckTest::SetUp();
        fw::testing::setDialogsScripted(false);
    }
};

class RealUpgradeDialogTest : public RealDialogTest, public ::testing::WithParamInterface<RealButtonRow> { };

TEST_P(RealUpgradeDialogTest, ShowsPlainTextAndActsOnTheClickedButton)
{
    const RealButtonRow& row = GetParam();
    const QByteArray description = "Line <b>one</b>\nLine &amp; two";
    server.answerWith(reply(updateFile("0.9.9", description)));

    QStringList labelTexts;
    std::map<QString, int> textPixels;  // the size each text area's text is drawn at
    bool allPlain = true;
    bool clicked = false;
    Seen afterDialog;
    // Plays the user: reads the dialog, clicks its button, then looks at the
    // update window and, if it is still open, presses its Cancel button.
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!clicked) {
            if (!dialog || dialog->windowTitle() != kUpgradeTitle)
                return;
            for (QLabel* l : dialog->findChildren<QLabel*>()) {
                if (l->text().isEmpty())
                    continue;
                labelTexts.append(l->text());
                allPlain = allPlain && l->textFormat() == Qt::PlainText;
            }
            for (QTextEdit* t : dialog->findChildren<QTextEdit*>()) {
                labelTexts.append(t->toPlainText());
                textPixels[t->toPlainText()] = QFontInfo(t->font()).pixelSize();
            }
            QPushButton* b = buttonCaptioned(dialog, QLatin1String(row.caption));
            if (!b)
                return;
            clicked = true;
            b->click();
            return;
        }
        if (dialog && dialog->windowTitle() == kUpgradeTitle)
            return;
        user.stop();
        afterDialog = seeNow();
        if (UpdateWindow* u = fw::openWindow<UpdateWindow>())
            QTest::mouseClick(u->PushButton1(), Qt::LeftButton);
    });
    user.start(5);
    runCheck();

    ASSERT_TRUE(clicked);
    EXPECT_TRUE(allPlain);
    EXPECT_TRUE(labelTexts.contains(upgradeMessage(QStringLiteral("0.9.9"), true)));
    EXPECT_TRUE(labelTexts.contains(QString::fromLatin1(description)));
    // The explanation is the smaller text beneath the message.
    EXPECT_LT(textPixels[QString::fromLatin1(description)], textPixels[upgradeMessage(QStringLiteral("0.9.9"), true)]);
    const QString site = QStringLiteral("http://127.0.0.1:%1").arg(server.port());
    EXPECT_EQ(fw::testing::openedUrls().join(u' ').toStdString(), row.opensSite ? site.toStdString() : "");
    ASSERT_TRUE(QTest::qWaitFor([&] { return afterDialog.taken; }, 2000));
    EXPECT_EQ(afterDialog.updateWindowOpen, row.windowStays);
}

INSTANTIATE_TEST_SUITE_P(Buttons, RealUpgradeDialogTest,
                         ::testing::Values(RealButtonRow{"Cancel", "Cancel", false, false},
                                           RealButtonRow{"Action", "OK", true, false},
                                           RealButtonRow{"GoToWebsite", "Go to Website", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Whatever the update file holds, the real dialog fits the screen and its
// buttons can be clicked.
namespace {

struct HostileRow {
    const char* name;
    QByteArray version;
    QByteArray description;
};

void PrintTo(const HostileRow& row, std::ostream* os) { *os << row.name; }

QByteArray repeated(const QByteArray& piece, int times)
{
    QByteArray out;
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

} // namespace

class HostileUpgradeDialogTest : public RealDialogTest, public ::testing::WithParamInterface<HostileRow> { };

TEST_P(HostileUpgradeDialogTest, StaysOnTheScreenWithItsButtons)
{
    const HostileRow& row = GetParam();
    server.answerWith(reply(updateFile(row.version, row.description)));
    QRect room;
    QRect dialogFrame;
    std::vector<QRect> buttons;
    // How far the widest text reaches past its room: a word wider than the
    // room must be broken, not clipped.
    qreal overhang = -1;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->windowTitle() != kUpgradeTitle)
            return;
        user.stop();
        room = dialog->screen()->availableGeometry();
        dialogFrame = dialog->frameGeometry();
        for (QTextEdit* t : dialog->findChildren<QTextEdit*>())
            overhang = std::max({overhang, t->document()->size().width() - t->viewport()->width(),
                                 qreal(t->horizontalScrollBar()->maximum())});
        for (QPushButton* b : dialog->findChildren<QPushButton*>())
            buttons.emplace_back(b->mapToGlobal(QPoint(0, 0)), b->size());
        QPushButton* cancel = buttonCaptioned(dialog, QStringLiteral("Cancel"));
        if (cancel)
            cancel->click();
        else
            dialog->reject();
    });
    user.start(5);
    runCheck();

    ASSERT_FALSE(room.isEmpty());
    EXPECT_TRUE(room.contains(dialogFrame)) << dialogFrame.width() << "x" << dialogFrame.height();
    EXPECT_EQ(buttons.size(), 3u);
    for (const QRect& b : buttons)
        EXPECT_TRUE(room.contains(b));
    EXPECT_EQ(overhang, 0) << "a text is wider than its room and clipped";
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostileUpgradeDialogTest,
    ::testing::Values(HostileRow{"ManyShortLines", "2.0", repeated("Fixed.\n", 600)},
                      HostileRow{"OneLongWord", "2.0", QByteArray(1900, 'w')},
                      HostileRow{"LongVersion", repeated("9", 1000000), "Faster drills."}),
    [](const auto& info) { return std::string(info.param.name); });

// The real one-button message box: plain text over the update window, which
// closes once the box is dismissed.
namespace {

struct BoxRow {
    const char* name;
    bool refuse;  // no server at the address
    const char* pattern;
    const char* labelBehind;
};

void PrintTo(const BoxRow& row, std::ostream* os) { *os << row.name; }

} // namespace

class RealMessageBoxTest : public RealDialogTest, public ::testing::WithParamInterface<BoxRow> { };

TEST_P(RealMessageBoxTest, ShowsTheTextThenTheWindowCloses)
{
    const BoxRow& row = GetParam();
    const RefusedPort refused;  // held until the check is over
    if (row.refuse) {
        const quint16 port = refused.port();
        ASSERT_NE(port, 0);
        fw::testing::overrideBuildConstant(QStringLiteral("kUpdateUrl"),
                                           QStringLiteral("http://127.0.0.1:%1/Updates/sumwise.xml").arg(port));
    } else {
        server.answerWith(reply(updateFile("1.0.0")));
    }

    QString text;
    bool plain = false;
    Seen behind;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        user.stop();
        text = box->text();
        plain = box->textFormat() == Qt::PlainText;
        behind = seeNow();
        box->button(QMessageBox::Ok)->click();
    });
    user.start(5);
    runCheck();

    ASSERT_TRUE(behind.taken);
    EXPECT_TRUE(QRegularExpression(QLatin1String(row.pattern)).match(text).hasMatch()) << text.toStdString();
    EXPECT_TRUE(plain);
    EXPECT_TRUE(behind.updateWindowOpen);
    EXPECT_EQ(behind.label, QLatin1String(row.labelBehind));
    EXPECT_FALSE(behind.versionWindowOpen);
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, RealMessageBoxTest,
    ::testing::Values(BoxRow{"CurrentVersion", false,
                             "^You are using the current version\\. No update is available\\.$",
                             "This version is current."},
                      BoxRow{"CommunicationError", true,
                             "^There was a communication error with the website\\. Please try again later\\. "
                             "\\(Code: [1-9][0-9]*\\)$",
                             "Checking for updates..."}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// No connection at all.

namespace {

struct ErrorRow {
    const char* name;
    std::function<QString()> address;
};

void PrintTo(const ErrorRow& row, std::ostream* os) { *os << row.name; }

} // namespace

class UpdateErrorTest : public UpdateCheckTest, public ::testing::WithParamInterface<ErrorRow> { };

TEST_P(UpdateErrorTest, BeepsReportsTheCodeAndCloses)
{
    fw::testing::overrideBuildConstant(QStringLiteral("kUpdateUrl"), GetParam().address());
    runCheck();

    EXPECT_EQ(fw::testing::beepCount(), 1);
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].kind, QStringLiteral("MsgBox"));
    EXPECT_EQ(dialogs()[0].beepsBefore, 1) << "the beep comes before the message";
    static const QRegularExpression kMessage(QStringLiteral(
        "^There was a communication error with the website\\. Please try again later\\. \\(Code: (-?[0-9]+)\\)$"));
    const QRegularExpressionMatch m = kMessage.match(dialogs()[0].message);
    ASSERT_TRUE(m.hasMatch()) << dialogs()[0].message.toStdString();
    EXPECT_NE(m.captured(1).toInt(), 0);
    // The window closes only once the box has been dismissed.
    EXPECT_TRUE(atDialog.updateWindowOpen);
    EXPECT_FALSE(atDialog.versionWindowOpen);
    EXPECT_TRUE(fw::testing::openedUrls().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, UpdateErrorTest,
    ::testing::Values(ErrorRow{"RefusedPort",
                               [] {
                                   // Held for the rest of the process: nothing can listen there.
                                   static const RefusedPort refused;
                                   return QStringLiteral("http://127.0.0.1:%1/Updates/sumwise.xml")
                                       .arg(refused.port());
                               }},
                      ErrorRow{"UnresolvableName",
                               [] { return QStringLiteral("http://sumwise-update.invalid/Updates/sumwise.xml"); }}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Cancel before the reply, however the user gives it.

namespace {

struct CancelRow {
    const char* name;
    std::function<void(UpdateWindow*)> cancel;
};

void PrintTo(const CancelRow& row, std::ostream* os) { *os << row.name; }

} // namespace

class UpdateCancelTest : public UpdateCheckTest, public ::testing::WithParamInterface<CancelRow> { };

TEST_P(UpdateCancelTest, ClosesAndTheLateReplyChangesNothing)
{
    // The server holds the reply; the user cancels meanwhile.
    server.setScript([this](QTcpSocket*) {
        QTimer::singleShot(0, &server, [this] {
            if (UpdateWindow* u = fw::openWindow<UpdateWindow>())
                GetParam().cancel(u);
        });
    });
    runCheck();
    expectFetchingAtRequest();

    // The reply comes after all: nobody listens to it any more.
    QTcpSocket* peer = server.lastPeer();
    ASSERT_NE(peer, nullptr);
    if (peer->state() == QAbstractSocket::ConnectedState) {
        peer->write(reply(updateFile("0.9.9")));
        peer->disconnectFromHost();
    }
    QTest::qWait(kQuietMs);
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(fw::testing::beepCount(), 0);
    EXPECT_TRUE(fw::testing::unhandledExceptions().isEmpty());
    EXPECT_EQ(fw::openWindow<UpdateWindow>(), nullptr);
    EXPECT_EQ(fw::openWindow<SelfTestWindow>(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, UpdateCancelTest,
    ::testing::Values(CancelRow{"CancelButton", [](UpdateWindow* u) { QTest::mouseClick(u->PushButton1(), Qt::LeftButton); }},
                      CancelRow{"ReturnKey", [](UpdateWindow* u) { QTest::keyClick(u, Qt::Key_Return); }},
                      CancelRow{"EscapeKey", [](UpdateWindow* u) { QTest::keyClick(u, Qt::Key_Escape); }},
                      CancelRow{"CloseBox", [](UpdateWindow* u) { u->close(); }}),
    [](const auto& info) { return std::string(info.param.name); });
