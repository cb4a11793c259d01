// The .bwx file's grammar: its lines, its keys, the givens and each goal
// kind's words, with every problem a teacher may have written, and the
// checks that need the whole file (goals that can never hold together).

#include <algorithm>
#include <limits>

#include "core/Catalogue.h"
#include "core/ExerciseKinds.h"
#include "core/Listings.h"

namespace bitwell {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Digit(int a) { return std::string(1, "0123456789ABCDEF"[a & 15]); }

int TypeLine(std::string_view label) {
    return static_cast<int>(std::find(kTypeLabels.begin(), kTypeLabels.end(), label) - kTypeLabels.begin());
}

std::uint16_t Word16(std::string_view text) {
    if (text.size() != 4) return 0;
    unsigned v = 0;
    for (const char d : text) v = v << 4 | static_cast<unsigned>(HexValue(d) & 0xF);
    return static_cast<std::uint16_t>(v);
}

std::string Quote(std::string_view s) {
    std::string out;
    bool ascii = true;
    std::size_t chars = 0, i = 0;
    for (; i < s.size() && chars < 40; ++chars) {
        std::size_t len = 1;
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) ascii = false;
        if (c >= 0xF0) len = 4;
        else if (c >= 0xE0) len = 3;
        else if (c >= 0xC0) len = 2;
        i += std::min(len, s.size() - i);
    }
    out.assign(s.substr(0, i));
    if (i < s.size()) out += "\u2026";
    if (!ascii) out = "\u2068" + out + "\u2069";
    // TRANSLATORS: a piece of the exercise file inside an error message, in this language's quotation marks.
    return Arg(Tr("exercise", "\"%1\""), {out});
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

// The number of code points of strict UTF-8 (no overlong forms, no
// surrogates, nothing past U+10FFFF), or -1.
long Utf8Length(std::string_view s) {
    long count = 0;
    for (std::size_t i = 0; i < s.size(); ++count) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t extra;
        std::uint32_t cp;
        if (c < 0x80) { ++i; continue; }
        if (c >= 0xC2 && c <= 0xDF) { extra = 1; cp = c & 0x1Fu; }
        else if (c >= 0xE0 && c <= 0xEF) { extra = 2; cp = c & 0x0Fu; }
        else if (c >= 0xF0 && c <= 0xF4) { extra = 3; cp = c & 0x07u; }
        else return -1;
        if (i + extra >= s.size()) return -1;
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) return -1;
            cp = cp << 6 | (t & 0x3Fu);
        }
        if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
            (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)))
            return -1;
        i += extra + 1;
    }
    return count;
}

// One edit apart: a letter added, dropped or replaced, or two neighbours swapped.
bool OneEdit(std::string_view a, std::string_view b) {
    if (a == b) return false;
    if (a.size() > b.size()) std::swap(a, b);
    if (b.size() - a.size() > 1) return false;
    std::size_t i = 0;
    while (i < a.size() && a[i] == b[i]) ++i;
    if (a.size() < b.size()) return a.substr(i) == b.substr(i + 1);
    if (a.substr(i + 1) == b.substr(i + 1)) return true;
    return i + 1 < a.size() && a[i] == b[i + 1] && a[i + 1] == b[i] && a.substr(i + 2) == b.substr(i + 2);
}

// The word valid here that `word` is one edit from, or "". Control names
// are compared in any case, as the file may write them.
std::string_view Near(std::string_view word, std::initializer_list<std::string_view> valid, bool controls) {
    for (const std::string_view v : valid)
        if (OneEdit(word, v)) return v;
    if (controls)
        for (const std::string_view v : kControlNames)
            if (OneEdit(Lower(word), Lower(v))) return v;
    return {};
}

// `message`, and the word meant when `word` is one edit from it.
std::string Suggest(std::string message, std::string_view word, std::initializer_list<std::string_view> valid,
                    bool controls = false) {
    const std::string_view near = Near(word, valid, controls);
    if (near.empty()) return message;
    return Arg(Tr("exercise", "%1; did you mean %2?"), {message, Quote(near)});
}

int ControlIndex(std::string_view word) {
    const std::string lower = Lower(word);
    for (std::size_t i = 0; i < kControlNames.size(); ++i)
        if (lower == Lower(kControlNames[i])) return static_cast<int>(i);
    return -1;
}

std::vector<std::string_view> Tokens(std::string_view s) {
    std::vector<std::string_view> out;
    std::size_t start = std::string_view::npos;
    auto flush = [&](std::size_t end) {
        if (start != std::string_view::npos && end > start) out.push_back(s.substr(start, end - start));
        start = std::string_view::npos;
    };
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (IsBlank(c)) {
            flush(i);
            ++i;
        } else if (c == '=') {
            flush(i);
            out.push_back(s.substr(i, 1));
            ++i;
        } else if ((c == '<' || c == '>') && i + 1 < s.size() && s[i + 1] == '=') {
            flush(i);
            out.push_back(s.substr(i, 2));
            i += 2;
        } else {
            if (start == std::string_view::npos) start = i;
            ++i;
        }
    }
    flush(s.size());
    return out;
}

