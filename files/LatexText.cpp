// SPDX-License-Identifier: GPL-3.0-or-later
#include "LatexText.h"

#include <algorithm>
#include <cstdio>

#include "TextCodec.h"

namespace optimara::files::latex {
namespace {

constexpr char32_t kMinus = 0x2212;

struct Symbol {
    char32_t code;
    const char* latex;
};

// The symbols the program's own texts use, and a few a user may type, as
// commands every font of the two basic LaTeX packages holds; sorted by code.
constexpr Symbol kSymbols[] = {
    {0x00A0, "~"},
    {0x00AD, "\\-"},
    {0x00B7, "\\ensuremath{\\cdot}"},
    {0x00D7, "\\ensuremath{\\times}"},
    {0x00F7, "\\ensuremath{\\div}"},
    {0x2013, "\\textendash{}"},
    {0x2014, "\\textemdash{}"},
    {0x2018, "\\textquoteleft{}"},
    {0x2019, "\\textquoteright{}"},
    {0x201C, "\\textquotedblleft{}"},
    {0x201D, "\\textquotedblright{}"},
    {0x2022, "\\textbullet{}"},
    {0x2026, "\\dots{}"},
    {0x2032, "\\ensuremath{'}"},
    {0x2033, "\\ensuremath{''}"},
    {0x20AC, "\\texteuro{}"},
    {0x2190, "\\ensuremath{\\leftarrow}"},
    {0x2191, "\\ensuremath{\\uparrow}"},
    {0x2192, "\\ensuremath{\\rightarrow}"},
    {0x2193, "\\ensuremath{\\downarrow}"},
    {0x21D2, "\\ensuremath{\\Rightarrow}"},
    {0x21D4, "\\ensuremath{\\Leftrightarrow}"},
    {0x2200, "\\ensuremath{\\forall}"},
    {0x2203, "\\ensuremath{\\exists}"},
    {0x2205, "\\ensuremath{\\emptyset}"},
    {0x2208, "\\ensuremath{\\in}"},
    {0x2211, "\\ensuremath{\\sum}"},
    {0x2212, "\\ensuremath{-}"},
    {0x2217, "\\ensuremath{\\ast}"},
    {0x221A, "\\ensuremath{\\surd}"},
    {0x221E, "\\ensuremath{\\infty}"},
    {0x2248, "\\ensuremath{\\approx}"},
    {0x2260, "\\ensuremath{\\neq}"},
    {0x2264, "\\ensuremath{\\leq}"},
    {0x2265, "\\ensuremath{\\geq}"},
    {0x22C5, "\\ensuremath{\\cdot}"},
};

// The Greek letters from U+0391 and from U+03B1, as math letters; the
// capitals that look Latin as Latin ones. U+03A2 is unassigned.
constexpr const char* kGreekCapitals[] = {
    "\\mathrm{A}", "\\mathrm{B}", "\\Gamma", "\\Delta", "\\mathrm{E}", "\\mathrm{Z}", "\\mathrm{H}",
    "\\Theta",     "\\mathrm{I}", "\\mathrm{K}", "\\Lambda", "\\mathrm{M}", "\\mathrm{N}", "\\Xi",
    "\\mathrm{O}", "\\Pi",        "\\mathrm{P}", nullptr,   "\\Sigma",    "\\mathrm{T}", "\\Upsilon",
    "\\Phi",       "\\mathrm{X}", "\\Psi",       "\\Omega"};
constexpr const char* kGreekSmall[] = {
    "\\alpha", "\\beta", "\\gamma", "\\delta", "\\epsilon", "\\zeta",    "\\eta",  "\\theta", "\\iota",
    "\\kappa", "\\lambda", "\\mu",  "\\nu",    "\\xi",      "o",         "\\pi",   "\\rho",   "\\varsigma",
    "\\sigma", "\\tau",  "\\upsilon", "\\phi", "\\chi",     "\\psi",     "\\omega"};

const char* SymbolOf(char32_t c) {
    const auto it = std::lower_bound(std::begin(kSymbols), std::end(kSymbols), c,
                                     [](const Symbol& s, char32_t code) { return s.code < code; });
    return it != std::end(kSymbols) && it->code == c ? it->latex : nullptr;
}

// Latin letters T1 holds and inputenc utf8 maps: all of Latin-1, and
// Latin Extended-A but the few T1 lacks (ħ, ĸ, ŀ, ŉ, ŧ, ſ and their kin).
bool PassedOn(char32_t c) {
    if (c >= 0xA0 && c <= 0xFF) return true;
    if (c < 0x100 || c > 0x17F) return false;
    constexpr char32_t kMissing[] = {0x126, 0x127, 0x138, 0x13F, 0x140, 0x149, 0x166, 0x167, 0x17F};
    return std::find(std::begin(kMissing), std::end(kMissing), c) == std::end(kMissing);
}

// The digit a superscript or subscript character stands for ('-' and '+'
// included), or 0 when it is none.
char ScriptDigit(char32_t c, bool& super) {
    super = true;
    if (c == 0xB9) return '1';
    if (c == 0xB2 || c == 0xB3) return static_cast<char>('0' + (c - 0xB0));
    if (c == 0x2070) return '0';
    if (c >= 0x2074 && c <= 0x2079) return static_cast<char>('0' + (c - 0x2070));
    if (c == 0x207A) return '+';
    if (c == 0x207B) return '-';
    super = false;
    if (c >= 0x2080 && c <= 0x2089) return static_cast<char>('0' + (c - 0x2080));
    if (c == 0x208A) return '+';
    if (c == 0x208B) return '-';
    return 0;
}

std::string Code(char32_t c) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(c));
    return std::string("\\optimaracodigo{") + hex + "}";
}

