#pragma once

#include <QString>

namespace drill {

// Rows of the numeral table: the heading row 0, then one row for each n from 1
// to 1000, whose cell 0 holds n in decimal digits and cell 1 its Roman numeral.
inline constexpr int kConversionRowCount = 1001;

// The numeral table as the hidden list's initial value: rows separated by a
// single CR, cells by a single TAB, no CR after the last row, no LF anywhere.
// The text is part of the program's data, fixed when it is compiled; this only
// hands it out.
QString conversionInitialValue();

} // namespace drill