// A given or goal line ends at a "#" that follows a blank.
std::string_view WithoutComment(std::string_view s) {
    for (std::size_t i = 1; i < s.size(); ++i)
        if (s[i] == '#' && IsBlank(s[i - 1])) return Trim(s.substr(0, i));
    return s;
}

// ---- The listing's labels ----

// Every label the listing has shown, in every language, by line; an empty
// place is no label.
constexpr std::array<std::array<std::string_view, 6>, 7> kListingLabels{{
    {"Byte (unsigned)", "Byte (ohne Vorzeichen)", "Byte ohne Vorzeichen", "Octet non sign\xC3\xA9", "Byte (sin signo)",
     "Byte (sem sinal)"},
    {"Byte (signed)", "Byte (mit Vorzeichen)", "Byte mit Vorzeichen", "Octet sign\xC3\xA9", "Byte (con signo)",
     "Byte (com sinal)"},
    {"Short (unsigned)", "Short (ohne Vorzeichen)", "Short ohne Vorzeichen", "Entier court non sign\xC3\xA9",
     "Entero corto (sin signo)", "Short (sem sinal)"},
    {"Short (signed)", "Short (mit Vorzeichen)", "Short mit Vorzeichen", "Entier court sign\xC3\xA9",
     "Entero corto (con signo)", "Short (com sinal)"},
    {"Integer (unsigned)", "Integer (ohne VZ)", "Int ohne Vorzeichen", "Entier non sign\xC3\xA9", "Entero (sin signo)",
     "Inteiro (sem sinal)"},
    {"Integer (signed)", "Integer (mit VZ)", "Int mit Vorzeichen", "Entier sign\xC3\xA9", "Entero (con signo)",
     "Inteiro (com sinal)"},
    {"Float", "Flottant", "Coma flotante", "Ponto flutuante", "", ""},
}};

// A label as compared: ASCII and Latin-1 letters À to Þ in lower case, a
// run of blanks (space, tab, no-break space) as one, no blank next to a
// parenthesis, and no trailing colon.
std::string FoldLabel(std::string_view s) {
    std::string out;
    bool blank = false;
    for (std::size_t i = 0; i < s.size(); ++i) {
        char c = s[i];
        if (IsBlank(c) || (c == '\xC2' && i + 1 < s.size() && s[i + 1] == '\xA0')) {
            if (c == '\xC2') ++i;
            blank = true;
            continue;
        }
        if (blank && !out.empty() && out.back() != '(' && out.back() != ')' && c != '(' && c != ')' && c != ':')
            out += ' ';
        blank = false;
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        out += c;
        if (c == '\xC3' && i + 1 < s.size()) {
            char next = s[++i];
            const auto n = static_cast<unsigned char>(next);
            if (n >= 0x80 && n <= 0x9E && n != 0x97) next = static_cast<char>(n + 0x20);
            out += next;
        }
    }
    if (!out.empty() && out.back() == ':') out.pop_back();
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

int MatchLabel(std::string_view label) {
    const std::string folded = FoldLabel(label);
    for (std::size_t k = 0; k < kListingLabels.size(); ++k)
        for (const std::string_view known : kListingLabels[k])
            if (!known.empty() && FoldLabel(known) == folded) return static_cast<int>(k);
    return -1;
}

// The float a text means: an optional sign, then digits with an optional
// point and exponent, or nan, inf or infinity in any case; false for
// anything else. Scaled through double, which reads every text the listing
// writes (at most 7 significant digits) back to its own float, and the
// same on both front ends (the page's C library has no small strtof).
bool ParseFloat(std::string_view t, float& value) {
    const bool negative = !t.empty() && t[0] == '-';
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) t.remove_prefix(1);
    const std::string word = Lower(t);
    double v = 0;
    if (word == "nan" || word == "inf" || word == "infinity") {
        v = word == "nan" ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
    } else {
        std::uint64_t mantissa = 0;
        int exponent = 0;
        bool point = false, digits = false;
        std::size_t i = 0;
        for (; i < t.size() && (t[i] == '.' ? !point : t[i] >= '0' && t[i] <= '9'); ++i) {
            if (t[i] == '.') {
                point = true;
            } else if (digits = true; mantissa < 100000000000000000ULL) {
                mantissa = mantissa * 10 + static_cast<unsigned>(t[i] - '0');
                exponent -= point ? 1 : 0;
            } else {
                exponent += point ? 0 : 1;
            }
        }
        if (!digits) return false;
        if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
            const bool down = i + 1 < t.size() && t[i + 1] == '-';
            i += i + 1 < t.size() && (t[i + 1] == '-' || t[i + 1] == '+') ? 2 : 1;
            if (i == t.size()) return false;
            int e = 0;
            for (; i < t.size() && t[i] >= '0' && t[i] <= '9'; ++i) e = std::min(e * 10 + (t[i] - '0'), 9999);
            exponent += down ? -e : e;
        }
        if (i != t.size()) return false;
        v = static_cast<double>(mantissa);
        for (; exponent > 0 && v < 1e300; --exponent) v *= 10;
        for (; exponent < 0 && v != 0; ++exponent) v /= 10;
        if (v > 3.5e38) v = std::numeric_limits<double>::infinity();
    }
    value = static_cast<float>(negative ? -v : v);
    return true;
}

