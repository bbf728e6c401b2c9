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
    const QFileInfo info(path);
    if (info.isDir())
        return false;
    if (!QDir().mkpath(info.absolutePath()))
        return false;
    QSaveFile file(path);
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
