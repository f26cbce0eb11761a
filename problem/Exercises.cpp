// SPDX-License-Identifier: GPL-3.0-or-later
#include "Exercises.h"

#include <algorithm>
#include <array>
#include <memory>

#include "BranchAndBound.h"
#include "BuildProblem.h"
#include "LpExport.h"

namespace optimara {
namespace {

struct KindTexts {
    ExerciseKind kind;
    const char* name;
    const char* caption;
};

const std::array<KindTexts, 6> kKinds = {{
    {ExerciseKind::Unique, "unico", "óptimo único"},
    {ExerciseKind::Degenerate, "degenerado", "degenerado"},
    {ExerciseKind::Alternative, "alternativos", "óptimos alternativos"},
    {ExerciseKind::Unbounded, "ilimitado", "ilimitado"},
    {ExerciseKind::Infeasible, "infactible", "no factible"},
    {ExerciseKind::IntegerGap, "entero", "entero con hueco"},
}};

const KindTexts& TextsOf(ExerciseKind kind) {
    for (const KindTexts& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds[0];
}

// The numbers a student meets on the way: no tableau of either path may
// hold a denominator or a size beyond these.
constexpr unsigned kLargestDenominator = 12;
constexpr int kLargestValue = 100;
// Beyond these a candidate is drawn again: pivots of one path, nodes of the
// integer search, and candidates drawn for one request.
constexpr int kMaxSteps = 30;
constexpr size_t kMaxNodes = 25;
constexpr int kAttempts = 4000;

const char* const kNames[] = {"x", "y", "z", "w"};

// splitmix64: a whole-number generator whose draws are the same on every
// machine and library, unlike the standard distributions.
class Draws {
public:
    explicit Draws(uint64_t seed) : state_(seed) {}
    uint64_t Next() {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Between(int lo, int hi) { return lo + static_cast<int>(Next() % static_cast<uint64_t>(hi - lo + 1)); }
    bool OneIn(int k) { return Next() % static_cast<uint64_t>(k) == 0; }
    template <class T>
    void Shuffle(std::vector<T>& v) {
        for (size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[Next() % i]);
    }

private:
    uint64_t state_;
};

struct Row {
    std::vector<int> a;
    char rel = '<';
    int b = 0;
};

struct Candidate {
    std::vector<int> c;
    std::vector<Row> rows;
};

int Dot(const std::vector<int>& a, const std::vector<int>& p) {
    int s = 0;
    for (size_t j = 0; j < a.size(); ++j) s += a[j] * p[j];
    return s;
}

bool AllZero(const std::vector<int>& a) {
    return std::all_of(a.begin(), a.end(), [](int v) { return v == 0; });
}

// --- Drawing. Each kind draws where its end is likely; the engine judges.

// Small non-negative coefficients that reach the point's positive
// coordinates, so that a line through the point has a positive right side.
std::vector<int> DrawRowThrough(Draws& d, const std::vector<int>& p) {
    std::vector<int> a(p.size());
    for (int tries = 0; tries < 20; ++tries) {
        for (int& v : a) v = d.OneIn(3) ? 0 : d.Between(1, 3);
        if (Dot(a, p) > 0) return a;
    }
    for (size_t j = 0; j < p.size(); ++j) a[j] = p[j] > 0 ? 1 : 0;
    return a;
}

// Unique, degenerate and alternative optima: a whole point p where n
// constraints hold with equality (n + 1 for a degenerate vertex), some of
// them sign lines of coordinates at 0, and an objective in the cone of
// their normals, so that p is optimal; the alternative kind leaves one
// normal out of the objective, so that the face along it is optimal too.
Candidate DrawAtVertex(const ExerciseRequest& q, Draws& d) {
    const int n = static_cast<int>(q.variables), lines = static_cast<int>(q.lines);
    const int need = n + (q.kind == ExerciseKind::Degenerate ? 1 : 0);
    const int tight = d.Between(std::max(1, need - (n - 1)), std::min(lines, need));
    std::vector<int> order(size_t(n), 0), p(size_t(n), 0);
    for (int j = 0; j < n; ++j) order[size_t(j)] = j;
    d.Shuffle(order);
    for (int k = need - tight; k < n; ++k) p[size_t(order[size_t(k)])] = d.Between(1, 3);
    const char tightRel = q.maximize || !q.greaterAndEqual ? '<' : '>';
    Candidate cand;
    std::vector<int> dir(size_t(n), 0);
    const int dropped = q.kind == ExerciseKind::Alternative ? d.Between(0, need - 1) : -1;
    for (int i = 0; i < lines; ++i) {
        Row row{DrawRowThrough(d, p), tightRel, 0};
        const int at = Dot(row.a, p);
        if (i < tight) {
            row.b = at;
            const int weight = i == dropped ? 0 : d.Between(1, 2) * (tightRel == '<' ? 1 : -1);
            for (int j = 0; j < n; ++j) dir[size_t(j)] += weight * row.a[size_t(j)];
        } else {
            if (q.greaterAndEqual && d.OneIn(3)) row.rel = tightRel == '<' ? '>' : '<';
            const int slack = d.Between(1, 6);
            row.b = row.rel == '<' ? at + slack : at - slack;
            if (row.b <= 0) row.rel = '<', row.b = at + slack;
        }
        cand.rows.push_back(row);
    }
    // The sign lines of the coordinates at 0, with outward normal -e_j.
    for (int k = 0; k < need - tight; ++k)
        if (tight + k != dropped) dir[size_t(order[size_t(k)])] -= d.Between(1, 2);
    for (int v : dir) cand.c.push_back(q.maximize ? v : -v);
    d.Shuffle(cand.rows);
    return cand;
}

// An unbounded problem: a direction r >= 0 that improves the objective and
// that no «≤» line stops; the «≥» lines are met far enough along it.
Candidate DrawUnbounded(const ExerciseRequest& q, Draws& d) {
    const size_t n = q.variables;
    std::vector<int> r(n), dir(n);
    for (int& v : r) v = d.Between(0, 2);
    if (AllZero(r)) r[d.Next() % n] = 1;
    for (int& v : dir) v = d.Between(-1, 4);
    while (Dot(dir, r) <= 0)
        for (size_t j = 0; j < n; ++j)
            if (r[j] > 0) ++dir[j];
    Candidate cand;
    for (uint32_t i = 0; i < q.lines; ++i) {
        Row row;
        row.a.assign(n, 0);
        row.rel = q.greaterAndEqual && d.OneIn(3) ? '>' : '<';
        for (int tries = 0; tries < 20; ++tries) {
            for (int& v : row.a) v = row.rel == '<' ? d.Between(-2, 3) : d.Between(0, 3);
            const int along = Dot(row.a, r);
            if (!AllZero(row.a) && (row.rel == '<' ? along <= 0 : along > 0)) break;
        }
        if (row.rel == '<' && Dot(row.a, r) > 0)
            for (size_t j = 0; j < n; ++j)
                if (r[j] > 0) row.a[j] = -std::abs(row.a[j]);
        if (row.rel == '>' && Dot(row.a, r) <= 0) row.a = r;
        if (AllZero(row.a)) row.a[0] = row.rel == '<' && r[0] > 0 ? -1 : 1;
        row.b = row.rel == '<' ? d.Between(1, 8) : d.Between(1, 6);
        cand.rows.push_back(row);
    }
    for (int v : dir) cand.c.push_back(q.maximize ? v : -v);
    return cand;
}

// An infeasible problem: one or two «≤» lines whose sum bounds g·x from
// above for every x >= 0, and a «≥» (or «=») line asking g·x for more.
Candidate DrawInfeasible(const ExerciseRequest& q, Draws& d) {
    const size_t n = q.variables;
    Candidate cand;
    const int summed = q.lines >= 3 && d.OneIn(2) ? 2 : 1;
    std::vector<int> sum(n, 0);
    int bound = 0;
    for (int i = 0; i < summed; ++i) {
        Row row{std::vector<int>(n), '<', d.Between(2, 8)};
        for (int& v : row.a) v = d.Between(0, 3);
        if (AllZero(row.a)) row.a[d.Next() % n] = 2;
        for (size_t j = 0; j < n; ++j) sum[j] += row.a[j];
        bound += row.b;
        cand.rows.push_back(row);
    }
    Row conflict{std::vector<int>(n), d.OneIn(4) ? '=' : '>', bound + d.Between(1, 4)};
    for (size_t j = 0; j < n; ++j) conflict.a[j] = d.Between(0, sum[j]);
    if (AllZero(conflict.a))
        conflict.a[size_t(std::max_element(sum.begin(), sum.end()) - sum.begin())] = 1;
    cand.rows.push_back(conflict);
    while (cand.rows.size() < q.lines) {
        Row row{std::vector<int>(n), d.OneIn(2) ? '<' : '>', 0};
        for (int& v : row.a) v = d.Between(0, 3);
        if (AllZero(row.a)) row.a[d.Next() % n] = 1;
        row.b = row.rel == '<' ? d.Between(2, 10) : d.Between(1, 4);
        cand.rows.push_back(row);
    }
    for (size_t j = 0; j < n; ++j) cand.c.push_back(d.Between(1, 5));
    d.Shuffle(cand.rows);
    return cand;
}

// An integer problem whose region is bounded in the objective's direction:
// maximize over «≤» lines of non-negative coefficients, or minimize a
// positive objective over mostly «≥» lines (a negative one over «≤» lines).
Candidate DrawInteger(const ExerciseRequest& q, Draws& d) {
    const size_t n = q.variables;
    const bool covering = !q.maximize && q.greaterAndEqual;
    Candidate cand;
    for (uint32_t i = 0; i < q.lines; ++i) {
        Row row{std::vector<int>(n), covering ? '>' : '<', 0};
        if (q.greaterAndEqual && d.OneIn(3)) row.rel = covering ? '<' : '>';
        for (int& v : row.a) v = d.OneIn(4) ? 0 : d.Between(1, 4);
        if (AllZero(row.a)) row.a[d.Next() % n] = 1;
        const bool main = (row.rel == '<') != covering;
        row.b = main ? d.Between(4, 15) : d.Between(1, 4);
        if (covering && row.rel == '<') row.b = d.Between(12, 20);
        cand.rows.push_back(row);
    }
    for (size_t j = 0; j < n; ++j) {
        const int v = d.Between(1, 6);
        cand.c.push_back(q.maximize || covering ? v : -v);
    }
    return cand;
}

Candidate DrawCandidate(const ExerciseRequest& q, Draws& d) {
    switch (q.kind) {
    case ExerciseKind::Unbounded: return DrawUnbounded(q, d);
    case ExerciseKind::Infeasible: return DrawInfeasible(q, d);
    case ExerciseKind::IntegerGap: return DrawInteger(q, d);
    default: return DrawAtVertex(q, d);
    }
}

// --- Typing: the candidate in the program's own syntax.

std::string Side(const std::vector<int>& a, bool keepZeros) {
    std::string s;
    for (size_t j = 0; j < a.size(); ++j) {
        const int v = a[j];
        if (v == 0 && !keepZeros) continue;
        if (v >= 0 && !s.empty()) s += '+';
        s += v == 1 ? "" : v == -1 ? "-" : std::to_string(v);
        s += kNames[j];
    }
    return s;
}

ProblemText TextOf(const Candidate& cand, const ExerciseRequest& q) {
    ProblemText text;
    text.comboIndex = q.maximize ? 1 : 0;
    // Zero coefficients are written so that the columns keep the order of
    // the names, which the picture takes for its axes.
    text.objective = Side(cand.c, true);
    for (const Row& row : cand.rows) text.lines.push_back(Side(row.a, false) + row.rel + std::to_string(row.b));
    std::string integers;
    for (uint32_t j = 0; j < q.variables; ++j) {
        text.lines.push_back(std::string(kNames[j]) + ">0");
        integers += (j > 0 ? ", " : "") + std::string(kNames[j]);
    }
    if (q.kind == ExerciseKind::IntegerGap) text.lines.push_back("entero: " + integers);
    return text;
}

// --- Judging: the engine's own paths, in exact arithmetic.

bool SmallTableau(const MatrixQ& t) {
    for (uint32_t i = 1; i <= t.rows; ++i)
        for (uint32_t j = 1; j <= t.cols; ++j) {
            const mpq_class& v = t.Index(i, j);
            if (v.get_den() > kLargestDenominator || abs(v) > kLargestValue) return false;
        }
    return true;
}

// A basic variable at 0: a constraint row whose constant is 0.
bool DegenerateTableau(const MatrixQ& t) {
    for (uint32_t i = 1; i < t.rows; ++i)
        if (t.Index(i, t.cols) == 0) return true;
    return false;
}

struct Path {
    std::unique_ptr<ProblemState> last = std::make_unique<ProblemState>();
    bool degenerate = false;
    int pivots = 0;
};

// The text built and stepped to its end with one rule; false when it does
// not read, does not end soon, or shows a tableau beyond the small numbers.
bool WalkPath(const ProblemText& text, PivotRule rule, Path& path) {
    ProblemState& s = *path.last;
    s.Exact = true;
    s.Rule = rule;
    BuildReport report;
    BuildProblem(s, text, report);
    if (!report.errorPanel.empty()) return false;
    for (int steps = 0;; ++steps) {
        if (!SmallTableau(s.ExactTableau)) return false;
        path.degenerate = path.degenerate || DegenerateTableau(s.ExactTableau);
        if (s.Stage != SolveStage::Choosing) return Ended(s.Stage);
        if (steps == kMaxSteps) return false;
        NextStep(s);
        ++path.pivots;
    }
}

// At an optimum: every reduced cost is nonzero (no other optimum), or some
// column of reduced cost 0 can enter and leads to another vertex.
bool NoZeroReducedCost(const MatrixQ& t) {
    for (uint32_t j = 1; j < t.cols; ++j)
        if (t.Index(t.rows, j) == 0) return false;
    return true;
}

bool AnotherOptimalVertex(const MatrixQ& t) {
    for (uint32_t j = 1; j < t.cols; ++j) {
        if (t.Index(t.rows, j) != 0) continue;
        for (const ExactRowRatio& r : RatioTest(t, 0, j))
            if (r.part == RowPart::Limits && r.tied && r.ratio != 0) return true;
    }
    return false;
}

bool PathHasKind(ExerciseKind kind, const Path& path) {
    const ProblemState& s = *path.last;
    // An exercise ended at its first tableau leaves the student nothing to do.
    if (path.pivots == 0) return false;
    switch (kind) {
    case ExerciseKind::Unique:
        return s.Stage == SolveStage::Optimal && !path.degenerate && NoZeroReducedCost(s.ExactTableau);
    case ExerciseKind::Degenerate: return s.Stage == SolveStage::Optimal && path.degenerate;
    case ExerciseKind::Alternative: return s.Stage == SolveStage::Optimal && AnotherOptimalVertex(s.ExactTableau);
    case ExerciseKind::Unbounded: return s.Stage == SolveStage::Unbounded;
    case ExerciseKind::Infeasible: return s.Stage == SolveStage::Infeasible;
    case ExerciseKind::IntegerGap: return s.Stage == SolveStage::Optimal;
    }
    return false;
}

using Values = std::vector<std::pair<std::string, std::string>>;

Values SolutionOf(ProblemState& s, uint32_t variables, bool maximize) {
    const SolutionReading reading = ReadSolution(s.Tableau, s.Labels, s.SignMarks, maximize);
    Values values;
    for (uint32_t v = 0; v < variables; ++v) values.push_back({kNames[v], ExactValue(s, reading.places[v]).get_str()});
    return values;
}

// The alternative kind's second optimal vertex: a column of reduced cost 0
// pivoted in, where its ratio moves, on the optimal tableau itself. Empty
// when no such pivot stays within the small numbers.
Values OtherOptimalVertex(ProblemState& s, uint32_t variables, bool maximize) {
    MatrixQ& t = s.ExactTableau;
    for (uint32_t j = 1; j < t.cols; ++j) {
        if (t.Index(t.rows, j) != 0) continue;
        for (const ExactRowRatio& r : RatioTest(t, 0, j)) {
            if (r.part != RowPart::Limits || !r.tied || r.ratio == 0) continue;
            MatrixZ marks(t.rows - 1, t.cols - 1);
            marks.Index(r.row, j) = 2;
            PivotStep(t, marks, 1, s.Labels);
            if (!SmallTableau(t)) return {};
            MatrixR rounded = t.ToReal();
            s.Tableau.Swap(rounded);
            return SolutionOf(s, variables, maximize);
        }
    }
    return {};
}

struct IntegerEnd {
    mpq_class value;
    std::vector<mpq_class> solution;
};

// The branch and bound search with one rule, every node's path within the
// small numbers; false when it ends otherwise than optimal or takes long.
bool SearchInteger(const ProblemText& text, PivotRule rule, IntegerEnd& end) {
    ProblemModel model;
    BuildReport report;
    if (!ModelFromText(model, text, report, true)) return false;
    RandomGenerator random;
    const BranchResult r = BranchAndBound(text, model, random, rule, [] { return false; }, true);
    if (r.stage != SolveStage::Optimal || r.best == 0 || r.nodes.size() > kMaxNodes) return false;
    for (const BranchNode& node : r.nodes) {
        Path path;
        if (!WalkPath(NodeText(text, model, node.bounds), rule, path)) return false;
    }
    end.value = r.nodes[size_t(r.best - 1)].exactValue;
    end.solution = r.nodes[size_t(r.best - 1)].exactSolution;
    return true;
}

// The integer kind: both searches end at the same integer optimum, which
// is not the relaxation's.
bool IntegerGapHolds(const ExerciseRequest& q, ExerciseResult& result, const mpq_class& relaxed) {
    IntegerEnd first, second;
    if (!SearchInteger(result.text, PivotRule::LargestCoefficient, first) ||
        !SearchInteger(result.text, PivotRule::SmallestIndex, second) || first.value != second.value ||
        first.value == relaxed)
        return false;
    result.relaxationOptimum = result.optimum;
    result.relaxationSolution = result.solution;
    result.optimum = first.value.get_str();
    result.solution.clear();
    for (uint32_t v = 0; v < q.variables; ++v) result.solution.push_back({kNames[v], first.solution[v].get_str()});
    return true;
}

// Two lines of proportional left sides and the same relation: one of them
// says nothing a student should have to discard.
bool RepeatsALine(const Candidate& cand) {
    for (size_t i = 0; i < cand.rows.size(); ++i)
        for (size_t k = i + 1; k < cand.rows.size(); ++k) {
            const Row &r = cand.rows[i], &s = cand.rows[k];
            bool proportional = r.rel == s.rel;
            for (size_t j = 0; j < r.a.size() && proportional; ++j)
                for (size_t l = j + 1; l < r.a.size() && proportional; ++l)
                    proportional = r.a[j] * s.a[l] == r.a[l] * s.a[j];
            for (size_t j = 0; j < r.a.size() && proportional; ++j)
                proportional = (r.a[j] == 0) == (s.a[j] == 0) && (r.a[j] > 0) == (s.a[j] > 0);
            if (proportional) return true;
        }
    return false;
}

// The candidate's text, judged; the key filled in when the kind holds.
bool Judge(const ExerciseRequest& q, const Candidate& cand, ExerciseResult& result) {
    if (AllZero(cand.c) || RepeatsALine(cand)) return false;
    result.text = TextOf(cand, q);
    Path largest, bland;
    if (!WalkPath(result.text, PivotRule::LargestCoefficient, largest) || !PathHasKind(q.kind, largest) ||
        !WalkPath(result.text, PivotRule::SmallestIndex, bland) || !PathHasKind(q.kind, bland))
        return false;
    ProblemState& s = *largest.last;
    result.status = s.Stage == SolveStage::Optimal ? "óptimo" : s.Stage == SolveStage::Unbounded ? "ilimitado"
                                                                                                 : "no factible";
    if (s.Stage != SolveStage::Optimal) return true;
    const mpq_class value = ExactObjective(s, q.maximize);
    if (value != ExactObjective(*bland.last, q.maximize)) return false;
    result.optimum = value.get_str();
    result.solution = SolutionOf(s, q.variables, q.maximize);
    if (q.kind == ExerciseKind::Alternative) {
        result.otherSolution = OtherOptimalVertex(s, q.variables, q.maximize);
        if (result.otherSolution.empty()) return false;
    }
    return q.kind != ExerciseKind::IntegerGap || IntegerGapHolds(q, result, value);
}

std::string RefusalOf(const ExerciseRequest& q) {
    if (q.variables < 2 || q.variables > 4) return "El número de variables debe estar entre 2 y 4.";
    if (q.lines < 2 || q.lines > 5) return "El número de líneas debe estar entre 2 y 5.";
    if (q.kind == ExerciseKind::Infeasible && !q.greaterAndEqual)
        return "Un problema no factible necesita líneas «≥» o «=»: con solo líneas «≤» de lado derecho "
               "positivo el origen siempre es factible.";
    if (q.kind == ExerciseKind::IntegerGap && !q.integer)
        return "El tipo «entero con hueco» necesita variables enteras.";
    if (q.kind != ExerciseKind::IntegerGap && q.integer)
        return "Solo el tipo «entero con hueco» lleva variables enteras.";
    return "";
}

// Every request draws from its own stream: the seed and every choice of
// the request make the generator's start.
uint64_t StreamOf(const ExerciseRequest& q) {
    const uint64_t shape = uint64_t(q.kind) * 1000 + q.variables * 100 + q.lines * 10 +
                           (q.maximize ? 1 : 0) * 4 + (q.greaterAndEqual ? 1 : 0) * 2 + (q.integer ? 1 : 0);
    Draws mix(q.seed);
    return mix.Next() ^ (shape * 0xD6E8FEB86659FD93ull);
}

std::string ValuesText(const Values& values) {
    std::string s;
    for (const auto& [name, value] : values) s += (s.empty() ? "" : ", ") + name + " = " + value;
    return s;
}

} // namespace

const std::vector<ExerciseKind>& ExerciseKinds() {
    static const std::vector<ExerciseKind> kinds = {ExerciseKind::Unique,     ExerciseKind::Degenerate,
                                                    ExerciseKind::Alternative, ExerciseKind::Unbounded,
                                                    ExerciseKind::Infeasible,  ExerciseKind::IntegerGap};
    return kinds;
}

std::string ExerciseKindName(ExerciseKind kind) { return TextsOf(kind).name; }
std::string ExerciseKindCaption(ExerciseKind kind) { return TextsOf(kind).caption; }

std::optional<ExerciseKind> ExerciseKindFromName(const std::string& name) {
    for (const KindTexts& k : kKinds)
        if (name == k.name) return k.kind;
    return std::nullopt;
}

std::optional<ExerciseKind> ExerciseKindFromCaption(const std::string& caption) {
    for (const KindTexts& k : kKinds)
        if (caption == k.caption) return k.kind;
    return std::nullopt;
}

ExerciseResult MakeExercise(const ExerciseRequest& request) {
    ExerciseResult result;
    result.refusal = RefusalOf(request);
    if (!result.refusal.empty()) return result;
    Draws draws(StreamOf(request));
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        ExerciseResult candidate;
        if (Judge(request, DrawCandidate(request, draws), candidate)) {
            candidate.made = true;
            return candidate;
        }
    }
    result.refusal = "No se ha encontrado ningún ejercicio «" + ExerciseKindCaption(request.kind) +
                     "» con números pequeños para esta semilla y este tamaño; pruebe otra semilla u otro tamaño.";
    return result;
}

std::string ExerciseListing(const ExerciseResult& result, bool withKey) {
    if (!result.made) return "; " + result.refusal + "\n";
    std::string out = result.text.comboIndex == 1 ? "Maximizar\n" : "Minimizar\n";
    out += result.text.objective + "\n";
    for (const std::string& line : result.text.lines) out += line + "\n";
    if (!withKey) return out;
    out += "; clave\n; estado: " + result.status + "\n";
    if (!result.relaxationOptimum.empty()) {
        out += "; relajación lineal: óptimo " + result.relaxationOptimum + " en " +
               ValuesText(result.relaxationSolution) + "\n";
        out += "; óptimo entero: " + result.optimum + "\n; solución entera: " + ValuesText(result.solution) + "\n";
    } else if (!result.optimum.empty()) {
        out += "; óptimo: " + result.optimum + "\n; solución: " + ValuesText(result.solution) + "\n";
        if (!result.otherSolution.empty())
            out += "; otra solución óptima: " + ValuesText(result.otherSolution) + "\n";
    }
    return out;
}

} // namespace optimara
