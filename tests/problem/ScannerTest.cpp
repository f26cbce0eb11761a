// SPDX-License-Identifier: GPL-3.0-or-later
// The two scanners on their own: values, where they stop, what they report.
#include <string>

#include "Fault.h"
#include "TestHelpers.h"

namespace optimara::testing {
namespace {

struct NumberScan {
    double value;
    int pos;
    BuildReport report;
};

NumberScan Number(const std::string& s, bool required = false, int start = 1, int source = 3) {
    NumberScan scan{0.0, start, {}};
    scan.value = ScanNumber(s, scan.pos, static_cast<int>(s.size()), required, source, scan.report);
    return scan;
}

struct NameScan {
    std::string name;
    int pos;
    BuildReport report;
};

NameScan Name(const std::string& s, int start = 1, int source = 3) {
    NameScan scan{"", start, {}};
    scan.name = ScanVariable(s, scan.pos, static_cast<int>(s.size()), source, scan.report);
    return scan;
}

TEST(ScanNumber, AbsentNumberIsOneWithItsSign) {
    struct Case {
        std::string text;
        double value;
        int pos;
    };
    for (const Case& c : std::vector<Case>{{"x", 1, 1}, {"-x", -1, 2}, {"+x", 1, 2}, {"*x", 1, 1}, {",", 1, 1}}) {
        const NumberScan scan = Number(c.text);
        EXPECT_EQ(scan.value, c.value) << c.text;
        EXPECT_EQ(scan.pos, c.pos) << c.text << ": the scanner never takes a \"*\" or a delimiter";
        EXPECT_EQ(scan.report.errorPanel, "") << c.text;
    }
}

TEST(ScanNumber, DecimalFormsAndWhereTheyStop) {
    struct Case {
        std::string text;
        double value;
        int pos;
    };
    const std::vector<Case> cases = {
        {"1.5x", 1.5, 4}, {".5x", 0.5, 3},   {"3.x", 3, 3},     {".x", 0, 2},       {"3x2", 3, 2},
        {"-12.25+y", -12.25, 7}, {"007", 7, 4}, {"5.", 5, 3},    {".", 0, 2},        {"-.", 0, 3},
        {"2,5x", 2, 2},   {"1.2.3", 1.2, 4}, {"+0.75<", 0.75, 6}, {"9e5", 9, 2},    {"-3", -3, 3},
    };
    for (const Case& c : cases) {
        const NumberScan scan = Number(c.text);
        EXPECT_EQ(scan.value, c.value) << c.text;
        EXPECT_EQ(scan.pos, c.pos) << c.text;
        EXPECT_EQ(scan.report.errorPanel, "") << c.text;
    }
}

TEST(ScanNumber, FractionDigitsAreDividedOnceAtTheEnd) {
    // Adding tenths one by one would give 0.30000000000000004 and the like.
    EXPECT_EQ(Number("0.3").value, 0.3);
    EXPECT_EQ(Number("2.675").value, 2.675);
    EXPECT_EQ(Number("0.1").value + Number("0.2").value, 0.1 + 0.2);
    EXPECT_EQ(Number("123456.789").value, 123456789.0 / 1000.0);
}

TEST(ScanNumber, StartsWhereItIsToldAndReadsOneSignOnly) {
    const NumberScan scan = Number("x+-3", false, 2);
    EXPECT_EQ(scan.value, 1);
    EXPECT_EQ(scan.pos, 3) << "the second sign is left for the caller";
    const NumberScan minus = Number("x-3y", false, 2);
    EXPECT_EQ(minus.value, -3);
    EXPECT_EQ(minus.pos, 4);
}

TEST(ScanNumber, SignAtTheEndOfTheText) {
    const NumberScan minus = Number("x-", false, 2);
    EXPECT_EQ(minus.report.errorPanel, "ERROR1: Número esperado       -");
    EXPECT_TRUE(minus.report.select);
    EXPECT_EQ(minus.report.source, 3);
    const NumberScan plus = Number("+", true, 1, -1);
    EXPECT_EQ(plus.report.errorPanel, "ERROR2: Número esperado       +");
    EXPECT_EQ(plus.report.source, -1);
}

TEST(ScanNumber, RequiredNumberMissing) {
    for (const std::string s : {"=4", "", "-y", "+*", "y"}) {
        const NumberScan scan = Number(s, true);
        EXPECT_EQ(scan.report.errorPanel, "ERROR12: Número no hayado") << s;
        EXPECT_TRUE(scan.report.select);
    }
    EXPECT_EQ(Number(".", true).report.errorPanel, "") << "a lone point is the number 0";
    EXPECT_EQ(Number("-.", true).value, 0.0);
}

TEST(ScanNumber, PositionBeyondTheEndReadsNothing) {
    const NumberScan scan = Number("x", false, 2);
    EXPECT_EQ(scan.value, 1.0);
    EXPECT_EQ(scan.pos, 2);
    EXPECT_EQ(scan.report.errorPanel, "");
}

TEST(ScanNumber, LargeButFiniteNumbersAreKept) {
    const NumberScan big = Number("1" + std::string(308, '0'));
    EXPECT_NEAR(big.value / 1e308, 1.0, 1e-12);
    const NumberScan tiny = Number("0." + std::string(299, '0') + "1");
    EXPECT_NEAR(tiny.value / 1e-300, 1.0, 1e-12);
}

TEST(ScanNumber, OverflowIsAFloatingPointFault) {
    const std::vector<std::string> texts = {
        "1" + std::string(309, '0'),          // integer part beyond the largest double
        std::string(400, '9') + "x",          // 400 digits
        "0." + std::string(400, '0') + "1",   // the divisor overflows
        "-." + std::string(400, '5'),         // fraction digits overflow the value
        "12." + std::string(330, '0'),
        std::string(300, '9') + "." + std::string(20, '9'),  // the value overflows first
    };
    for (const std::string& s : texts) {
        int pos = 1;
        BuildReport report;
        try {
            ScanNumber(s, pos, static_cast<int>(s.size()), true, 0, report);
            ADD_FAILURE() << "no fault for " << s.size() << " characters";
        } catch (const FloatingPointFault& fault) {
            EXPECT_STREQ(fault.what(), "Floating point overflow");
        }
        EXPECT_EQ(report.errorPanel, "");
    }
}

TEST(ScanVariable, NameRunsToTheNextDelimiter) {
    struct Case {
        std::string text;
        std::string name;
        int pos;
    };
    const std::vector<Case> cases = {
        {"x2y+1", "x2y", 4},       {"*x<3", "x", 3},          {"ab.c;d=1", "ab.c;d", 7},  {"x*y", "x", 2},
        {"q,r", "q", 2},           {"z>", "z", 2},            {"n-m", "n", 2},            {"A", "A", 2},
        {"x\t", "x\t", 3},         {"xé", "xé", 4},           {"_a", "_a", 3},            {"`", "`", 2},
        {"[b]", "[b]", 4},         {"\\x", "\\x", 3},         {"^v", "^v", 3},
    };
    for (const Case& c : cases) {
        const NameScan scan = Name(c.text);
        EXPECT_EQ(scan.name, c.name) << c.text;
        EXPECT_EQ(scan.pos, c.pos) << c.text;
        EXPECT_EQ(scan.report.errorPanel, "") << c.text;
    }
}

TEST(ScanVariable, FirstCharacterOutsideTheNameRange) {
    // "@" is 64 and "{" is 123, just outside; a UTF-8 letter begins with a
    // byte above 127, which fails like any 8-bit character above 127.
    for (const std::string s : {"@x", "{x", "3x", "**x", "(x", ",x", "<x", "\tx", "éx", "Ñ", ".x", "+x"}) {
        const NameScan scan = Name(s);
        EXPECT_EQ(scan.report.errorPanel, "ERROR3: Símbolo inapropiado") << s;
        EXPECT_TRUE(scan.report.select);
        EXPECT_EQ(scan.report.source, 3);
    }
}

TEST(ScanVariable, EndOfTextWhereANameMustBe) {
    const NameScan objective = Name("2*", 2, -1);
    EXPECT_EQ(objective.report.errorPanel, "ERROR13: Variable esperada");
    EXPECT_EQ(objective.report.source, -1);
    const NameScan line = Name("2*", 2, 0);
    EXPECT_EQ(line.report.errorPanel, "ERROR14: Variable esperada");
    EXPECT_EQ(line.report.source, 0);
    const NameScan past = Name("2", 2, 5);
    EXPECT_EQ(past.report.errorPanel, "ERROR14: Variable esperada");
}

TEST(ReportSyntaxError, WritesThePanelAndTheSelection) {
    BuildReport report;
    report.statusPanel = "kept";
    ReportSyntaxError(report, "text", 7);
    EXPECT_EQ(report.errorPanel, "text");
    EXPECT_TRUE(report.select);
    EXPECT_EQ(report.source, 7);
    EXPECT_EQ(report.statusPanel, "kept");
    ReportSyntaxError(report, "other", -1);
    EXPECT_EQ(report.errorPanel, "other");
    EXPECT_EQ(report.source, -1);
}

} // namespace
} // namespace optimara::testing