// "" when line k of the listing can show `value`; otherwise why not.
std::string ValueProblem(int k, std::string_view value) {
    const std::string label = TypesLabel(k);
    if (value == "N/A") {
        if (k >= 4) return {};
    } else if (k == 6) {
        std::string text(value);
        const bool comma = text.find(',') != std::string::npos && text.find('.') == std::string::npos;
        if (comma) std::replace(text.begin(), text.end(), ',', '.');
        float f = 0;
        if (ParseFloat(text, f)) {
            const std::string shown = FormatFloat(f);
            if (shown == value) return {};
            if (comma)
                return Arg(Tr("exercise", "%1 never shows: %2 writes a point, as in %3"),
                           {Quote(value), label, Quote(shown)});
            return Arg(Tr("exercise", "%1 never shows: %2 shows this value as %3"),
                       {Quote(value), label, Quote(shown)});
        }
        return Arg(Tr("exercise", "%1 never shows: %2 shows a number, as in \"-2.5\""), {Quote(value), label});
    }
    static constexpr long long kRanges[6][2] = {{0, 255},   {-128, 127},          {0, 65535},
                                                {-32768, 32767}, {0, 4294967295LL}, {-2147483648LL, 2147483647LL}};
    const long long low = kRanges[k > 5 ? 0 : k][0], high = kRanges[k > 5 ? 0 : k][1];
    const std::string range = Arg(Tr("exercise", "%1 never shows: %2 shows %3 to %4"),
                                  {Quote(value), label, std::to_string(low), std::to_string(high)});
    if (k == 6 || value == "N/A") return range;
    std::string_view digits = value;
    const bool negative = !digits.empty() && digits[0] == '-';
    if (!digits.empty() && (digits[0] == '-' || digits[0] == '+')) digits.remove_prefix(1);
    long long n = 0;
    if (digits.empty() || digits.size() > 15) return range;
    for (const char c : digits) {
        if (c < '0' || c > '9') return range;
        n = n * 10 + (c - '0');
    }
    if (negative) n = -n;
    if (n < low || n > high) return range;
    if (std::to_string(n) == value) return {};
    return Arg(Tr("exercise", "%1 never shows: %2 shows this value as %3"),
               {Quote(value), label, Quote(std::to_string(n))});
}

}  // namespace

// ---- One goal line ----

// The words of one given or goal line, read one after another; the first
// fault is kept as the line's problem.
class GrammarLine {
public:
    GrammarLine(std::string_view rest, std::vector<std::string_view> tokens)
        : rest(rest), t(std::move(tokens)) {}

    std::string_view rest;              // the line after its first word, blanks trimmed
    std::vector<std::string_view> t;    // its words, t[0] the kind
    std::string fault;

