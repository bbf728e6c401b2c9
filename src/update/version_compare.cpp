#include "update/version_compare.h"

#include "fw/text.h"

namespace update {

bool versionsAgree(const QString& newVersion, qint32 major, qint32 minor, qint32 bug)
{
    const qint32 running[] = {major, minor, bug};
    for (int k = 1; k <= 3; ++k) {
        const double field = fw::Val(fw::NthField(newVersion, QStringLiteral("."), k));
        if (field != double(running[k - 1]))
            return false;
    }
    return true;
}

bool isFreeUpgrade(const QString& freeValue)
{
    return fw::TextEquals(freeValue, QStringLiteral("Yes"));
}

} // namespace update
