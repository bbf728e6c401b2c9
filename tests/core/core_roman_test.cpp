#include "drill/roman_table.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

// Digit by digit, unlike the greedy rule the table is built with.
QString referenceNumeral(int n)
{
    static const char* const thousands[] = {"", "M"};
    static const char* const hundreds[] = {"", "C", "CC", "CCC", "CD", "D", "DC", "DCC", "DCCC", "CM"};
    static const char* const tens[] = {"", "X", "XX", "XXX", "XL", "L", "LX", "LXX", "LXXX", "XC"};
    static const char* const ones[] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
    return QString::fromLatin1(thousands[n / 1000]) + QString::fromLatin1(hundreds[n / 100 % 10])
        + QString::fromLatin1(tens[n / 10 % 10]) + QString::fromLatin1(ones[n % 10]);
}

QList<QStringList> tableRows()
{
    QList<QStringList> rows;
    for (const QString& row : drill::conversionInitialValue().split(QLatin1Char('\r')))
        rows.append(row.split(QLatin1Char('\t')));
    return rows;
}

TEST(RomanTable, TextIsAsciiWithCrRowsAndNoLf)
{
    const QString text = drill::conversionInitialValue();
    EXPECT_FALSE(text.contains(QLatin1Char('\n')));
    EXPECT_FALSE(text.endsWith(QLatin1Char('\r')));
    EXPECT_FALSE(text.contains(QLatin1Char(' ')));
    for (QChar c : text)
        ASSERT_LT(c.unicode(), 0x80);
    EXPECT_EQ(text.count(QLatin1Char('\r')), 1000);
}

TEST(RomanTable, EveryRowMatchesAnIndependentConverter)
{
    const QList<QStringList> rows = tableRows();
    ASSERT_EQ(rows.size(), drill::kConversionRowCount);
    ASSERT_EQ(rows[0], (QStringList{"Decimal", "Roman"}));
    for (int n = 1; n <= 1000; ++n) {
        ASSERT_EQ(rows[n].size(), 2) << n;
        EXPECT_EQ(rows[n][0], QString::number(n));
        EXPECT_EQ(rows[n][1], referenceNumeral(n)) << n;
        EXPECT_FALSE(rows[n][1].contains(QStringLiteral("IIII"))) << n;
    }
}

TEST(RomanTable, KnownRowsAndLongestNumeral)
{
    struct Row {
        int n;
        const char* numeral;
    };
    const QList<QStringList> rows = tableRows();
    for (const Row& r : {Row{4, "IV"}, Row{9, "IX"}, Row{14, "XIV"}, Row{49, "XLIX"}, Row{444, "CDXLIV"},
                         Row{500, "D"}, Row{888, "DCCCLXXXVIII"}, Row{999, "CMXCIX"}, Row{1000, "M"}})
        EXPECT_EQ(rows[r.n][1], QString::fromLatin1(r.numeral)) << r.n;

    int longer = 0;
    for (int n = 1; n <= 1000; ++n) {
        if (rows[n][1].size() > 11) {
            ++longer;
            EXPECT_EQ(n, 888);
            EXPECT_EQ(rows[n][1].size(), 12);
        }
    }
    EXPECT_EQ(longer, 1);
}

} // namespace
