#pragma once

// Text conversions between hexadecimal digits, binary digit strings and
// integers. Every text is a std::string of single-byte characters; only the
// sixteen upper-case digits "0"-"9", "A"-"F" and their four-character binary
// patterns are recognised, compared by character code with no case folding.
// None of these functions reports malformed text: see each contract.

#include <cstdint>
#include <string>

namespace bitwell {

// Value of a digit of the table, or -1 for any other character.
int DigitValue(char c);

// Turns a binary digit string into hexadecimal text, one digit per group of
// four. The argument is padded in place with leading "0"s to a multiple of
// four characters. A group that is not a binary pattern is copied unchanged,
// so "0012" gives "0012". The empty text gives the empty text.
std::string BinToHex(std::string& bin);

// Turns hexadecimal text into a binary digit string, four characters per
// digit. A character that is not a digit is copied unchanged ("1G" gives
// "0001G"). Nothing is padded or cut.
std::string HexToBin(const std::string& hex);

// Value of hexadecimal text, first character most significant, formed in
// signed 16-bit arithmetic: exact for up to four digits up to "7FFF". Past
// that range the result wraps modulo 2^16; a character that is not a digit
// counts as 0. The empty text gives 0.
std::int16_t HexToInt(const std::string& hex);

// True when text is a non-empty run of upper-case hexadecimal digits.
bool IsValidHex(const std::string& text);

// Smallest integer not below x. NaN gives 0; values beyond the 32-bit range
// are clamped to it.
std::int32_t CeilToInt32(double x);

// b to the power e, computed in double precision and rounded to the nearest
// integer; results beyond 16 bits wrap modulo 2^16. Exact for 16^0 to 16^3.
std::int16_t PowToInt16(std::int16_t b, std::int16_t e);

}  // namespace bitwell
