#pragma once

// What Bitwell says, in the language the student reads. Every text a student
// reads is written in English in the core and looked up here by its context
// (the control's objectName, or a named context such as "timing") and its
// English text. The translations come from the gettext catalogues in po/,
// compiled by msgfmt and built into the program; both front ends ask the
// same lookup, so they say the same thing in each language.
//
// Tr and TrN also mark their texts for extraction: po/bitwell.pot is made by
// xgettext from calls written as Tr("context", "text") and
// TrN("context", "singular", "plural", n) with literal strings. A text built
// at run time is not found by extraction and is never translated.
//
// Not thread-safe: the chosen language is one per program, set and read on
// the user-interface thread.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace bitwell {

// The languages the catalogue has, English first: "en", "de", "fr", "es",
// "pt_BR". Each one's name in its own language ("&English", "&Deutsch", …),
// never translated.
const std::vector<std::string>& Languages();
std::string_view LanguageName(std::string_view code);

// The first of `preferred` (system or browser tags such as "de-AT", "pt",
// "fr_CA.UTF-8", "en-US") that we have, matched on the language subtag
// ("pt" of any region gives "pt_BR"); "en" when none matches.
std::string PickLanguage(const std::vector<std::string>& preferred);

// Chooses the language every later lookup answers in. False, and nothing
// changes, for a code that Languages() lacks (exact match, e.g. "pt_BR").
bool SetLanguage(std::string_view code);
const std::string& CurrentLanguage();

// The text of `msgid` in `context` in the current language; msgid itself in
// English and wherever the catalogue has no translation. Never fails.
std::string Tr(const char* context, const char* msgid);
// The form of a text with a count: `singular` or `plural` in English, the
// language's own plural rule otherwise. The count is not inserted: use Arg.
std::string TrN(const char* context, const char* singular, const char* plural,
                unsigned long n);
// The same lookups for a context and text held at run time (Qt's translator
// asks this way). Empty when the catalogue of the current language has no
// entry, so that the caller can fall back to its own text.
std::string Lookup(std::string_view context, std::string_view msgid);

// Replaces %1 … %9 in `text` by the arguments, in one pass, as Qt's
// QString::arg does for numbered places: "%1 of %2" with {"3", "4"} gives
// "3 of 4". A place with no argument stays as it is; an argument is never
// searched for places itself.
std::string Arg(std::string_view text, std::initializer_list<std::string_view> args);

}  // namespace bitwell