    bool Fault(std::string message) {
        if (fault.empty()) fault = std::move(message);
        return false;
    }
    bool Need(std::size_t i, std::string_view what) {
        if (i < t.size()) return true;
        return Fault(Arg(Tr("exercise", "%1 is missing at the end"), {what}));
    }
    bool End(std::size_t n) {
        if (t.size() <= n) return true;
        return Fault(Arg(Tr("exercise", "unexpected %1"), {Quote(t[n])}));
    }
    bool Equals(std::size_t i) {
        if (!Need(i, "\"=\"")) return false;
        if (t[i] == "=" && i + 1 < t.size() && t[i + 1] == "=")
            return Fault(Tr("exercise", "use one \"=\" instead of \"==\""));
        if (t[i] == "=") return true;
        return Fault(Arg(Tr("exercise", "expected \"=\" instead of %1"), {Quote(t[i])}));
    }
    bool Range(std::size_t i, bool rangeAllowed, int& first, int& last) {
        if (!Need(i, Tr("exercise", "an address"))) return false;
        const std::string_view s = t[i];
        if (s.size() == 1 && HexValue(s[0]) >= 0) {
            first = last = HexValue(s[0]);
            return true;
        }
        if (rangeAllowed && s.size() == 3 && s[1] == '-' && HexValue(s[0]) >= 0 && HexValue(s[2]) >= 0) {
            first = HexValue(s[0]);
            last = HexValue(s[2]);
            if (first <= last) return true;
            return Fault(Arg(Tr("exercise", "the range %1 runs backwards"), {Quote(s)}));
        }
        return Fault(Arg(Tr("exercise", "bad hex address %1: an address is one hex digit, 0 to F"), {Quote(s)}));
    }
    bool Word(std::size_t i, int& value) {
        if (!Need(i, Tr("exercise", "a word"))) return false;
        const std::string_view s = t[i];
        value = 0;
        bool ok = s.size() == 4;
        for (std::size_t k = 0; ok && k < 4; ++k) {
            ok = HexValue(s[k]) >= 0;
            value = value << 4 | HexValue(s[k]);
        }
        if (ok) return true;
        return Fault(Arg(Tr("exercise", "bad hex word %1"), {Quote(s)}));
    }
    bool Pattern(std::size_t i, std::string& pattern) {
        if (!Need(i, Tr("exercise", "a pattern"))) return false;
        const std::string_view s = t[i];
        bool ok = s.size() == 4;
        pattern.clear();
        for (std::size_t k = 0; ok && k < 4; ++k) {
            ok = s[k] == '?' || HexValue(s[k]) >= 0;
            pattern += s[k] == '?' ? '?' : "0123456789ABCDEF"[HexValue(s[k]) & 0xF];
        }
        if (ok) return true;
        return Fault(Arg(Tr("exercise", "bad hex pattern %1"), {Quote(s)}));
    }
    bool Number(std::size_t i, unsigned long& n) {
        if (!Need(i, Tr("exercise", "a number"))) return false;
        const std::string_view s = t[i];
        n = 0;
        bool ok = !s.empty();
        for (std::size_t k = 0; ok && k < s.size(); ++k) {
            ok = s[k] >= '0' && s[k] <= '9';
            n = n * 10 + static_cast<unsigned long>(s[k] - '0');
            ok = ok && n <= 999999;
        }
        if (ok) return true;
        return Fault(Arg(Tr("exercise", "%1 is not a number from 0 to 999999"), {Quote(s)}));
    }
    bool Op(std::size_t i, Comparison& op) {
        if (!Need(i, "=|<=|>=")) return false;
        const std::string_view s = t[i];
        if (s == "=" && i + 1 < t.size() && t[i + 1] == "=")
            return Fault(Tr("exercise", "use one \"=\" instead of \"==\""));
        if (s == "=") op = Comparison::Equal;
        else if (s == "<=") op = Comparison::AtMost;
        else if (s == ">=") op = Comparison::AtLeast;
        else return Fault(Arg(Tr("exercise", "expected =, <= or >= instead of %1"), {Quote(s)}));
        return true;
    }
    bool Level(std::size_t i, int& level) {
        if (!Equals(i) || !Need(i + 1, "0|1")) return false;
        if (t[i + 1] != "0" && t[i + 1] != "1")
            return Fault(Arg(Tr("exercise", "expected 0 or 1 instead of %1"), {Quote(t[i + 1])}));
        level = t[i + 1] == "1" ? 1 : 0;
        return true;
    }
    bool Order(std::size_t i, bool& big) {
        if (!Equals(i) || !Need(i + 1, "big|little")) return false;
        if (t[i + 1] != "big" && t[i + 1] != "little")
            return Fault(Suggest(Arg(Tr("exercise", "expected big or little instead of %1"), {Quote(t[i + 1])}),
                                 t[i + 1], {"big", "little"}));
        big = t[i + 1] == "big";
        return true;
    }
    bool CycleWord(std::size_t i, Cycle& cycle) {
        if (!Need(i, "read|write")) return false;
        if (t[i] != "read" && t[i] != "write")
            return Fault(Suggest(Arg(Tr("exercise", "expected read or write instead of %1"), {Quote(t[i])}), t[i],
                                 {"read", "write"}));
        cycle = t[i] == "read" ? Cycle::Read : Cycle::Write;
        return true;
    }
    // `at A[-B]` and `bytes both|upper|lower`, each at most once, in either order.
    bool Modifiers(std::size_t& i, Goal& goal) {
        bool at = false, bytes = false;
        for (;;) {
            if (!at && i < t.size() && t[i] == "at") {
                at = goal.at = true;
                if (!Range(i + 1, true, goal.first, goal.last)) return false;
            } else if (!bytes && i < t.size() && t[i] == "bytes") {
                bytes = true;
                if (!Need(i + 1, "both|upper|lower")) return false;
                const std::string_view b = t[i + 1];
                goal.bytes = b == "both" ? Bytes::Both : b == "upper" ? Bytes::Upper
                             : b == "lower" ? Bytes::Lower : Bytes::None;
                if (goal.bytes == Bytes::None)
                    return Fault(Suggest(Arg(Tr("exercise", "expected both, upper or lower instead of %1"),
                                             {Quote(b)}),
                                         b, {"both", "upper", "lower"}));
            } else {
                return true;
            }
            i += 2;
        }
    }
};

// ---- Each kind's words ----

bool ParseMemory(GrammarLine& l, Goal& goal) {
    if (!l.Range(1, true, goal.first, goal.last) || !l.Need(2, Tr("exercise", "\"=\" or unchanged"))) return false;
    if (l.t[2] == "unchanged") {
        goal.kind = GoalKind::Unchanged;
        return l.End(3);
    }
    if (l.t[2] != "=" && OneEdit(l.t[2], "unchanged"))
        return l.Fault(Suggest(Arg(Tr("exercise", "expected \"=\" instead of %1"), {Quote(l.t[2])}), l.t[2],
                               {"unchanged"}));
    return l.Equals(2) && l.Pattern(3, goal.pattern) && l.End(4);
}

bool ParseUnchanged(GrammarLine& l, Goal& goal) { return ParseMemory(l, goal); }

bool ParseRead(GrammarLine& l, Goal& goal) { return l.Equals(1) && l.Pattern(2, goal.pattern) && l.End(3); }

bool ParseData(GrammarLine& l, Goal& goal) { return l.Equals(1) && l.Pattern(2, goal.pattern) && l.End(3); }

