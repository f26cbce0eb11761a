// SPDX-License-Identifier: GPL-3.0-or-later
// Typed problems solved from the text to the end by the engine, judged by
// glpsol on the same programme written independently as an LP file.
#include <cmath>
#include <map>
#include <random>
#include <regex>

#include "Fault.h"
#include "Comparison.h"
#include "GlpkOracle.h"
#include "TestHelpers.h"
#include "catalogue/Catalogue.h"

namespace optimara::testing {
namespace {

constexpr int kStepLimit = kCompareStepLimit;

std::string Lower(const std::string& s) {
    std::string out;
    for (char c : s) out.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return out;
}

// --- The typed catalogue, read into an LP model by a regular expression,
// --- without any of the program's own reading code.

std::vector<LpTerm> TermsOf(const std::string& side) {
    static const std::regex term(R"(([+-]?)([0-9]*\.?[0-9]*)\*?([A-Za-z][A-Za-z0-9_]*))");
    std::vector<LpTerm> terms;
    for (auto it = std::sregex_iterator(side.begin(), side.end(), term); it != std::sregex_iterator(); ++it) {
        const std::string number = (*it)[2];
        double value = number.empty() ? 1.0 : std::stod(number);
        if ((*it)[1] == "-") value = -value;
        terms.push_back({value, (*it)[3]});
    }
    return terms;
}

LpModel ModelOf(const catalogue::KnownProblem& p) {
    auto strip = [](std::string s) {
        std::erase(s, ' ');
        return s;
    };
    LpModel model;
    model.maximize = p.comboIndex == 1;
    model.objective = TermsOf(strip(p.objective));
    for (const std::string& raw : p.lines) {
        const std::string line = strip(raw);
        if (line.empty() || line[0] == ';') continue;
        const size_t at = line.find_first_of("<>=");
        const double rhs = std::stod(line.substr(at + 1));
        std::stringstream sides(line.substr(0, at));
        std::string side;
        while (std::getline(sides, side, ',')) model.rows.push_back({TermsOf(side), line[at], rhs});
    }
    return model;
}

// --- Generated problems: drawn as data, then typed and modelled.

struct Generated {
    ProblemText text;
    LpModel model;
};

class Typist {
public:
    explicit Typist(uint32_t seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    bool Chance(double p) { return std::bernoulli_distribution(p)(rng_); }

    // Small integers and numbers with one decimal, in tenths; never zero.
    int Tenths() {
        int t = Chance(0.7) ? 10 * Int(1, 5) : Int(1, 50);
        return Chance(0.5) ? -t : t;
    }

    // A coefficient of 1 may go unwritten; a right-hand side always has digits.
    std::string Magnitude(int tenths, bool required = false) {
        tenths = std::abs(tenths);
        if (tenths == 10 && !required && Chance(0.6)) return "";
        std::string whole = std::to_string(tenths / 10);
        if (tenths % 10 == 0) return whole;
        if (whole == "0" && Chance(0.5)) whole.clear();
        return whole + "." + std::to_string(tenths % 10);
    }

    std::string Spelling(const std::string& var) { return Chance(0.2) ? std::string(1, static_cast<char>(std::toupper(var[0]))) : var; }

    // Types terms (name, tenths) and records them in `terms`.
    std::string Side(const std::vector<std::pair<std::string, int>>& parts, std::vector<LpTerm>& terms) {
        std::string s;
        for (size_t i = 0; i < parts.size(); ++i) {
            const int t = parts[i].second;
            if (t < 0)
                s += i == 0 ? "-" : " - ";
            else if (i > 0)
                s += Chance(0.5) ? " + " : "+";
            s += Magnitude(t) + (t != 0 && Chance(0.2) ? "*" : "") + Spelling(parts[i].first);
            terms.push_back({t / 10.0, parts[i].first});
        }
        return s;
    }

private:
    std::mt19937 rng_;
};

Generated Generate(Typist& ty) {
    static const std::vector<std::string> pool = {"x", "y", "z", "w"};
    const std::vector<std::string> vars(pool.begin(), pool.begin() + ty.Int(2, 4));
    Generated g;
    g.text.comboIndex = ty.Int(0, 1);
    g.model.maximize = g.text.comboIndex == 1;

    std::vector<std::pair<std::string, int>> objective;
    for (const std::string& v : vars)
        if (objective.empty() || ty.Chance(0.8)) objective.push_back({v, ty.Chance(0.1) ? 0 : ty.Tenths()});
    g.text.objective = ty.Side(objective, g.model.objective);

    auto addLine = [&](std::vector<std::vector<std::pair<std::string, int>>> sides, char rel, int rhsTenths) {
        std::string line;
        for (const auto& side : sides) {
            if (!line.empty()) line += ",";
            std::vector<LpTerm> terms;
            line += ty.Side(side, terms);
            g.model.rows.push_back({terms, rel, rhsTenths / 10.0});
        }
        line += std::string(1, rel) + (rhsTenths < 0 ? "-" : "") + ty.Magnitude(rhsTenths, true);
        g.text.lines.push_back(line);
    };
    auto randomSide = [&] {
        std::vector<std::pair<std::string, int>> side;
        for (const std::string& v : vars)
            if (ty.Chance(0.6)) side.push_back({v, ty.Tenths()});
        if (side.empty()) side.push_back({vars[static_cast<size_t>(ty.Int(0, static_cast<int>(vars.size()) - 1))], ty.Tenths()});
        return side;
    };
    const int lines = ty.Int(1, 5);
    for (int k = 0; k < lines; ++k) {
        const int r = ty.Int(0, 19);
        const char rel = r < 3 ? '=' : r < 11 ? '<' : '>';
        std::vector<std::vector<std::pair<std::string, int>>> sides{randomSide()};
        if (ty.Chance(0.15)) sides.push_back(randomSide());
        addLine(sides, rel, ty.Chance(0.5) ? 10 * ty.Int(-10, 10) : ty.Int(-100, 100));
    }
    for (const std::string& v : vars) {
        if (ty.Chance(0.5)) {
            const int form = ty.Int(0, 2);  // x>0, 2x>0, -x<0
            addLine({{{v, form == 0 ? 10 : form == 1 ? 20 : -10}}}, form == 2 ? '<' : '>', 0);
        } else if (ty.Chance(0.5)) {
            addLine({{{v, 10}}}, '>', -10 * ty.Int(1, 9));
        }
        if (ty.Chance(0.5)) addLine({{{v, 10}}}, '<', 10 * ty.Int(1, 9));
    }
    return g;
}

// --- Solving with the program, as the solve button does.

struct OurAnswer {
    LpStatus status = LpStatus::Unknown;
    bool gaveUp = false;
    SolutionReading reading;
    std::vector<std::string> names;  // one per problem variable
};

// Through the solve button, as the window runs it when nobody watches.
OurAnswer SolveWithOptimara(const ProblemText& text) {
    OurAnswer answer;
    HeadlessHost host;
    host.text = text;
    Button1Click(host);
    if (!host.errorPanel.empty()) {
        ADD_FAILURE() << "build failed: " << host.errorPanel;
        return answer;
    }
    answer.status = StatusOfPanel(host.statusPanel);
    answer.gaveUp = host.statusPanel.empty();
    const ProblemState& s = host.state;
    answer.reading = ReadSolution(s.Tableau, host.state.Labels, s.SignMarks, text.comboIndex == 1);
    for (const VariablePlace& place : answer.reading.places) answer.names.push_back(Lower(s.Names[place.column - 1]));
    return answer;
}

// The reported point must satisfy every typed line and give the reported
// objective: this catches a wrong reading even where the optimum is shared.
void ExpectConsistent(const LpModel& model, const OurAnswer& ours, const std::string& what) {
    std::map<std::string, double> value;
    for (size_t k = 0; k < ours.names.size(); ++k) value[ours.names[k]] = ours.reading.values.at(k);
    auto sum = [&](const std::vector<LpTerm>& terms, double& scale) {
        double total = 0.0;
        for (const LpTerm& t : terms) {
            total += t.coef * value.at(Lower(t.var));
            scale += std::fabs(t.coef * value.at(Lower(t.var)));
        }
        return total;
    };
    for (const LpRow& row : model.rows) {
        double scale = 1.0 + std::fabs(row.rhs);
        const double lhs = sum(row.terms, scale);
        const double slack = 1e-9 * scale;
        if (row.rel != '>') {
            EXPECT_LE(lhs, row.rhs + slack) << what;
        }
        if (row.rel != '<') {
            EXPECT_GE(lhs, row.rhs - slack) << what;
        }
    }
    double scale = 1.0;
    EXPECT_NEAR(sum(model.objective, scale), ours.reading.objective, 1e-9 * scale) << what;
}

void Compare(const ProblemText& text, const LpModel& model, const std::string& what, OurAnswer* out = nullptr) {
    const LpAnswer glpk = SolveWithGlpk(model);
    ASSERT_NE(glpk.status, LpStatus::Unknown) << what << ": glpsol gave no usable status (" << glpk.raw
                                              << ")\n" << LpText(model);
    OurAnswer ours;
    try {
        ours = SolveWithOptimara(text);
    } catch (const FloatingPointFault& fault) {
        FAIL() << what << ": " << fault.what();
    }
    if (ours.gaveUp) {
        EXPECT_EQ(glpk.status, LpStatus::Unbounded) << what << ": still pivoting after " << kStepLimit << " steps";
    } else {
        EXPECT_EQ(ours.status, glpk.status) << what << "\n" << LpText(model);
    }
    if (glpk.status == LpStatus::Optimal && ours.status == LpStatus::Optimal) {
        EXPECT_NEAR(ours.reading.objective, glpk.objective, 1e-7 * (1.0 + std::fabs(glpk.objective))) << what;
        ExpectConsistent(model, ours, what);
    }
    if (out) *out = ours;
}

TEST(EndToEnd, CatalogueAgreesWithGlpkAndWithItsKnownAnswers) {
    ASSERT_TRUE(GlpsolAvailable()) << "glpsol is not installed (package glpk-utils; `make setup` installs it)";
    for (const catalogue::KnownProblem& p : catalogue::Problems()) {
        const ProblemText text{p.comboIndex, p.objective, p.lines};
        OurAnswer ours;
        Compare(text, ModelOf(p), p.name, &ours);
        const LpStatus known = p.outcome == catalogue::Outcome::Optimal      ? LpStatus::Optimal
                               : p.outcome == catalogue::Outcome::Infeasible ? LpStatus::Infeasible
                                                                              : LpStatus::Unbounded;
        EXPECT_EQ(ours.status, known) << p.name;
        if (known != LpStatus::Optimal) continue;
        EXPECT_NEAR(ours.reading.objective, p.objectiveValue, 1e-9) << p.name;
        if (p.values.empty()) continue;
        ASSERT_EQ(ours.reading.values.size(), p.values.size()) << p.name;
        for (size_t k = 0; k < p.values.size(); ++k) EXPECT_NEAR(ours.reading.values[k], p.values[k], 1e-9) << p.name;
    }
}

TEST(EndToEnd, GeneratedProblemsAgreeWithGlpk) {
    ASSERT_TRUE(GlpsolAvailable()) << "glpsol is not installed (package glpk-utils; `make setup` installs it)";
    Typist ty(20240611u);
    std::map<LpStatus, int> seen;
    for (int k = 0; k < 40; ++k) {
        const Generated g = Generate(ty);
        std::string what = "generated #" + std::to_string(k) + ": " + g.text.objective;
        for (const std::string& line : g.text.lines) what += " | " + line;
        OurAnswer ours;
        Compare(g.text, g.model, what, &ours);
        ++seen[ours.status];
    }
    // The set must exercise every ending, or it proves little.
    EXPECT_GE(seen[LpStatus::Optimal], 5);
    EXPECT_GE(seen[LpStatus::Infeasible], 2);
    EXPECT_GE(seen[LpStatus::Unbounded], 2);
}

} // namespace
} // namespace optimara::testing
