#pragma once
// The numeric and text conversions of the original runtime: CInt and CLng
// round halves to even and raise Overflow (6); Int is the floor; Val reads the
// leading number of a text; Hex and Str write numbers.

#include <QString>

#include <cstdint>

namespace rt {

class Variant;

int16_t CInt(double value);
int32_t CLng(double value);
int16_t CInt(const Variant& value);
int32_t CLng(const Variant& value);
double CDbl(const Variant& value);
bool CBool(const Variant& value);
QString CStr(const Variant& value);

// Round half to even, with no range check.
double roundHalfEven(double value);
double Int(double value);   // floor
double Fix(double value);   // toward zero

// The leading number of a text: blanks anywhere are skipped, "&H" and "&O"
// prefixes read hexadecimal and octal; no number gives 0.
double Val(const QString& text);

// Upper-case hexadecimal; negative Longs as eight digits of two's complement.
QString Hex(int32_t value);
QString Hex(int16_t value);   // negative Integers as four digits

// Decimal text of a number; non-negative numbers get a leading blank.
QString Str(double value);
// Decimal text without the blank, as CStr writes numbers.
QString numberText(double value);

// Parses a number as CDbl would from a text ("12.5", " -3 ", "&HFF", "1E3");
// false when the text is not a number.
bool parseNumber(const QString& text, double& out);

}  // namespace rt
