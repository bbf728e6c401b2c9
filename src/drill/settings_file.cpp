#include "drill/settings_file.h"

#include "drill/settings_format.h"
#include "fw/files.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

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
        return drill::defaultSettings();
    // One attempt: a folder that takes no file must not keep us here.
    if (!QFileInfo::exists(path))
        fw::writeTextFileAtomically(path, drill::defaultSettings());

    std::optional<QByteArray> content = fw::readTextFilePrefix(path, maxSettingsBytes + 1);
    if (!content)
        return drill::defaultSettings();
    if (content->size() > maxSettingsBytes) {
        // A line cut at the bound could read as a value it is not ("Easy" out
        // of "Easygoing..."): keep only whole lines, whichever line end the
        // file uses (a CR-only file must not lose its three lines).
        content->truncate(maxSettingsBytes);
        content->truncate(std::max(content->lastIndexOf('\n'), content->lastIndexOf('\r')) + 1);
    }
    return *content;
}

bool writeSettingsFile(const QByteArray& content)
{
    const QString path = settingsFilePath();
    return !path.isEmpty() && fw::writeTextFileAtomically(path, content);
}