bool ParseAddress(GrammarLine& l, Goal& goal) {
    return l.Equals(1) && l.Range(2, false, goal.first, goal.last) && l.End(3);
}

bool ParseOrder(GrammarLine& l, Goal& goal) { return l.Order(1, goal.bigEndian) && l.End(3); }

bool ParseLevel(GrammarLine& l, Goal& goal) {
    goal.control = static_cast<Control>(ControlIndex(l.t[0]));
    return l.Level(1, goal.level) && l.End(3);
}

bool ParseActions(GrammarLine& l, Goal& goal) { return l.Op(1, goal.op) && l.Number(2, goal.n) && l.End(3); }

bool ParseCount(GrammarLine& l, Goal& goal) {
    std::size_t i = 2;
    return l.CycleWord(1, goal.cycle) && l.Modifiers(i, goal) && l.Op(i, goal.op) && l.Number(i + 1, goal.n) &&
           l.End(i + 2);
}

bool ParseThen(GrammarLine& l, Goal& goal) {
    std::size_t i = 2;
    if (!l.CycleWord(1, goal.cycle) || !l.Modifiers(i, goal)) return false;
    if (i < l.t.size() && !l.Equals(i)) return false;
    if (i < l.t.size() && !l.Pattern(i + 1, goal.pattern)) return false;
    return l.End(i < l.t.size() ? i + 2 : i);
}

bool ParseNever(GrammarLine& l, Goal& goal) {
    for (std::size_t i = 1;; ++i) {
        if (!l.Need(i, Tr("exercise", "a condition"))) return false;
        Condition c;
        const std::string_view w = l.t[i];
        if (const int control = ControlIndex(w); control >= 0) {
            c.control = static_cast<Control>(control);
            if (!l.Level(i + 1, c.level)) return false;
            i += 2;
        } else if (w == "address" || w == "data") {
            c.what = w == "address" ? Condition::What::AddressChanges : Condition::What::DataChanges;
            if (!l.Need(i + 1, "changes")) return false;
            if (l.t[i + 1] != "changes")
                return l.Fault(Suggest(Arg(Tr("exercise", "expected changes instead of %1"), {Quote(l.t[i + 1])}),
                                       l.t[i + 1], {"changes"}));
            ++i;
        } else if (w == "read" || w == "write") {
            c.what = Condition::What::Cycle;
            c.cycle = w == "read" ? Cycle::Read : Cycle::Write;
            if (i + 1 < l.t.size() && l.t[i + 1] == "at") {
                c.at = true;
                if (!l.Range(i + 2, true, c.first, c.last)) return false;
                i += 2;
            }
        } else {
            return l.Fault(Suggest(Arg(Tr("exercise", "expected a condition instead of %1"), {Quote(w)}), w,
                                   {"address", "data", "read", "write"}, true));
        }
        goal.conditions.push_back(c);
        if (i + 1 >= l.t.size()) return true;
        if (l.t[i + 1] != "and")
            return l.Fault(Suggest(Arg(Tr("exercise", "expected and instead of %1"), {Quote(l.t[i + 1])}),
                                   l.t[i + 1], {"and"}));
        ++i;
    }
}

bool ParseTypes(GrammarLine& l, Goal& goal) {
    // "types [at A] LABEL = VALUE": the label runs up to the "=".
    std::string_view rest = Trim(l.rest.substr(std::min<std::size_t>(5, l.rest.size())));
    if (l.t.size() > 2 && l.t[1] == "at") {
        if (!l.Range(2, false, goal.first, goal.last)) return false;
        goal.at = true;
        rest = Trim(Trim(rest.substr(2)).substr(l.t[2].size()));
    }
    const std::size_t eq = rest.find('=');
    std::string label;
    for (const char c : Trim(rest.substr(0, eq))) {
        if (IsBlank(c)) {
            if (!label.empty() && label.back() != ' ') label += ' ';
        } else {
            label += c;
        }
    }
    const int k = MatchLabel(label);
    if (k < 0) {
        std::string all;
        for (const std::string_view known : kTypeLabels) all += (all.empty() ? "" : ", ") + std::string(known);
        return l.Fault(Arg(Tr("exercise", "unknown listing label %1; one of: %2"), {Quote(label), all}));
    }
    if (eq == std::string_view::npos) return l.Fault(Arg(Tr("exercise", "%1 is missing at the end"), {"\"=\""}));
    std::string_view value = Trim(rest.substr(eq + 1));
    if (!value.empty() && value[0] == '=') return l.Fault(Tr("exercise", "use one \"=\" instead of \"==\""));
    if (value.empty()) return l.Fault(Arg(Tr("exercise", "%1 is missing at the end"), {Tr("exercise", "a value")}));
    const auto blank = std::find_if(value.begin(), value.end(), IsBlank);
    if (blank != value.end())
        return l.Fault(Arg(Tr("exercise", "unexpected %1"),
                           {Quote(Trim(value.substr(static_cast<std::size_t>(blank - value.begin()))))}));
    if (std::string problem = ValueProblem(k, value); !problem.empty()) return l.Fault(problem);
    goal.label = kTypeLabels[static_cast<std::size_t>(k)];
    goal.value = value;
    return true;
}

// ---- The file ----

