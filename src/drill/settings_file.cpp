#include "drill/settings_file.h"

#include "fw/files.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Sounds on, Add, Easy: the three lines a first run writes.
const QByteArray defaultContent = QByteArrayLiteral("True\nAdd\nEasy\n");

// Three short lines fit many times over; anything longer is not ours.
constexpr qsizetype maxSettingsBytes = 4096;

} // namespace

QString settingsFilePath()
{
    const QString folder = fw::PreferencesFolder();
    if (folder.isEmpty())
        return {};
    return QDir(folder).filePath(QStringLiteral("sumwise.txt"));
}

QByteArray readSettingsFileCreatingDefaults()
{
    const QString path = settingsFilePath();
    if (path.isEmpty())
        return defaultContent;
    // One attempt: a folder that takes no file must not keep us here.
    if (!QFileInfo::exists(path))
        fw::writeTextFileAtomically(path, defaultContent);

    std::optional<QByteArray> content = fw::readTextFilePrefix(path, maxSettingsBytes + 1);
    if (!content)
        return defaultContent;
    if (content->size() > maxSettingsBytes) {
        // A line cut at the bound could read as a value it is not ("Easy" out
        // of "Easygoing..."): keep only whole lines.
        content->truncate(maxSettingsBytes);
        content->truncate(content->lastIndexOf('\n') + 1);
    }
    return *content;
}

bool writeSettingsFile(const QByteArray& content)
{
    const QString path = settingsFilePath();
    return !path.isEmpty() && fw::writeTextFileAtomically(path, content);
}
