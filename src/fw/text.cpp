#include "fw/text.h"

#include <cmath>
#include <limits>

namespace fw {

namespace {

char16_t asciiLower(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? char16_t(c + (u'a' - u'A')) : c;
}

// A copy with A-Z folded to a-z and nothing else touched: lengths and positions
// stay as they were, so a case-sensitive search in the copies is a search that
// ignores ASCII case in the originals.
QString asciiFolded(const QString& text)
{
    QString folded = text;
    for (QChar& c : folded)
        c = QChar(asciiLower(c.unicode()));
    return folded;
}

// Qt sizes are 64-bit; our positions are ints. Nothing the program handles comes
// near 2^31 characters, but a conversion must not wrap into a wrong position.
int clampToInt(qsizetype n)
{
    return n > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max() : int(n);
}

// Index (from 0) of find in source at or after from, in folded copies; -1 when absent.
qsizetype foldedIndexOf(const QString& foldedSource, const QString& foldedFind, qsizetype from)
{
    if (foldedFind.isEmpty() || from > foldedSource.size())
        return -1;
    return foldedSource.indexOf(foldedFind, from, Qt::CaseSensitive);
}

// Plain decimal text of a finite real that is not whole: 15 significant digits,
// trailing zeros dropped, no exponent unless the value is tiny.
QString plainReal(double value)
{
    // The 'e' form rounds to 15 significant digits once and tells the exponent.
    const QString sci = QString::number(value, 'e', 14);
    const qsizetype ePos = sci.indexOf(u'e');
    const int exponent = sci.mid(ePos + 1).toInt();
    if (exponent < -20)
        return QString::number(value, 'g', 15);

    QString digits;
    bool negative = false;
    for (qsizetype i = 0; i < ePos; ++i) {
        const QChar c = sci.at(i);
        if (c == u'-')
            negative = true;
        else if (c.isDigit())
            digits.append(c);
    }
    while (digits.size() > 1 && digits.endsWith(u'0'))
        digits.chop(1);

    QString out;
    if (exponent < 0) {
        out = QStringLiteral("0.") + QString(-exponent - 1, u'0') + digits;
    } else {
        const qsizetype intDigits = qsizetype(exponent) + 1;
        if (digits.size() <= intDigits) {
            out = digits + QString(intDigits - digits.size(), u'0');
        } else {
            out = digits.left(intDigits) + u'.' + digits.mid(intDigits);
        }
    }
    if (negative)
        out.prepend(u'-');
    return out;
}

} // namespace

QString Str(qint32 value)
{
    return QString::number(value);
}

QString Str(double value)
{
    if (std::isnan(value))
        return QStringLiteral("nan");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("inf") : QStringLiteral("-inf");
    // 2^63 is exactly representable; every whole double below it fits a qint64.
    constexpr double kInt64Limit = 9223372036854775808.0;
    if (std::trunc(value) == value) {
        if (std::fabs(value) < kInt64Limit)
            return QString::number(qint64(value));
        // No integer type writes these; 309 digits would help no one.
        return QString::number(value, 'g', 15);
    }
    return plainReal(value);
}

int Len(const QString& text)
{
    return clampToInt(text.size());
}

int InStr(const QString& source, const QString& find)
{
    return InStr(1, source, find);
}

int InStr(int start, const QString& source, const QString& find)
{
    if (find.isEmpty())
        return 0;
    const qsizetype from = start < 1 ? 0 : qsizetype(start) - 1;
    const qsizetype index = foldedIndexOf(asciiFolded(source), asciiFolded(find), from);
    return index < 0 ? 0 : clampToInt(index + 1);
}

QString Mid(const QString& text, int start, int length)
{
    if (length <= 0)
        return QString();
    const qsizetype from = start < 1 ? 0 : qsizetype(start) - 1;
    if (from >= text.size())
        return QString();
    return text.mid(from, length);
}

QString Mid(const QString& text, int start)
{
    const qsizetype from = start < 1 ? 0 : qsizetype(start) - 1;
    if (from >= text.size())
        return QString();
    return text.mid(from);
}

QString NthField(const QString& text, const QString& separator, int k)
{
    if (k < 1)
        return QString();
    if (separator.isEmpty())
        return k == 1 ? text : QString();

    const QString foldedText = asciiFolded(text);
    const QString foldedSep = asciiFolded(separator);
    qsizetype pieceStart = 0;
    for (int piece = 1; piece < k; ++piece) {
        const qsizetype next = foldedIndexOf(foldedText, foldedSep, pieceStart);
        if (next < 0)
            return QString();
        pieceStart = next + separator.size();
    }
    const qsizetype pieceEnd = foldedIndexOf(foldedText, foldedSep, pieceStart);
    return pieceEnd < 0 ? text.mid(pieceStart) : text.mid(pieceStart, pieceEnd - pieceStart);
}

double Val(const QString& text)
{
    // Only ASCII digits from the very first character: " 1" and "+1" are not
    // numbers here, so a version field written that way reads 0 and never
    // passes for the running version. Other Unicode digits do not count.
    double value = 0.0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        // A run of hundreds of digits grows to infinity rather than wrapping.
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

bool TextEquals(const QString& a, const QString& b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a.at(i).unicode()) != asciiLower(b.at(i).unicode()))
            return false;
    }
    return true;
}

QString EndOfLine()
{
    return QStringLiteral("\n");
}

} // namespace fw
