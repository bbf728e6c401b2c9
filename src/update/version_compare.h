#pragma once

#include <QString>

namespace update {

// Whether the published version newVersion ("3.3.0") is the running one. The
// first three fields, cut at ".", are read as numbers and compared in turn; a
// missing field reads as 0 and fields after the third are ignored. Only equality
// counts: an older published version differs just as a newer one does.
bool versionsAgree(const QString& newVersion, qint32 major, qint32 minor, qint32 bug);

// Whether the value of the update file's Free element offers a free upgrade.
bool isFreeUpgrade(const QString& freeValue);

} // namespace update