namespace {

class Parser {
public:
    explicit Parser(Exercise& ex) : m_ex(ex) {}

    // One line (1-based number, without its end): false when the check
    // stops here (a line that is not UTF-8, or enough problems).
    bool Line(int number, std::string_view line);
    // The checks that belong to no line, once every line was read.
    void Finish();
    std::vector<ExerciseError> problems;

private:
    bool Fault(std::string message) {
        problems.push_back({m_line, std::move(message)});
        return false;
    }
    bool Text(std::string_view key, std::string_view rest);
    bool Why(std::string_view language, std::string_view text);
    bool Given(GrammarLine& l);
    bool GoalLine(GrammarLine& l);

    Exercise& m_ex;
    int m_line = 0;
    bool m_title = false;
    std::array<bool, 4> m_titles{};
    int m_goalLines = 0;
    // The goal a why line belongs to: its index, kNoGoal when none may
    // follow, kRefusedGoal after a goal line with a problem of its own.
    static constexpr long kNoGoal = -1, kRefusedGoal = -2;
    long m_whyGoal = kNoGoal;
};

bool Parser::Line(int number, std::string_view raw) {
    m_line = number;
    const long length = Utf8Length(raw);
    if (length < 0) {
        Fault(Tr("exercise", "the line is not UTF-8 text"));
        return false;
    }
    if (static_cast<std::size_t>(length) > kExerciseMaxLineCharacters)
        return Fault(Tr("exercise", "the line is longer than 1,000 characters")) || true;
    for (const char c : raw)
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F)
            return Fault(Tr("exercise", "the line holds a control character")) || true;
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == '#') return true;

    // A text key runs up to its colon with no blank in it.
    std::size_t key = 0;
    while (key < line.size() && !IsBlank(line[key]) && line[key] != ':' && line[key] != '=') ++key;
    const bool why = key < line.size() && line[key] == ':' &&
                     ((key == 3 && line.substr(0, 3) == "why") || (key > 4 && line.substr(0, 4) == "why."));
    if (!why) m_whyGoal = kNoGoal;
    if (key < line.size() && line[key] == ':') {
        if (why) Why(line.substr(0, key), Trim(line.substr(key + 1)));
        else Text(line.substr(0, key), line.substr(key + 1));
        return true;
    }
    const std::string_view word = line.substr(0, key);
    const std::string_view rest = WithoutComment(Trim(line.substr(key)));
    GrammarLine l(rest, Tokens(rest));
    if (word == "given") {
        Given(l);
    } else if (word == "goal") {
        GoalLine(l);
    } else {
        Fault(Suggest(Arg(Tr("exercise", "unknown keyword %1"), {Quote(word)}), word,
                      {"title", "text", "hint", "why", "given", "goal"}));
    }
    return true;
}

bool Parser::Text(std::string_view key, std::string_view rest) {
    std::string_view name = key, language;
    if (const auto dot = key.find('.'); dot != std::string_view::npos) {
        name = key.substr(0, dot);
        language = key.substr(dot + 1);
    }
    ExerciseTexts* texts = name == "title" ? &m_ex.title
                           : name == "text" ? &m_ex.text
                           : name == "hint" ? &m_ex.hints
                                            : nullptr;
    if (!texts)
        return Fault(Suggest(Arg(Tr("exercise", "unknown keyword %1"), {Quote(key)}), name,
                             {"title", "text", "hint", "why", "given", "goal"}));
    std::vector<std::string>* lines = &texts->plain;
    bool* seen = &m_title;
    if (key.find('.') != std::string_view::npos) {
        const auto at = std::find(kExerciseLanguages.begin(), kExerciseLanguages.end(), language);
        if (at == kExerciseLanguages.end())
            return Fault(Arg(Tr("exercise", "unknown language %1"), {Quote(language)}));
        const auto index = static_cast<std::size_t>(at - kExerciseLanguages.begin());
        lines = &texts->languages[index];
        seen = &m_titles[index];
    }
    const std::string_view text = Trim(rest);
    if (text.empty()) return Fault(Tr("exercise", "the text after the colon is empty"));
    if (texts == &m_ex.title) {
        if (*seen) return Fault(Tr("exercise", "a second title"));
        *seen = true;
    }
    lines->emplace_back(text);
    return true;
}

bool Parser::Why(std::string_view key, std::string_view text) {
    std::string* slot = nullptr;
    if (m_whyGoal == kNoGoal) return Fault(Tr("exercise", "a why needs a goal above it"));
    Goal* goal = m_whyGoal >= 0 ? &m_ex.goals[static_cast<std::size_t>(m_whyGoal)] : nullptr;
    if (key.size() > 3) {
        const std::string_view language = key.substr(4);
        const auto at = std::find(kExerciseLanguages.begin(), kExerciseLanguages.end(), language);
        if (at == kExerciseLanguages.end())
            return Fault(Arg(Tr("exercise", "unknown language %1"), {Quote(language)}));
        if (goal) slot = &goal->whyIn[static_cast<std::size_t>(at - kExerciseLanguages.begin())];
    } else if (goal) {
        slot = &goal->why;
    }
    if (text.empty()) return Fault(Tr("exercise", "the text after the colon is empty"));
    if (!slot) return true;  // the goal above has a problem of its own
    if (!slot->empty())
        return Fault(Arg(Tr("exercise", "a second why for the goal on line %1"), {std::to_string(goal->line)}));
    *slot = text;
    return true;
}

