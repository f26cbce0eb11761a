// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An independent judge for end-to-end tests: a linear programme held as
// plain data, written as a CPLEX LP file and solved by glpsol.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace optimara::testing {

struct LpTerm {
    double coef;
    std::string var;  // as typed; compared without case
};

struct LpRow {
    std::vector<LpTerm> terms;
    char rel;  // '<' means <=, '>' means >=, '='
    double rhs;
};

struct LpModel {
    bool maximize = true;
    std::vector<LpTerm> objective;
    std::vector<LpRow> rows;
};

enum class LpStatus { Optimal, Infeasible, Unbounded, Unknown };

struct LpAnswer {
    LpStatus status = LpStatus::Unknown;
    double objective = 0.0;
    std::string raw;  // the status line, for messages
};

inline std::string LpName(const std::string& typed) {
    std::string name = "v_";
    for (char c : typed) name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
    return name;
}

inline void WriteTerms(std::ostream& out, const std::vector<LpTerm>& terms) {
    bool first = true;
    for (const LpTerm& t : terms) {
        out << (t.coef < 0 ? " - " : (first ? " " : " + "));
        char number[64];
        std::snprintf(number, sizeof number, "%.17g", t.coef < 0 ? -t.coef : t.coef);
        out << number << ' ' << LpName(t.var);
        first = false;
    }
}

// Every variable is declared free and every typed line, sign lines
// included, becomes a constraint: the same feasible set, stated plainly.
inline std::string LpText(const LpModel& model) {
    std::ostringstream out;
    std::set<std::string> vars;
    out << (model.maximize ? "Maximize" : "Minimize") << "\n obj:";
    WriteTerms(out, model.objective);
    for (const LpTerm& t : model.objective) vars.insert(LpName(t.var));
    out << "\nSubject To\n";
    int k = 0;
    for (const LpRow& row : model.rows) {
        out << " c" << ++k << ':';
        WriteTerms(out, row.terms);
        char number[64];
        std::snprintf(number, sizeof number, "%.17g", row.rhs);
        out << (row.rel == '<' ? " <= " : row.rel == '>' ? " >= " : " = ") << number << '\n';
        for (const LpTerm& t : row.terms) vars.insert(LpName(t.var));
    }
    out << "Bounds\n";
    for (const std::string& v : vars) out << ' ' << v << " free\n";
    out << "End\n";
    return out.str();
}

inline bool GlpsolAvailable() { return std::system("glpsol --version >/dev/null 2>&1") == 0; }

// What glpsol wrote: its solution report and, when asked for, its
// sensitivity report.
struct GlpkRun {
    std::string output;
    std::string ranges;
};

inline std::string ReadWhole(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs glpsol on an LP text in a private temporary folder.
inline GlpkRun RunGlpsol(const std::string& lp, const std::string& options, bool ranges = false) {
    char folder[] = "/tmp/optimara-glpk-XXXXXX";
    GlpkRun run;
    if (mkdtemp(folder) == nullptr) return run;
    const std::string dir = folder;
    { std::ofstream(dir + "/p.lp") << lp; }
    const std::string command = "glpsol --nopresol " + options + " --lp " + dir + "/p.lp -o " + dir + "/out.txt" +
                                (ranges ? " --ranges " + dir + "/ranges.txt" : "") + " >" + dir + "/log.txt 2>&1";
    std::system(command.c_str());
    run.output = ReadWhole(dir + "/out.txt");
    if (ranges) run.ranges = ReadWhole(dir + "/ranges.txt");
    std::system(("rm -rf " + dir).c_str());
    return run;
}

inline LpAnswer ParseAnswer(const std::string& output) {
    LpAnswer answer;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Status:", 0) == 0) {
            answer.raw = line;
            if (line.find("OPTIMAL") != std::string::npos)
                answer.status = LpStatus::Optimal;
            else if (line.find("INFEASIBLE") != std::string::npos)
                answer.status = LpStatus::Infeasible;
            else if (line.find("UNBOUNDED") != std::string::npos)
                answer.status = LpStatus::Unbounded;
        } else if (line.rfind("Objective:", 0) == 0) {
            const size_t eq = line.find('=');
            if (eq != std::string::npos) answer.objective = std::strtod(line.c_str() + eq + 1, nullptr);
        }
    }
    return answer;
}

// `exact` solves in rational arithmetic, for answers that floating point
// may get wrong.
inline LpAnswer SolveWithGlpk(const LpModel& model, bool exact = false) {
    return ParseAnswer(RunGlpsol(LpText(model), exact ? "--exact" : "").output);
}

} // namespace optimara::testing
