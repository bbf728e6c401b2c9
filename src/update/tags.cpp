#include "update/tags.h"

#include "fw/text.h"

#include <limits>

namespace update {

QString startTag(const QString& tag)
{
    return QStringLiteral("<") + tag + QStringLiteral(">");
}

QString endTag(const QString& tag)
{
    return QStringLiteral("</") + tag + QStringLiteral(">");
}

QString returnValue(const QString& text, const QString& tag)
{
    const QString start = startTag(tag);
    const qint64 p = fw::InStr(text, start);
    // Past the position range there is nothing to find anyway; the check only
    // keeps the sum from wrapping.
    const qint64 s = p + fw::Len(start);
    if (s > std::numeric_limits<int>::max())
        return QString();
    const int e = fw::InStr(int(s), text, endTag(tag));
    // A missing end tag makes e 0 and the length negative, which Mid answers with "".
    return fw::Mid(text, int(s), int(e - s));
}

QString cutForDisplay(const QString& text)
{
    if (text.size() <= kMaxShownLength)
        return text;
    qsizetype length = kMaxShownLength;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

} // namespace update
