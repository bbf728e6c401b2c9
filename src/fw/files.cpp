#include "fw/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <climits>
#include <cstdlib>
#include <utility>

#include <sys/stat.h>
#include <unistd.h>

namespace fw {

namespace {
QString g_preferencesOverride;
bool g_failNextCommit = false;

// The folder part of path as written, "." when it has none.
QByteArray folderOf(const QByteArray& path)
{
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// name placed in the real path of folder, every link in it resolved as the
// system resolves it; empty when that folder is not there.
QByteArray inRealFolder(const QByteArray& folder, const QByteArray& name)
{
    char resolved[PATH_MAX];
    if (!::realpath(folder.constData(), resolved))
        return {};
    const QByteArray real(resolved);
    return real.endsWith('/') ? real + name : real + '/' + name;
}

// What a write to path replaces: path itself, or the end of its chain of
// symbolic links, so that a link is written through and stays a link. Each
// link is followed as the system follows it: a relative target starts from
// the real folder of the link, since ".." taken off the path as written leads
// elsewhere when that folder is itself reached through a link. The answer
// lies in a real folder, so that renaming over it replaces what the system
// reads. Empty when the chain never ends (a loop) or leads into a folder that
// is not there.
QString writeTarget(const QString& path)
{
    QByteArray current = QFile::encodeName(path);
    for (int hops = 0;; ++hops) {
        struct stat st{};
        if (::lstat(current.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            break;
        if (hops == 40) // the kernel's own bound
            return {};
        QByteArray target(st.st_size > 0 ? st.st_size + 1 : PATH_MAX, Qt::Uninitialized);
        const ssize_t length = ::readlink(current.constData(), target.data(), size_t(target.size()));
        if (length <= 0 || length == target.size()) // gone meanwhile, or grown
            return {};
        target.truncate(length);
        current = target.startsWith('/') ? target : inRealFolder(folderOf(current), target);
        if (current.isEmpty())
            return {};
    }
    const QByteArray name = current.mid(current.lastIndexOf('/') + 1);
    if (name.isEmpty() || name == "." || name == "..") // a folder, never a file
        return {};
    return QFile::decodeName(inRealFolder(folderOf(current), name));
}
} // namespace

QString PreferencesFolder()
{
    if (!g_preferencesOverride.isEmpty())
        return g_preferencesOverride;
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

std::optional<QByteArray> readTextFilePrefix(const QString& path, qsizetype maxBytes)
{
    // Only regular files: opening a pipe or a device could block or never end.
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    if (maxBytes <= 0)
        return QByteArray();
    QByteArray bytes = file.read(maxBytes);
    if (bytes.isEmpty() && file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

bool writeTextFileAtomically(const QString& path, const QByteArray& content)
{
    const bool failCommit = std::exchange(g_failNextCommit, false);
    if (path.isEmpty())
        return false;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QString target = writeTarget(path);
    // Only a regular file is ever replaced. Renaming over a device, a pipe or
    // a socket would put a file in its place: a settings file linked to
    // /dev/null, a usual way to keep a program from saving, would take the
    // system's null device with it when run as root.
    const QFileInfo info(target);
    if (target.isEmpty() || (info.exists() && !info.isFile()))
        return false;
    // A missing target is created where the link leads, but only in a folder
    // that is there: one under an unmounted disk is left alone.
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size() || failCommit) {
        file.cancelWriting();
        file.commit(); // removes the temporary file; the old one stays
        return false;
    }
    return file.commit();
}

namespace testing {
void setPreferencesFolder(const QString& folder) { g_preferencesOverride = folder; }
void failNextCommit() { g_failNextCommit = true; }
} // namespace testing

} // namespace fw
