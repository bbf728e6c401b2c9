#include "drill/settings_format.h"

#include "fw/text.h"

#include <QStringList>

namespace drill {

namespace {

// In the order the buttons are tested.
const QStringList& operationNames()
{
    static const QStringList names = {
        QStringLiteral("Add"),    QStringLiteral("Subtract"), QStringLiteral("Multiply"),
        QStringLiteral("Divide"), QStringLiteral("Algebra"),  QStringLiteral("Roman"),
    };
    return names;
}

const QStringList& levelNames()
{
    static const QStringList names = {
        QStringLiteral("Easy"), QStringLiteral("Medium"), QStringLiteral("Hard"),
    };
    return names;
}

// The canonical name of the first of names that text equals; "" for none.
QString matchName(const QString& text, const QStringList& names)
{
    for (const QString& name : names) {
        if (fw::TextEquals(text, name))
            return name;
    }
    return QString();
}

// The first count lines of content; fewer when the content ends first. When
// content is only the start of the file, a line that runs to its end may go on
// past it, so rather than read a piece of it as a value it counts as missing.
// Only first lines thousands of bytes long, which we never write, come near that.
QList<QByteArray> firstLines(QByteArrayView content, int count, bool cutShort)
{
    QList<QByteArray> lines;
    qsizetype at = 0;
    while (lines.size() < count && at < content.size()) {
        qsizetype end = at;
        while (end < content.size() && content[end] != '\n' && content[end] != '\r')
            ++end;
        if (end == content.size() && cutShort)
            break;
        lines.append(content.sliced(at, end - at).toByteArray());
        if (end < content.size() && content[end] == '\r' && end + 1 < content.size()
            && content[end + 1] == '\n')
            ++end;
        at = end + 1;
    }
    return lines;
}

} // namespace

SavedSettings parseSettings(const QByteArray& content)
{
    QByteArrayView view(content);
    const bool cutShort = view.size() > kSettingsPrefixLength;
    if (cutShort)
        view = view.first(kSettingsPrefixLength);
    if (view.startsWith("\xEF\xBB\xBF"))
        view = view.sliced(3);

    const QList<QByteArray> lines = firstLines(view, 3, cutShort);
    // Every value is ASCII, and TextEquals folds ASCII letters only, so reading
    // the bytes as Latin-1 matches exactly what UTF-8 would, without the decoder
    // dropping a byte-order mark in the middle of the file.
    const auto line = [&](int index) {
        return index < lines.size() ? QString::fromLatin1(lines.at(index)) : QString();
    };

    SavedSettings settings;
    settings.soundOn = fw::TextEquals(line(0), QStringLiteral("True"));
    settings.operation = matchName(line(1), operationNames());
    settings.level = matchName(line(2), levelNames());
    return settings;
}

QByteArray formatSettings(bool soundOn, const QString& operation, const QString& level)
{
    QByteArray out = soundOn ? QByteArrayLiteral("True\n") : QByteArrayLiteral("False\n");
    // Only a button's name is written, so no stray text can shift the lines.
    const QString operationName = matchName(operation, operationNames());
    if (!operationName.isEmpty())
        out += operationName.toUtf8() + '\n';
    const QString levelName = matchName(level, levelNames());
    if (!levelName.isEmpty())
        out += levelName.toUtf8() + '\n';
    return out;
}

QByteArray defaultSettings()
{
    return QByteArrayLiteral("True\nAdd\nEasy\n");
}

} // namespace drill
