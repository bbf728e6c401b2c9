// The update file as any server may send it: the values cut out by tag, the
// description shown to the user, the published version set beside the running
// one, and the text functions all of these stand on.

#include "fuzz_check.h"

#include "fw/text.h"
#include "update/tags.h"
#include "update/version_compare.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <limits>

#include <cstdint>
#include <string>

namespace {

QString fromUtf8(const std::string& bytes)
{
    return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
}

void checkTags(const QString& text, const QString& fuzzedTag)
{
    for (const QString& tag : {fuzzedTag, QStringLiteral("CurrentVersion"), QStringLiteral("Description"),
                               QStringLiteral("Free")}) {
        const QString value = update::returnValue(text, tag);
        fuzzCheck(value.size() <= text.size() && text.contains(value), "a value is cut from the text");
        (void)update::isFreeUpgrade(value);
    }

    const QString description = update::cutForDisplay(text);
    fuzzCheck(description.size() <= update::kMaxShownLength && text.startsWith(description),
              "the description is a bounded prefix");
    if (description.size() < text.size())
        fuzzCheck(description.size() >= update::kMaxShownLength - 1, "the description is cut only at its bound");
    if (!description.isEmpty() && description.size() < text.size())
        fuzzCheck(!(description.back().isHighSurrogate() && text.at(description.size()).isLowSurrogate()),
                  "the description never ends inside a surrogate pair");
}

void checkVersions(const QString& text, qint32 major, qint32 minor, qint32 bug)
{
    (void)update::versionsAgree(text, major, minor, bug);
    // The running version's numbers are never negative, and a field is read
    // from its digits alone, so a written "-1" could not agree with -1.
    major &= std::numeric_limits<qint32>::max();
    minor &= std::numeric_limits<qint32>::max();
    bug &= std::numeric_limits<qint32>::max();
    const QString written = fw::Str(major) + u'.' + fw::Str(minor) + u'.' + fw::Str(bug);
    fuzzCheck(update::versionsAgree(written, major, minor, bug), "a version agrees with itself");
    fuzzCheck(update::versionsAgree(written + u'.' + text, major, minor, bug), "a fourth field is ignored");
}

void checkText(const QString& text, const QString& find, int start, int length, int k)
{
    const QString mid = fw::Mid(text, start, length);
    fuzzCheck(mid.size() <= qMax(length, 0) && text.contains(mid), "Mid cuts from the text");
    const int at = fw::InStr(start, text, find);
    fuzzCheck(at >= 0 && at <= text.size(), "InStr is a position in the text or 0");
    if (at > 0)
        fuzzCheck(fw::TextEquals(fw::Mid(text, at, fw::Len(find)), find), "InStr finds what it was asked for");
    const QString field = fw::NthField(text, find, k);
    fuzzCheck(field.size() <= text.size(), "a field is no longer than the text");
    (void)fw::Val(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const qint32 major = input.ConsumeIntegral<qint32>();
    const qint32 minor = input.ConsumeIntegral<qint32>();
    const qint32 bug = input.ConsumeIntegral<qint32>();
    const QString tag = fromUtf8(input.ConsumeRandomLengthString(64));
    const QString text = fromUtf8(input.ConsumeRemainingBytesAsString());

    checkTags(text, tag);
    checkVersions(text, major, minor, bug);
    checkText(text, tag, major, minor, bug);
    return 0;
}
