#pragma once

// The two derived listings, built from the stored words alone. Lines end in
// "\r\n", the last one included.

#include <array>
#include <string>

namespace bitwell {

// Slots 0 to 15 hold the words at addresses 0 to 15 as four upper-case hex
// digits; slots 16 to 31 are never used and stay empty.
using WordStore = std::array<std::string, 32>;

// Eight lines "00: FFFF FFFF" … "0E: FFFF FFFF", 120 characters in all.
// Reads words 0 to 15; each must hold four characters (never checked).
std::string ContentsListing(const WordStore& words);
// The same into `out`, replacing what it held (and reusing its storage).
void ContentsListing(const WordStore& words, std::string& out);

// The 32 bits at `address` (0 to 15) and the next word read as bytes,
// shorts, integers and a float. `addressText` is quoted on the first line.
// At address 15 only the word there is shown and the 32-bit lines say "N/A".
std::string TypesListing(const WordStore& words, int address, const std::string& addressText,
                         bool bigEndian);
// The same into `out`, replacing what it held (and reusing its storage).
void TypesListing(const WordStore& words, int address, const std::string& addressText,
                  bool bigEndian, std::string& out);

// The seven value lines of the data type listing, k from 0 to 6: byte
// unsigned and signed, short unsigned and signed, integer unsigned and
// signed, float. TypesLabel is line k's label in the current language,
// without its colon ("Byte (unsigned)"); TypesValue is what line k of
// `listing` shows after its label, for a listing built in the current
// language, or "" when it has no such line. k is never checked.
std::string TypesLabel(int k);
std::string_view TypesValue(std::string_view listing, int k);

// The single-precision float in the general form with at most 7 significant
// digits, independent of the C locale: "3.141593", "1", "-2", "1E+10",
// "2.161983E-29". Exponents carry a sign and at least two digits. Special
// values keep their sign bit: "-0", "NaN", "-NaN", "Infinity", "-Infinity".
std::string FormatFloat(float value);

// The same text through the C library, for toolchains that lack
// floating-point to_chars. Needs the "C" numeric locale.
std::string FormatFloatPortable(float value);

}  // namespace bitwell
