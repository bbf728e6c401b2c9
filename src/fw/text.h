#pragma once

#include <QString>

// The text functions the program relies on. Positions count characters from 1.
// Text equality and searching ignore ASCII letter case, and that one rule serves
// every comparison the program makes: a Roman answer typed as "xii" is right,
// "true" switches the sounds on. Digits and blanks still compare exactly.
namespace fw {

// Decimal text of a whole number: bare digits, "-" before a negative one.
QString Str(qint32 value);
// Text of a real: a whole value is written as the integer would be ("7", not
// "7.0"); any other value with up to 15 significant digits and no exponent
// where the magnitude allows.
QString Str(double value);

// Number of characters.
int Len(const QString& text);

// Position of the first occurrence of find in source (ASCII letter case
// ignored), 0 when there is none or find is empty. The form with start looks
// only at occurrences that begin at or after start (a start below 1 counts as 1).
int InStr(const QString& source, const QString& find);
int InStr(int start, const QString& source, const QString& find);

// The characters that begin at start, at most length of them. A start below 1
// counts as 1; a start past the end, or a length of 0 or below, gives "".
QString Mid(const QString& text, int start, int length);
// Everything from start to the end.
QString Mid(const QString& text, int start);

// The k-th piece (from 1) of text cut at separator; "" when there are fewer
// than k pieces, k < 1, or the separator is empty and k > 1.
QString NthField(const QString& text, const QString& separator, int k);

// The number written in decimal digits at the start of text: the digits from
// the first character up to the first other character ("12abc" and "1.5" read
// 12 and 1). 0 when the text does not begin with a digit: no blank, sign or
// point may come first. Never overflows: a huge digit run gives a huge double.
double Val(const QString& text);

// Equality of texts, ignoring ASCII letter case only.
bool TextEquals(const QString& a, const QString& b);

// The platform's line end, as a multi-line label or a text file uses it.
QString EndOfLine();

} // namespace fw