// The code points of the text; a byte that starts no UTF-8 sequence is
// U+FFFD, which no font here holds either.
std::u32string Decoded(const std::string& text) {
    std::u32string out;
    const QByteArrayView bytes(text);
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = Utf8SequenceLength(bytes, i);
        if (length == 0) {
            out += char32_t(0xFFFD);
            ++i;
            continue;
        }
        static constexpr unsigned char kLeadBits[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
        char32_t c = static_cast<unsigned char>(bytes[i]) & kLeadBits[length];
        for (qsizetype k = 1; k < length; ++k) c = c << 6 | (static_cast<unsigned char>(bytes[i + k]) & 0x3F);
        out += c;
        i += length;
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

const char* AsciiCommand(char32_t c) {
    switch (c) {
    case '\\': return "\\textbackslash{}";
    case '{': return "\\{";
    case '}': return "\\}";
    case '$': return "\\$";
    case '&': return "\\&";
    case '#': return "\\#";
    case '%': return "\\%";
    case '_': return "\\_";
    case '^': return "\\textasciicircum{}";
    case '~': return "\\textasciitilde{}";
    // T1 makes « of "<<", „ of ",,", ” of "''", – of "--", ¡ of "!`";
    // a bracket after a row's end would read as its option.
    case '<': return "\\textless{}";
    case '>': return "\\textgreater{}";
    case ',': return ",{}";
    case '\'': return "\\textquotesingle{}";
    case '`': return "\\textasciigrave{}";
    case '-': return "-{}";
    case '"': return "\\textquotedbl{}";
    case '|': return "\\textbar{}";
    case '[': return "{[}";
    case ']': return "{]}";
    // Long sums may break after their signs.
    case '+': return "+\\allowbreak{}";
    case '=': return "=\\allowbreak{}";
    case '\t': return " ";
    default: return nullptr;
    }
}

bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }

// Whether a number may start right after c: not in the middle of a name
// ("x1/2") or of another number.
bool StartsNumberAfter(char32_t c) {
    if (c == 0) return true;
    const std::u32string_view before = U" \t([{+-=<>,;:*\u00B7\u2212\u2264\u2265\u2190\u2192";
    return before.find(c) != std::u32string_view::npos;
}

// The fraction "3/2" at s[i] standing on its own: its end, or i when there is none.
size_t FractionEnd(const std::u32string& s, size_t i) {
    size_t k = i;
    while (k < s.size() && IsDigit(s[k])) ++k;
    if (k == i || k + 1 >= s.size() || s[k] != '/' || !IsDigit(s[k + 1])) return i;
    ++k;
    while (k < s.size() && IsDigit(s[k])) ++k;
    if (k < s.size() && (IsDigit(s[k]) || s[k] == '/')) return i;
    if (k + 1 < s.size() && (s[k] == '.' || s[k] == ',') && IsDigit(s[k + 1])) return i;
    return k;
}

std::string Frac(const std::u32string& s, size_t from, size_t to) {
    const size_t bar = s.find(U'/', from);
    std::string out = "\\frac{";
    for (size_t k = from; k < bar; ++k) out += static_cast<char>(s[k]);
    out += "}{";
    for (size_t k = bar + 1; k < to; ++k) out += static_cast<char>(s[k]);
    return out + "}";
}

// A run of superscript (or subscript) characters from s[i] as one
// \textsuperscript; returns the index after it.
size_t Script(const std::u32string& s, size_t i, std::string& out) {
    bool super = false;
    ScriptDigit(s[i], super);
    out += super ? "\\textsuperscript{" : "\\textsubscript{";
    for (; i < s.size(); ++i) {
        bool kind = false;
        const char d = ScriptDigit(s[i], kind);
        if (d == 0 || kind != super) break;
        out += d == '-' ? "\\ensuremath{-}" : std::string(1, d);
    }
    out += "}";
    return i;
}

void One(std::string& out, char32_t c) {
    if (c < 0x80) {
        if (const char* command = AsciiCommand(c)) out += command;
        else if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
        else out += Code(c);
    } else if (const char* symbol = SymbolOf(c)) {
        out += symbol;
    } else if (PassedOn(c)) {
        AppendUtf8(out, c);
    } else if (c >= 0x391 && c <= 0x3A9 && kGreekCapitals[c - 0x391]) {
        out += std::string("\\ensuremath{") + kGreekCapitals[c - 0x391] + "}";
    } else if (c >= 0x3B1 && c <= 0x3C9) {
        out += std::string("\\ensuremath{") + kGreekSmall[c - 0x3B1] + "}";
    } else {
        out += Code(c);
    }
}

std::string Escaped(const std::string& text, bool fractions) {
    const std::u32string s = Decoded(text);
    std::string out;
    out.reserve(text.size() + text.size() / 4);
    for (size_t i = 0; i < s.size();) {
        const char32_t before = i == 0 ? 0 : s[i - 1];
        if (fractions && StartsNumberAfter(before)) {
            // A sign of its own goes into the fraction's math, as a minus.
            const bool sign = (s[i] == '-' || s[i] == kMinus) && i + 1 < s.size();
            const size_t from = sign ? i + 1 : i;
            const size_t end = FractionEnd(s, from);
            if (end != from) {
                out += std::string("$") + (sign ? "-" : "") + Frac(s, from, end) + "$";
                i = end;
                continue;
            }
        }
        // Lists may break after their commas; a decimal comma holds.
        if (s[i] == ',' && (i + 1 == s.size() || !IsDigit(s[i + 1]))) {
            out += ",\\allowbreak{}";
            ++i;
            continue;
        }
        bool super = false;
        if (ScriptDigit(s[i], super) != 0) {
            i = Script(s, i, out);
            continue;
        }
        One(out, s[i]);
        ++i;
    }
    return out;
}

// The number texts the notation writes, read from `at`.
struct NumberReader {
    const std::string& s;
    size_t at;
    std::string math;
    int width = 0;

    explicit NumberReader(const std::string& text, size_t from = 0) : s(text), at(from) {}

    bool Has(const char* what) const { return s.compare(at, std::char_traits<char>::length(what), what) == 0; }
    bool DigitAt(size_t k) const { return k < s.size() && s[k] >= '0' && s[k] <= '9'; }
    std::string Digits() {
        const size_t from = at;
        while (DigitAt(at)) ++at;
        return s.substr(from, at - from);
    }
    bool Sign() {
        if (Has("+") || Has("-")) {
            math += s[at++];
        } else if (Has("\xE2\x88\x92")) {
            math += '-';
            at += 3;
        } else {
            return false;
        }
        ++width;
        return true;
    }
    // "12", "1.5", "2,5", "1.5E-05", "3/2", "∞".
    bool Unsigned() {
        if (Has("\xE2\x88\x9E")) {
            at += 3;
            math += "\\infty";
            ++width;
            return true;
        }
        const std::string whole = Digits();
        if (whole.empty()) return false;
        if (Has("/") && DigitAt(at + 1)) {
            ++at;
            const std::string below = Digits();
            math += "\\frac{" + whole + "}{" + below + "}";
            width += static_cast<int>(std::max(whole.size(), below.size()));
            return true;
        }
        math += whole;
        width += static_cast<int>(whole.size());
        if ((Has(".") || Has(",")) && DigitAt(at + 1)) {
            math += s[at++] == ',' ? "{,}" : ".";
            const std::string part = Digits();
            math += part;
            width += 1 + static_cast<int>(part.size());
        }
        if ((Has("E") || Has("e")) && (DigitAt(at + 1) || ((s[at + 1] == '-' || s[at + 1] == '+') && DigitAt(at + 2)))) {
            ++at;
            math += "\\mathrm{E}";
            if (!DigitAt(at)) math += std::string("{") + s[at++] + "}";
            const std::string power = Digits();
            math += power;
            width += 2 + static_cast<int>(power.size());
        }
        return true;
    }
    // A number, "M" times one ("2M", "(3/2)M") or M itself.
    bool Term() {
        if (Has("(")) {
            ++at;
            math += "(";
            if (!Unsigned() || !Has(")M")) return false;
            at += 2;
            math += ")M";
            width += 3;
            return true;
        }
        const bool number = Unsigned();
        if (Has("M")) {
            ++at;
            math += "M";
            width += 1;
            return true;
        }
        return number;
    }
    bool Whole() {
        if (s.empty()) return false;
        Sign();
        for (;;) {
            if (!Term()) return false;
            if (at == s.size()) return true;
            if (!Sign()) return false;
        }
    }
};

size_t Marks(const std::string& text) {
    const size_t marks = text.find_first_not_of('*');
    return marks == std::string::npos ? 0 : std::min<size_t>(marks, 2);
}

} // namespace

