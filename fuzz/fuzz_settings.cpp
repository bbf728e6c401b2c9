// Whatever a settings file holds (edited by hand, cut short, another program's
// file under the same name) reads as a sound switch and at most one known
// operation and level, and what is written back reads the same.

#include "fuzz_check.h"

#include "drill/settings_format.h"

#include <QStringList>

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const QStringList operations = {QStringLiteral("Add"),    QStringLiteral("Subtract"),
                                           QStringLiteral("Multiply"), QStringLiteral("Divide"),
                                           QStringLiteral("Algebra"), QStringLiteral("Roman")};
    static const QStringList levels = {QStringLiteral("Easy"), QStringLiteral("Medium"), QStringLiteral("Hard")};

    const QByteArray content(reinterpret_cast<const char*>(data), qsizetype(size));
    const drill::SavedSettings read = drill::parseSettings(content);
    fuzzCheck(read.operation.isEmpty() || operations.contains(read.operation), "an operation is a button's name");
    fuzzCheck(read.level.isEmpty() || levels.contains(read.level), "a level is a button's name");

    // A missing operation line lets the level move up a line; the window always
    // has an operation to write, so only that case is left out.
    if (read.operation.isEmpty() && !read.level.isEmpty())
        return 0;
    const QByteArray written = drill::formatSettings(read.soundOn, read.operation, read.level);
    const drill::SavedSettings again = drill::parseSettings(written);
    fuzzCheck(again.soundOn == read.soundOn && again.operation == read.operation && again.level == read.level,
              "what is written reads back the same");
    return 0;
}
