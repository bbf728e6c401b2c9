#include "update/update_file.h"

#include "fw/text.h"
#include "update/tags.h"

#include <algorithm>

namespace update {

bool isUpdateFile(const QString& page)
{
    const QString tag = QStringLiteral("CurrentVersion");
    // Without its start tag the tag search still yields a value, cut from
    // wherever the position rule lands; that is no version.
    if (fw::InStr(page, startTag(tag)) == 0)
        return false;
    const QString version = returnValue(page, tag);
    return std::any_of(version.cbegin(), version.cend(), [](QChar c) { return !c.isSpace(); });
}

int notAnUpdateFileCode(int httpStatus)
{
    // 1xx replies are never final and 0 means no status line came at all:
    // neither names what went wrong, so they get our own code.
    if (httpStatus >= 201 && httpStatus <= 599)
        return httpStatus;
    return kNotAnUpdateFile;
}

} // namespace update