std::string Text(const std::string& text) { return Escaped(text, false); }

std::string Prose(const std::string& text) { return Escaped(text, true); }

bool NumberMath(const std::string& text, std::string& math) {
    NumberReader reader(text);
    if (!reader.Whole()) return false;
    math = std::move(reader.math);
    return true;
}

std::string Cell(const std::string& text, CellMark mark) {
    const size_t marks = Marks(text);
    std::string math;
    if (NumberMath(text.substr(marks), math)) {
        if (mark == CellMark::None && marks > 0) mark = marks == 2 ? CellMark::Pivot : CellMark::Candidate;
        switch (mark) {
        case CellMark::Pivot: return "$\\boxed{" + math + "}$";
        case CellMark::Candidate: return "$\\underline{" + math + "}$";
        case CellMark::Bold: return "{\\boldmath$" + math + "$}";
        case CellMark::None: return "$" + math + "$";
        }
    }
    switch (mark) {
    case CellMark::Pivot: return "\\fbox{" + Prose(text) + "}";
    case CellMark::Candidate: return "\\underline{" + Prose(text) + "}";
    case CellMark::Bold: return "\\textbf{" + Prose(text) + "}";
    case CellMark::None: break;
    }
    return Prose(text);
}

int CellWidth(const std::string& text) {
    const size_t marks = Marks(text);
    NumberReader reader(text, marks);
    if (reader.Whole()) return reader.width;
    return static_cast<int>(Decoded(text).size());
}

} // namespace optimara::files::latex
