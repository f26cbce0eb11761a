// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Character rules shared by the scanners and the build.
//
// The text is handled byte by byte. Every delimiter is ASCII, so no byte of
// a UTF-8 sequence can be taken for one; a lead byte (0xC2 and above) is
// negative as a signed 8-bit value and so can never start a name, while
// continuation bytes may continue one. That is exactly what the 8-bit rules
// give for any character beyond ASCII.
#include <string>

namespace optimara::text {

// What is "read" at L+1: none of sign, digit, point, "*" or any delimiter.
inline constexpr int kEnd = -1;

inline int CharAt(const std::string& s, int pos, int L) {
    if (pos < 1 || pos > L || static_cast<size_t>(pos) > s.size()) return kEnd;
    return static_cast<unsigned char>(s[static_cast<size_t>(pos) - 1]);
}

inline bool IsDigit(int c) { return c >= '0' && c <= '9'; }

inline bool IsRelation(int c) { return c == '<' || c == '>' || c == '='; }

// The seven characters that end a name.
inline bool IsDelimiter(int c) {
    return c == '+' || c == '-' || c == '*' || c == ',' || IsRelation(c);
}

// Codes 65..122 compared as signed 8-bit values, so bytes above 127 fail.
inline bool StartsName(int c) {
    if (c == kEnd) return false;
    const auto sc = static_cast<signed char>(static_cast<unsigned char>(c));
    return sc >= 65 && sc <= 122;
}

// Only code 32 is a blank; tabs and other spacing stay as typed. Carriage
// returns left at the end by pasted CR LF text are line-break debris, not
// content: kept, they would glue onto the last name or number.
inline std::string WithoutBlanks(const std::string& raw) {
    std::string out;
    out.reserve(raw.size());
    for (char ch : raw)
        if (ch != ' ') out.push_back(ch);
    while (!out.empty() && out.back() == '\r') out.pop_back();
    return out;
}

// Key under which a name is looked up: ASCII letters folded, and the
// Latin-1 letters (UTF-8 C3 80..9E, except the sign C3 97) folded to their
// small forms, so "Año" and "AÑO" are one variable.
inline std::string FoldedName(const std::string& name) {
    std::string key = name;
    for (size_t i = 0; i < key.size(); ++i) {
        const auto b = static_cast<unsigned char>(key[i]);
        if (b >= 'A' && b <= 'Z') {
            key[i] = static_cast<char>(b + 32);
        } else if (b == 0xC3 && i + 1 < key.size()) {
            const auto next = static_cast<unsigned char>(key[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) key[i + 1] = static_cast<char>(next + 32);
            if (next >= 0x80 && next <= 0xBF) ++i;
        }
    }
    return key;
}

} // namespace optimara::text
