#include "drill/settings_file.h"
#include "drill/settings_format.h"
#include "fw/files.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <linux/capability.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const QByteArray defaults = "True\nAdd\nEasy\n";

// Root reads and writes any file, whatever its mode, through two capabilities.
// While this lives the calling thread goes without them (capabilities belong
// to a thread on Linux), so a file's mode stops root as it stops anyone else;
// CI runs as root.
class PermissionsEnforced {
public:
    PermissionsEnforced()
    {
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct lowered[2] = {m_saved[0], m_saved[1]};
        lowered[0].effective &= ~(CAP_TO_MASK(CAP_DAC_OVERRIDE) | CAP_TO_MASK(CAP_DAC_READ_SEARCH));
        m_lowered = syscall(SYS_capset, &m_header, lowered) == 0;
    }
    ~PermissionsEnforced()
    {
        if (m_lowered)
            syscall(SYS_capset, &m_header, m_saved);
    }
    PermissionsEnforced(const PermissionsEnforced&) = delete;
    PermissionsEnforced& operator=(const PermissionsEnforced&) = delete;

    bool active() const { return m_lowered; }

private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_lowered = false;
};

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

// What lies at path itself, a link not followed.
const char* kindAt(const QString& path)
{
    struct stat st{};
    if (lstat(QFile::encodeName(path).constData(), &st) != 0)
        return "missing";
    return S_ISREG(st.st_mode) ? "file" : S_ISLNK(st.st_mode) ? "link" : S_ISFIFO(st.st_mode) ? "pipe"
        : S_ISSOCK(st.st_mode) ? "socket" : "other";
}

void makeSocket(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    ASSERT_LT(size_t(name.size()), sizeof(address.sun_path));
    std::copy(name.begin(), name.end(), address.sun_path);
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    close(fd);
}

void writeRaw(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        prefs = dir.filePath("prefs");
        ASSERT_TRUE(QDir().mkpath(prefs));
        fw::testing::setPreferencesFolder(prefs);
    }
    void TearDown() override
    {
        fw::testing::setPreferencesFolder({});
        // Leave nothing that the temporary folder could not remove.
        chmod(QFile::encodeName(prefs).constData(), 0700);
    }

    QString settingsPath() const { return QDir(prefs).filePath("sumwise.txt"); }
    QStringList prefsEntries() const
    {
        return QDir(prefs).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    QTemporaryDir dir;
    QString prefs;
};

TEST_F(SettingsFileTest, PreferencesFolderFollowsXdgConfigHome)
{
    fw::testing::setPreferencesFolder({});
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.path()));
    EXPECT_EQ(fw::PreferencesFolder(), dir.path());
    if (saved.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", saved);
}

TEST_F(SettingsFileTest, MissingFileIsCreatedWithTheDefaults)
{
    EXPECT_EQ(readSettingsFileCreatingDefaults(), defaults);
    EXPECT_EQ(contentOf(settingsPath()), defaults);
    EXPECT_EQ(prefsEntries(), QStringList{"sumwise.txt"});
}

TEST_F(SettingsFileTest, ExistingFileIsReadAsItIs)
{
    writeRaw(settingsPath(), "False\nDivide\nHard\nextra\n");
    EXPECT_EQ(readSettingsFileCreatingDefaults(), "False\nDivide\nHard\nextra\n");
    writeRaw(settingsPath(), "");
    EXPECT_EQ(readSettingsFileCreatingDefaults(), ""); // kept empty, not replaced
    EXPECT_EQ(contentOf(settingsPath()), "");
}

TEST_F(SettingsFileTest, MissingPreferencesFolderIsCreated)
{
    ASSERT_TRUE(QDir(prefs).removeRecursively());
    fw::testing::setPreferencesFolder(dir.filePath("prefs/deeper"));
    EXPECT_EQ(readSettingsFileCreatingDefaults(), defaults);
    EXPECT_EQ(contentOf(dir.filePath("prefs/deeper/sumwise.txt")), defaults);
}

