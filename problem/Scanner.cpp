// SPDX-License-Identifier: GPL-3.0-or-later
// The two scanners and the common error report.
#include <cmath>

#include "BuildProblem.h"
#include "ErrorTexts.h"
#include "Fault.h"
#include "TextRules.h"

namespace optimara {
namespace {

using text::CharAt;
using text::IsDigit;

// An accumulated number that no longer fits a double abandons the build,
// as any other floating-point overflow abandons its command.
double Checked(double v) {
    if (std::isinf(v)) throw FloatingPointFault(kOverflow);
    return v;
}

} // namespace

void ReportSyntaxError(BuildReport& report, const std::string& message, int source) {
    report.errorPanel = message;
    report.select = true;
    report.source = source;
}

namespace {

// The one syntax of a number, for both readers. The floating reader
// accumulates as it goes (and overflows as it goes); the exact reader only
// finds where the number ends and reads its digits afterwards, so no
// double stands between the typed digits and the rational.
template <bool accumulate>
double ScanNumberText(const std::string& s, int& pos, int L, bool required, int source, BuildReport& report) {
    bool negative = false;
    double value = 0.0;
    bool noDigits = true;
    auto sign = [&](double v) { return negative ? -v : v; };

    int c = CharAt(s, pos, L);
    if (c == '-') {
        negative = true;
        ++pos;
        if (pos > L) {
            ReportSyntaxError(report, kError1, source);
            return 0.0;
        }
    } else if (c == '+') {
        ++pos;
        if (pos > L) {
            ReportSyntaxError(report, kError2, source);
            return 0.0;
        }
    }
    while (IsDigit(c = CharAt(s, pos, L))) {
        noDigits = false;
        if constexpr (accumulate) value = Checked(value * 10.0 + (c - '0'));
        ++pos;
        if (pos > L) return sign(value);
    }
    if (c == '.') {
        noDigits = false;
        ++pos;
        if (pos > L) return sign(value);
        // Integer and fraction digits go into one integer, divided once, so
        // "1.25" is 125/100 rounded once.
        double divisor = 1.0;
        while (IsDigit(c = CharAt(s, pos, L))) {
            if constexpr (accumulate) {
                value = Checked(value * 10.0 + (c - '0'));
                divisor = Checked(divisor * 10.0);
            }
            ++pos;
        }
        value = value / divisor;
    }
    if (noDigits) {
        if (required) {
            ReportSyntaxError(report, kError12, source);
            return 0.0;
        }
        value = 1.0;
    }
    return sign(value);
}

} // namespace

double ScanNumber(const std::string& s, int& pos, int L, bool required, int source, BuildReport& report) {
    return ScanNumberText<true>(s, pos, L, required, source, report);
}

void SkipNumber(const std::string& s, int& pos, int L, bool required, int source, BuildReport& report) {
    ScanNumberText<false>(s, pos, L, required, source, report);
}

mpq_class ScanExactNumber(const std::string& s, int& pos, int L, bool required, int source, BuildReport& report) {
    const int start = pos;
    SkipNumber(s, pos, L, required, source, report);
    if (!report.errorPanel.empty()) return 0;
    return ExactNumber(std::string_view(s).substr(static_cast<size_t>(start) - 1, static_cast<size_t>(pos - start)));
}

std::string ScanVariable(const std::string& s, int& pos, int L, int source, BuildReport& report) {
    if (CharAt(s, pos, L) == '*') ++pos;
    if (pos > L) {
        ReportSyntaxError(report, source < 0 ? kError13 : kError14, source);
        return std::string();
    }
    if (!text::StartsName(CharAt(s, pos, L))) {
        ReportSyntaxError(report, kError3, source);
        return std::string();
    }
    const int start = pos;
    ++pos;
    while (pos <= L && !text::IsDelimiter(CharAt(s, pos, L))) ++pos;
    return s.substr(static_cast<size_t>(start) - 1, static_cast<size_t>(pos - start));
}

} // namespace optimara