bool Parser::Given(GrammarLine& l) {
    if (!l.Need(0, Tr("exercise", "what is given"))) return Fault(l.fault);
    const std::string_view what = l.t[0];
    bool ok = false;
    if (what == "memory") {
        int first, last, word;
        ok = l.Range(1, true, first, last) && l.Equals(2) && l.Word(3, word) && l.End(4);
        if (ok)
            for (int a = first; a <= last; ++a) m_ex.memory[static_cast<std::size_t>(a)] = word;
    } else if (what == "order") {
        bool big = true;
        ok = l.Order(1, big) && l.End(3);
        if (ok) m_ex.order = big ? 1 : 0;
    } else if (what == "address") {
        int first, last;
        ok = l.Equals(1) && l.Range(2, false, first, last) && l.End(3);
        if (ok) m_ex.address = first;
    } else if (what == "data") {
        int word;
        ok = l.Equals(1) && l.Word(2, word) && l.End(3);
        if (ok) m_ex.data = word;
    } else if (const int control = ControlIndex(what); control >= 0) {
        int level = 0;
        ok = l.Level(1, level) && l.End(3);
        if (ok) m_ex.controls.emplace_back(static_cast<Control>(control), level);
    } else {
        l.Fault(Suggest(Arg(Tr("exercise", "unknown given %1"), {Quote(what)}), what,
                        {"memory", "order", "address", "data"}, true));
    }
    return ok || Fault(l.fault);
}

bool Parser::GoalLine(GrammarLine& l) {
    m_whyGoal = kRefusedGoal;
    if (++m_goalLines > static_cast<int>(kExerciseMaxGoals)) return Fault(Tr("exercise", "more than 50 goals"));
    if (!l.Need(0, Tr("exercise", "what the goal is"))) return Fault(l.fault);
    Goal goal;
    goal.line = m_line;
    const std::string_view what = l.t[0];
    const GoalKindEntry* entry = nullptr;
    for (const GoalKindEntry& e : GoalKindTable()) {
        for (std::size_t from = 0; !entry && !e.keyword.empty() && from <= e.keyword.size();) {
            const std::size_t bar = std::min(e.keyword.find('|', from), e.keyword.size());
            const std::string_view k = e.keyword.substr(from, bar - from);
            if (e.anyCase ? Lower(what) == Lower(k) : what == k) entry = &e;
            from = bar + 1;
        }
    }
    if (!entry)
        return Fault(Suggest(Arg(Tr("exercise", "unknown goal %1"), {Quote(what)}), what,
                             {"memory", "read", "address", "order", "types", "count", "actions", "data", "never",
                              "then"},
                             true));
    goal.kind = entry->kind;
    if (!entry->parse(l, goal)) return Fault(l.fault);
    m_whyGoal = static_cast<long>(m_ex.goals.size());
    m_ex.goals.push_back(std::move(goal));
    return true;
}

void Parser::Finish() {
    // Line 0 comes first, before the lines' own problems.
    std::string missing = m_ex.title.plain.empty()                    ? Tr("exercise", "the file has no title")
                          : m_ex.text.plain.empty()                   ? Tr("exercise", "the file has no text")
                          : m_ex.goals.empty() && m_goalLines == 0 ? Tr("exercise", "the file has no goal")
                                                                       : std::string();
    if (!missing.empty()) problems.insert(problems.begin(), {0, std::move(missing)});
}

// The line of `bytes` at `pos`, without its end; `pos` moves past the end.
// A line ends at LF, CR LF or a lone CR.
std::string_view NextLine(std::string_view bytes, std::size_t& pos) {
    // A plain loop: find_first_of looks each byte up in the set of ends,
    // several times slower, which the course's menu would pay at start-up.
    std::size_t end = pos;
    while (end < bytes.size() && bytes[end] != '\n' && bytes[end] != '\r') ++end;
    const std::string_view line = bytes.substr(pos, end - pos);
    pos = end + (bytes.substr(end, 2) == "\r\n" ? 2 : 1);
    return line;
}

std::string_view WithoutByteOrderMark(std::string_view bytes) {
    return bytes.substr(0, 3) == "\xEF\xBB\xBF" ? bytes.substr(3) : bytes;
}

// The problems of the grammar: line 0 first, at most kExerciseMaxProblems.
std::vector<ExerciseError> ReadFile(std::string_view bytes, Exercise& ex) {
    if (bytes.size() > kExerciseMaxBytes) return {{0, Tr("exercise", "the file is larger than 64 KiB")}};
    bytes = WithoutByteOrderMark(bytes);
    Parser parser(ex);
    int number = 0;
    bool whole = true;
    for (std::size_t pos = 0; pos < bytes.size() && whole;) {
        if (++number > kExerciseMaxLines) {
            parser.problems.push_back({kExerciseMaxLines + 1, Tr("exercise", "the file has more than 500 lines")});
            whole = false;
            break;
        }
        whole = parser.Line(number, NextLine(bytes, pos)) && parser.problems.size() < kExerciseMaxProblems;
    }
    if (whole) parser.Finish();
    auto& problems = parser.problems;
    if (problems.size() > kExerciseMaxProblems) problems.resize(kExerciseMaxProblems);
    return problems;
}

