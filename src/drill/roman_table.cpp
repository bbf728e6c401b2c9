#include "drill/roman_table.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace drill {

namespace {

// The compiler writes the table once; the program carries the finished text and
// has no numeral converter of its own at run time.

struct RomanSymbol {
    int value;
    std::u16string_view letters;
};

// Greedy from the largest value down; only these six pairs are subtractive.
constexpr RomanSymbol kSymbols[] = {
    {1000, u"M"}, {900, u"CM"}, {500, u"D"}, {400, u"CD"}, {100, u"C"},
    {90, u"XC"},  {50, u"L"},   {40, u"XL"}, {10, u"X"},   {9, u"IX"},
    {5, u"V"},    {4, u"IV"},   {1, u"I"},
};

constexpr std::u16string_view kHeadingRow = u"Decimal\tRoman";
constexpr int kLastNumber = kConversionRowCount - 1;
constexpr char16_t kRowSeparator = u'\r';
constexpr char16_t kCellSeparator = u'\t';

consteval std::size_t decimalLength(int n)
{
    std::size_t length = 1;
    for (; n >= 10; n /= 10)
        ++length;
    return length;
}

consteval std::size_t numeralLength(int n)
{
    std::size_t length = 0;
    for (const RomanSymbol& symbol : kSymbols) {
        for (; n >= symbol.value; n -= symbol.value)
            length += symbol.letters.size();
    }
    return length;
}

consteval std::size_t tableLength()
{
    std::size_t length = kHeadingRow.size();
    for (int n = 1; n <= kLastNumber; ++n)
        length += 1 + decimalLength(n) + 1 + numeralLength(n);
    return length;
}

using TableText = std::array<char16_t, tableLength()>;

consteval TableText buildTable()
{
    TableText table{};
    std::size_t at = 0;
    for (char16_t c : kHeadingRow)
        table[at++] = c;
    for (int n = 1; n <= kLastNumber; ++n) {
        table[at++] = kRowSeparator;
        const std::size_t digits = decimalLength(n);
        int rest = n;
        for (std::size_t i = digits; i > 0; --i) {
            table[at + i - 1] = char16_t(u'0' + rest % 10);
            rest /= 10;
        }
        at += digits;
        table[at++] = kCellSeparator;
        rest = n;
        for (const RomanSymbol& symbol : kSymbols) {
            for (; rest >= symbol.value; rest -= symbol.value) {
                for (char16_t c : symbol.letters)
                    table[at++] = c;
            }
        }
    }
    return table;
}

constexpr TableText kTable = buildTable();

consteval std::size_t countOf(char16_t wanted)
{
    std::size_t count = 0;
    for (char16_t c : kTable)
        count += c == wanted ? 1 : 0;
    return count;
}

static_assert(countOf(kRowSeparator) == kConversionRowCount - 1, "one CR between rows");
static_assert(countOf(kCellSeparator) == kConversionRowCount, "one TAB in every row");
static_assert(countOf(u'\n') == 0, "no LF in the table");
static_assert(kTable.back() == u'M', "the last row is 1000, M, with no CR after it");

} // namespace

QString conversionInitialValue()
{
    // The static text stays alive for the whole run, so the string need not copy it.
    return QString::fromRawData(reinterpret_cast<const QChar*>(kTable.data()), qsizetype(kTable.size()));
}

} // namespace drill
