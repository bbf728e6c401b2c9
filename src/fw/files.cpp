#include "fw/files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <utility>

namespace fw {

namespace {
QString g_preferencesOverride;
bool g_failNextCommit = false;

// What a write to path replaces: path itself, or the end of its chain of
// symbolic links, so that a link is written through and stays a link. Empty
// when the chain never ends (a loop).
QString writeTarget(const QString& path)
{
    QFileInfo info(path);
    for (int hops = 0; info.isSymLink(); ++hops) {
        if (hops == 40) // the kernel's own bound
            return {};
        info.setFile(info.symLinkTarget());
    }
    return info.filePath();
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