// Where the file can be neither made nor read, the program still starts with
// the defaults, and nothing is left lying about.
TEST_F(SettingsFileTest, UnusableLocationGivesTheDefaults)
{
    writeRaw(dir.filePath("plainfile"), "x");
    const struct {
        const char* name;
        QString folder;
        std::function<void()> prepare;
    } rows[] = {
        // A regular file where a folder should be stops root as well.
        {"folder is a regular file", dir.filePath("plainfile"), [] {}},
        {"folder's parent is a regular file", dir.filePath("plainfile/prefs"), [] {}},
        {"settings path is a folder", prefs, [this] { ASSERT_TRUE(QDir().mkpath(settingsPath())); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.prepare();
        fw::testing::setPreferencesFolder(row.folder);
        EXPECT_EQ(readSettingsFileCreatingDefaults(), defaults);
        EXPECT_FALSE(writeSettingsFile("False\nRoman\nHard\n"));
    }
    EXPECT_EQ(contentOf(dir.filePath("plainfile")), "x");
    EXPECT_TRUE(QFileInfo(settingsPath()).isDir());
    EXPECT_EQ(QDir(settingsPath()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}

// A folder without write permission: no file can be made there, and the
// program starts with the defaults.
TEST_F(SettingsFileTest, ReadOnlyFolderStillGivesTheDefaults)
{
    ASSERT_EQ(chmod(QFile::encodeName(prefs).constData(), 0500), 0);
    const PermissionsEnforced enforced;
    ASSERT_TRUE(enforced.active());
    EXPECT_EQ(readSettingsFileCreatingDefaults(), defaults);
    EXPECT_FALSE(QFileInfo::exists(settingsPath()));
}

TEST_F(SettingsFileTest, UnreadableFileGivesTheDefaults)
{
    writeRaw(settingsPath(), "False\nDivide\nHard\n");
    ASSERT_EQ(chmod(QFile::encodeName(settingsPath()).constData(), 0200), 0);
    const PermissionsEnforced enforced;
    ASSERT_TRUE(enforced.active());
    ASSERT_EQ(contentOf(settingsPath()), "<unreadable>") << "the file must be unreadable for this test";
    EXPECT_EQ(readSettingsFileCreatingDefaults(), defaults);
}

TEST_F(SettingsFileTest, PipeIsNotRead)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(settingsPath()).constData(), 0600), 0);
    // Opening a pipe with no writer would block for ever.
    EXPECT_EQ(fw::readTextFilePrefix(settingsPath(), 100), std::nullopt);
    EXPECT_EQ(readSettingsFileCreatingDefaults(), defaults);
}

TEST_F(SettingsFileTest, HugeFileIsReadOnlyAsFarAsTheBound)
{
    QByteArray huge = "False\nDivide\nHard\n";
    huge += QByteArray(8 * 1024 * 1024, 'x');
    writeRaw(settingsPath(), huge);
    EXPECT_EQ(fw::readTextFilePrefix(settingsPath(), 10), huge.left(10));
    // The cut-off line is left out rather than read as a short one.
    EXPECT_EQ(readSettingsFileCreatingDefaults(), "False\nDivide\nHard\n");

    writeRaw(settingsPath(), QByteArray(5000, 'x') + "\nEasy\n");
    EXPECT_EQ(readSettingsFileCreatingDefaults(), "");
    writeRaw(settingsPath(), QByteArray(4090, 'x') + "\nEasygoing");
    EXPECT_EQ(readSettingsFileCreatingDefaults(), QByteArray(4090, 'x') + "\n");
}

// A file grown past the bound by lines of its own kind of line end still
// gives its first three lines, whichever line end that is.
TEST_F(SettingsFileTest, LongFileKeepsItsSettingsWhateverItsLineEnds)
{
    for (const char* eol : {"\n", "\r", "\r\n"}) {
        SCOPED_TRACE(QByteArray(eol).toPercentEncoding().constData());
        QByteArray file = QByteArray("False") + eol + "Divide" + eol + "Hard" + eol;
        while (file.size() <= 2 * 4096)
            file += QByteArray("a line written by some other program") + eol;
        writeRaw(settingsPath(), file);
        const drill::SavedSettings read = drill::parseSettings(readSettingsFileCreatingDefaults());
        EXPECT_FALSE(read.soundOn);
        EXPECT_EQ(read.operation, "Divide");
        EXPECT_EQ(read.level, "Hard");
    }
}

TEST_F(SettingsFileTest, WriteReplacesTheFileWhole)
{
    writeRaw(settingsPath(), "True\nAdd\nEasy\nfourth line\n");
    EXPECT_TRUE(writeSettingsFile("False\nDivide\nHard\n"));
    EXPECT_EQ(contentOf(settingsPath()), "False\nDivide\nHard\n");
    EXPECT_TRUE(writeSettingsFile("True\n"));
    EXPECT_EQ(contentOf(settingsPath()), "True\n");
    EXPECT_EQ(prefsEntries(), QStringList{"sumwise.txt"});
}

// A link is written through to a regular file and stays a link. Whatever else
// the path leads to is left as it is and nothing is written: renaming a file
// over it would replace a pipe, a socket or, as root, a device such as the
// null device that the file is often linked to.
TEST_F(SettingsFileTest, WriteReplacesNothingButARegularFile)
{
    const QString target = dir.filePath("elsewhere/target");
    ASSERT_TRUE(QDir().mkpath(dir.filePath("elsewhere")));
    auto link = [this](const QString& to) { ASSERT_TRUE(QFile::link(to, settingsPath())); };
    const struct {
        const char* name;
        std::function<void()> prepare;
        bool written;
    } rows[] = {
        {"link to a file", [&] { writeRaw(target, "True\nAdd\nEasy\n"); link(target); }, true},
        {"link to no file yet", [&] { link(target); }, true},
        {"link into a missing folder", [&] { link(dir.filePath("gone/target")); }, false},
        {"pipe", [&] { ASSERT_EQ(mkfifo(QFile::encodeName(settingsPath()).constData(), 0600), 0); }, false},
        {"link to a pipe", [&] { ASSERT_EQ(mkfifo(QFile::encodeName(target).constData(), 0600), 0); link(target); },
         false},
        {"link to a socket", [&] { makeSocket(target); link(target); }, false},
        {"link loop", [&] { link("sumwise.txt"); }, false},
        // Last, as it turns the preferences folder into a link (dotfiles laid
        // out elsewhere): ".." leads from where that folder really is, not
        // back to where the path as written came from.
        {"relative link in a linked folder", [&] {
             ASSERT_TRUE(QDir(prefs).removeRecursively() && QDir().mkpath(dir.filePath("elsewhere/config")));
             ASSERT_TRUE(QFile::link("elsewhere/config", prefs));
             writeRaw(dir.filePath("target"), "unrelated");
             link("../target");
         }, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QFile::remove(settingsPath());
        QFile::remove(target);
        row.prepare();
        const std::string pathBefore = kindAt(settingsPath()), targetBefore = kindAt(target);
        EXPECT_EQ(writeSettingsFile("False\nRoman\nHard\n"), row.written);
        EXPECT_EQ(kindAt(settingsPath()), pathBefore);
        if (row.written)
            EXPECT_EQ(contentOf(target), "False\nRoman\nHard\n");
        else
            EXPECT_EQ(kindAt(target), targetBefore);
        EXPECT_EQ(prefsEntries(), QStringList{"sumwise.txt"}); // no temporary file left
    }
    EXPECT_EQ(kindAt(dir.filePath("gone")), std::string("missing"));
    EXPECT_EQ(contentOf(dir.filePath("target")), "unrelated");
}

TEST_F(SettingsFileTest, FailedWriteLeavesTheOldFileWhole)
{
    writeRaw(settingsPath(), "False\nRoman\nMedium\n");
    fw::testing::failNextCommit();
    EXPECT_FALSE(writeSettingsFile("True\nAdd\nEasy\n"));
    EXPECT_EQ(contentOf(settingsPath()), "False\nRoman\nMedium\n");
    EXPECT_EQ(prefsEntries(), QStringList{"sumwise.txt"}); // no temporary file left

    // The failure was for one write only.
    EXPECT_TRUE(writeSettingsFile("True\nAdd\nEasy\n"));
    EXPECT_EQ(contentOf(settingsPath()), "True\nAdd\nEasy\n");

    // A first write that fails leaves no file at all.
    ASSERT_TRUE(QFile::remove(settingsPath()));
    fw::testing::failNextCommit();
    EXPECT_FALSE(writeSettingsFile("True\nAdd\nEasy\n"));
    EXPECT_EQ(prefsEntries(), QStringList());
}

} // namespace