// Two patterns that some word matches together.
bool PatternsMeet(const std::string& a, const std::string& b) {
    for (std::size_t i = 0; i < 4 && i < a.size() && i < b.size(); ++i)
        if (a[i] != '?' && b[i] != '?' && a[i] != b[i]) return false;
    return true;
}

// Some N meets both comparisons (N from 0 up).
bool CountsMeet(const Goal& a, const Goal& b) {
    unsigned long low = 0, high = ~0UL;
    for (const Goal* g : {&a, &b}) {
        if (g->op != Comparison::AtMost) low = std::max(low, g->n);
        if (g->op != Comparison::AtLeast) high = std::min(high, g->n);
    }
    return low <= high;
}

// Goals `a` (earlier) and `b` of one kind that can never hold together.
bool Contradict(const Goal& a, const Goal& b) {
    if (a.kind != b.kind) return false;
    const bool overlap = a.first <= b.last && b.first <= a.last;
    switch (a.kind) {
        case GoalKind::Memory: return overlap && !PatternsMeet(a.pattern, b.pattern);
        case GoalKind::Read:
        case GoalKind::Data: return !PatternsMeet(a.pattern, b.pattern);
        case GoalKind::Address: return a.first != b.first;
        case GoalKind::Order: return a.bigEndian != b.bigEndian;
        case GoalKind::Level: return a.control == b.control && a.level != b.level;
        case GoalKind::Count:
            return a.cycle == b.cycle && a.at == b.at && (!a.at || (a.first == b.first && a.last == b.last)) &&
                   a.bytes == b.bytes && !CountsMeet(a, b);
        case GoalKind::Actions: return !CountsMeet(a, b);
        default: return false;
    }
}

}  // namespace

bool ParseExercise(std::string_view bytes, std::string_view name, Exercise& out, ExerciseError& error) {
    Exercise ex;
    ex.name = name;
    const std::vector<ExerciseError> problems = ReadFile(bytes, ex);
    if (!problems.empty()) {
        error = problems.front();
        return false;
    }
    out = std::move(ex);
    return true;
}

std::string ExerciseTitle(std::string_view bytes) {
    Exercise ex;
    Parser parser(ex);
    bytes = WithoutByteOrderMark(bytes);
    int number = 0;
    for (std::size_t pos = 0; pos < bytes.size();) {
        const std::string_view line = NextLine(bytes, pos);
        // Only a title line can hold the title: no other is even read, for
        // the menu shows the course's titles at every start. The parser's
        // problems are not looked at: the file is known sound.
        ++number;
        if (Trim(line).substr(0, 5) == "title") parser.Line(number, line);
    }
    return ex.Title();
}

bool CheckExercise(std::string_view bytes, std::string_view name, Exercise& out,
                   std::vector<ExerciseError>& problems) {
    Exercise ex;
    ex.name = name;
    problems = ReadFile(bytes, ex);
    if (!problems.empty()) return false;
    for (std::size_t j = 1; j < ex.goals.size(); ++j)
        for (std::size_t i = 0; i < j; ++i)
            if (Contradict(ex.goals[i], ex.goals[j])) {
                problems.push_back({ex.goals[j].line,
                                    Arg(Tr("exercise", "this goal and the one on line %1 can never hold together"),
                                        {std::to_string(ex.goals[i].line)})});
                break;
            }
    if (problems.size() > kExerciseMaxProblems) problems.resize(kExerciseMaxProblems);
    if (problems.empty() && HoldsAtStart(ex)) problems.push_back({0, Tr("exercise", "every goal already holds at the start")});
    if (!problems.empty()) return false;
    out = std::move(ex);
    return true;
}

std::string ProblemsText(const std::vector<ExerciseError>& problems, bool link) {
    std::string text;
    for (const ExerciseError& p : problems) {
        if (!text.empty()) text += '\n';
        text += p.line == 0 || link ? p.message : p.Text();
    }
    return text;
}

std::string ExerciseError::Text() const { return std::to_string(line) + ": " + message; }

std::string ExerciseError::Text(std::string_view name) const {
    return std::string(name) + ":" + Text();
}

const std::vector<std::string>& ExerciseTexts::In(std::string_view language) const {
    for (std::size_t i = 0; i < kExerciseLanguages.size(); ++i)
        if (kExerciseLanguages[i] == language && !languages[i].empty()) return languages[i];
    return plain;
}

std::string Exercise::Title() const {
    const auto& lines = title.In(CurrentLanguage());
    return lines.empty() ? std::string() : lines.front();
}

std::string Exercise::Text() const {
    std::string joined;
    for (const std::string& line : text.In(CurrentLanguage())) {
        if (!joined.empty()) joined += '\n';
        joined += line;
    }
    return joined;
}

std::vector<std::string> Exercise::Hints() const { return hints.In(CurrentLanguage()); }

}  // namespace bitwell
