// SPDX-License-Identifier: GPL-3.0-or-later
// LP and MPS files read into the typed problem: the export read back, files
// glpsol wrote, hand-written files for each construct (against glpsol on
// the same file and against lines worked by hand), and the refusals.
#include <cstdlib>
#include <fstream>
#include <random>

#include "BranchAndBound.h"
#include "Comparison.h"
#include "LpExport.h"
#include "ModelImport.h"
#include "TestHelpers.h"
#include "catalogue/Catalogue.h"

namespace optimara::testing {
namespace {

enum class Format { Lp, Mps, FreeMps };

ImportResult Import(Format format, const std::string& text) {
    return format == Format::Lp ? ImportLp(text) : ImportMps(text);
}

struct End {
    LpStatus status = LpStatus::Unknown;
    double objective = 0.0;
};

// The program's own end: the solve button, or branch and bound for a
// problem with integer variables.
End SolveOurs(const ProblemText& text) {
    ProblemModel model;
    BuildReport report;
    if (!ModelFromText(model, text, report)) {
        ADD_FAILURE() << "the imported text does not read: " << report.errorPanel;
        return {};
    }
    if (!model.integers.empty()) {
        RandomGenerator random;
        const BranchResult r = BranchAndBound(text, model, random, PivotRule::Random, [] { return true; });
        if (r.stage != SolveStage::Optimal) return {r.stage == SolveStage::Infeasible ? LpStatus::Infeasible : LpStatus::Unknown, 0};
        return {LpStatus::Optimal, r.nodes[size_t(r.best - 1)].value};
    }
    HeadlessHost host;
    host.text = text;
    Button1Click(host);
    EXPECT_EQ(host.errorPanel, "");
    const SolutionReading reading =
        ReadSolution(host.state.Tableau, host.state.Labels, host.state.SignMarks, text.comboIndex == 1);
    return {StatusOfPanel(host.statusPanel), reading.objective};
}

// glpsol on the very text of the file; `convert` also has it write the
// problem as fixed and free MPS.
LpAnswer Glpsol(Format format, const std::string& text, std::string* fixed = nullptr, std::string* free = nullptr) {
    char folder[] = "/tmp/optimara-import-XXXXXX";
    if (mkdtemp(folder) == nullptr) return {};
    const std::string dir = folder;
    { std::ofstream(dir + "/p") << text; }
    const char* option = format == Format::Lp ? "--lp" : format == Format::Mps ? "--mps" : "--freemps";
    std::string command = std::string("glpsol --nopresol ") + option + " " + dir + "/p -o " + dir + "/out";
    if (fixed != nullptr) command += " --wmps " + dir + "/fixed --wfreemps " + dir + "/free";
    std::system((command + " >" + dir + "/log 2>&1").c_str());
    const LpAnswer answer = ParseAnswer(ReadWhole(dir + "/out"));
    if (fixed != nullptr) *fixed = ReadWhole(dir + "/fixed"), *free = ReadWhole(dir + "/free");
    std::system(("rm -rf " + dir).c_str());
    return answer;
}

void ExpectSameEnd(const End& ours, LpStatus status, double objective, const std::string& what) {
    EXPECT_EQ(StatusName(ours.status), StatusName(status)) << what;
    if (ours.status == LpStatus::Optimal && status == LpStatus::Optimal) {
        EXPECT_NEAR(ours.objective, objective, 1e-6 * std::max(1.0, std::fabs(objective))) << what;
    }
}

std::vector<std::pair<std::string, ProblemText>> RoundTripProblems() {
    std::vector<std::pair<std::string, ProblemText>> out;
    for (const catalogue::KnownProblem& p : catalogue::Problems())
        out.push_back({p.name, {p.comboIndex, p.objective, p.lines}});
    for (const Family& family : Families()) {
        std::mt19937 rng(4242u);
        for (int k = 0; k < 5; ++k) {
            const TypedProblem p = family.make(rng);
            out.push_back({std::string(family.name) + ": " + Describe(p), p.text});
        }
    }
    out.push_back({"integers", {1, "3x+2y", {"x+y<4.5", "x+3y<6", "x>0", "y>0", "entero: x, y"}}});
    return out;
}

// The export read back ends where the typed problem ends, and where
// glpsol ends on the exported file; glpsol's MPS of it, read back, ends
// where glpsol ends on that MPS (which has no sense: it minimises).
TEST(ModelImport, ExportAndGlpsolMpsReadBackToTheSameEnd) {
    const bool glpsol = GlpsolAvailable();
    for (const auto& [name, typed] : RoundTripProblems()) {
        ProblemModel model;
        BuildReport report;
        ASSERT_TRUE(ModelFromText(model, typed, report)) << name << ": " << report.errorPanel;
        const std::string lp = LpText(model);
        const ImportResult back = ImportLp(lp);
        ASSERT_TRUE(back.ok) << name << ": " << back.refusal << "\n" << lp;
        const End original = SolveOurs(typed), read = SolveOurs(back.text);
        ExpectSameEnd(read, original.status, original.objective, name);
        if (!glpsol) continue;
        std::string fixed, free;
        const LpAnswer onLp = Glpsol(Format::Lp, lp, &fixed, &free);
        ExpectSameEnd(read, onLp.status, onLp.objective, name + " (glpsol on the LP file)");
        for (const auto& [format, mps] : {std::pair{Format::Mps, fixed}, std::pair{Format::FreeMps, free}}) {
            const ImportResult fromMps = ImportMps(mps);
            ASSERT_TRUE(fromMps.ok) << name << ": " << fromMps.refusal << "\n" << mps;
            const LpAnswer onMps = Glpsol(format, mps);
            ExpectSameEnd(SolveOurs(fromMps.text), onMps.status, onMps.objective, name + " (MPS)\n" + mps);
        }
    }
    if (!glpsol) GTEST_SKIP() << "glpsol is not installed: only the program's own ends were compared";
}

// A line of fixed MPS: its fields in columns 2, 5, 15, 25, 40 and 50.
std::string Fixed(const std::string& f1, const std::string& f2, const std::string& f3 = "", const std::string& f4 = "",
                  const std::string& f5 = "", const std::string& f6 = "") {
    std::string line(61, ' ');
    const size_t at[] = {1, 4, 14, 24, 39, 49};
    const std::string* f[] = {&f1, &f2, &f3, &f4, &f5, &f6};
    for (int k = 0; k < 6; ++k) line.replace(at[k], f[k]->size(), *f[k]);
    while (line.back() == ' ') line.pop_back();
    return line + "\n";
}

std::string Written(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// Names the format cannot hold come back as the user typed them, from the
// export's own comments; so does every line.
TEST(ModelImport, TheExportReadsBackToTheTypedText) {
    const std::vector<ProblemText> cases = {
        {1, "3año+2B-x'", {"año+B<4", "B-x'>-2.5", "año>0", "B>0"}},
        {0, "max+2uÑ", {"max+uÑ>1", "max<7", "max>0", "uÑ>0", "entero: max, uÑ"}},
    };
    for (const ProblemText& typed : cases) {
        ProblemModel model;
        BuildReport report;
        ASSERT_TRUE(ModelFromText(model, typed, report)) << report.errorPanel;
        const std::string lp = LpText(model);
        const ImportResult back = ImportLp(lp);
        ASSERT_TRUE(back.ok) << back.refusal;
        EXPECT_EQ(back.text.comboIndex, typed.comboIndex) << lp;
        EXPECT_EQ(back.text.objective, typed.objective) << lp;
        EXPECT_EQ(back.text.lines, typed.lines) << lp;
    }
}

struct FileCase {
    const char* name;
    Format format;
    std::string file;
    int comboIndex;
    std::string objective;
    std::vector<std::string> lines;  // worked by hand
    bool glpsolReads;                // glpsol reads the file as the program does
};

const std::vector<FileCase>& FileCases() {
    static const std::vector<FileCase> cases = {
        {"named objective, comments, default bounds", Format::Lp,
         "\\ a comment\nMaximize\n obj: 3 x + 2 y \\ profit\nSubject To\n c1: x + y <= 4\n c2: x + 3 y <= 6\nEnd\n", 1,
         "3x+2y", {"x+y<4", "x+3y<6", "x>0", "y>0"}, true},
        {"unnamed objective, every relation, CRLF", Format::Lp,
         "max\r\n 3x + 2y\r\nst\r\n x + y =< 4\r\n x + 3y < 6\r\n x - y => -2\r\n x + y > 1\r\n x - 2y = -1\r\nend\r\n", 1,
         "3x+2y", {"x+y<4", "x+3y<6", "x-y>-2", "x+y>1", "x-2y=-1", "x>0", "y>0"}, true},
        {"terms over lines, keywords in capitals", Format::Lp,
         "MINIMIZE\n cost: 2 x\n   + 3 y\nSUBJECT TO\n x +\n  y >= 1\n c2: 2 x <= 5.5\nEND\n", 0, "2x+3y",
         {"x+y>1", "2x<5.5", "x>0", "y>0"}, true},
        {"s.t., plus infinity", Format::Lp,
         "Maximum\n x + y\ns.t.\n c: x + y <= 4\nBounds\n x <= +inf\n y <= +infinity\nEnd\n", 1, "x+y",
         {"x+y<4", "x>0", "y>0"}, true},
        {"British spelling, byte order mark", Format::Lp, "\xEF\xBB\xBFMaximise\n x\nst\n x <= 4\nEnd\n", 1, "x", {"x<4", "x>0"}, false},
        {"repeated terms, constants on the left, zero objective constant", Format::Lp,
         "MINIMIZE\n cost: 2 x + 0\n   + 3 y - x\nSUBJECT TO\n x +\n  y + x + 2 - 3 >= 1\n c2: 2 x - y + y <= 5.5\nEND\n", 0,
         "x+3y", {"2x+y>2", "2x<5.5", "x>0", "y>0"}, false},
        {"range, free, minus infinity, bounds below zero", Format::Lp,
         "Minimize\n obj: x + y - z\nSubject To\n r1: -5 <= x + y <= 7\n r2: x - z >= -3\n 2 >= w\nBounds\n x free\n"
         " -inf <= y <= 5\n z <= 4\n w >= -Infinity\n -3 <= v <= -1\n u <= -2\nEnd\n",
         0, "x+y-z", {"x+y>-5", "x+y<7", "x-z>-3", "w<2", "y<5", "z>0", "z<4", "v>-3", "v<-1", "u>0", "u<-2"}, false},
        {"fixed, positive lower bound, general and binary", Format::Lp,
         "Maximize\n obj: x + y + b + g\nSubject To\n c1: x + y + b + g <= 20\nBounds\n x = 3\n y >= 2\n y <= 10\n"
         " g <= 4\nGeneral\n g\nBinary\n b\nEnd\n",
         1, "x+y+b+g", {"x+y+b+g<20", "x=3", "y>0", "y>2", "y<10", "b>0", "b<1", "g>0", "g<4", "entero: b, g"}, true},
        {"names the typed text cannot hold, names apart only by case", Format::Lp,
         "Maximize\n obj: x + X + a,b + _1\nSubject To\n x + X + a,b + _1 <= 1e1\n x <= 1.5e-3\nEnd\n", 1,
         "x+X_2+a_b+_1",
         {"; «X_2» es «X» en el archivo", "; «a_b» es «a,b» en el archivo", "x+X_2+a_b+_1<10", "x<0.0015", "x>0",
          "X_2>0", "a_b>0", "_1>0"},
         true},
        {"fixed MPS: ranges, marker, bounds, zero objective RHS, names with blanks", Format::Mps,
         "NAME          TESTM\nROWS\n" + Fixed("N", "COST") + Fixed("L", "LIM 1") + Fixed("G", "LIM2") +
             Fixed("E", "MYEQN") + Fixed("E", "R4") + "COLUMNS\n" + Fixed("", "X 1", "COST", "1.0", "LIM 1", "1.0") +
             Fixed("", "X 1", "LIM2", "1.0") + Fixed("", "MARKER", "'MARKER'", "", "'INTORG'") +
             Fixed("", "X2", "COST", "2.0", "LIM 1", "1.0") + Fixed("", "X2", "MYEQN", "-1.0") +
             Fixed("", "MARKER", "'MARKER'", "", "'INTEND'") + Fixed("", "X3", "COST", "-1.0", "MYEQN", "1.0") +
             Fixed("", "X3", "R4", "1.0") + "RHS\n" + Fixed("", "RHS", "COST", "0.0") +
             Fixed("", "RHS", "LIM 1", "4.0", "LIM2", "1.0") + Fixed("", "RHS", "MYEQN", "1.0", "R4", "2") +
             "RANGES\n" + Fixed("", "RNG", "LIM 1", "2.5", "R4", "-3") + "BOUNDS\n" + Fixed("UP", "BND", "X 1", "4.0") +
             Fixed("LO", "BND", "X2", "-1.0") + Fixed("UP", "BND", "X2", "1.0") + Fixed("MI", "BND", "X3") + "ENDATA\n",
         0, "X_1+2X2-X3",
         {"; «X_1» es «X 1» en el archivo", "X_1+X2>1.5", "X_1+X2<4", "X_1>1", "-X2+X3=1", "X3>-1", "X3<2", "X_1>0",
          "X_1<4", "X2>-1", "X2<1", "entero: X2"},
         true},
        {"free MPS: OBJSENSE, E ranges both ways, FX FR PL BV LI UI, CRLF", Format::FreeMps,
         "NAME t\r\nOBJSENSE\r\n    MAX\r\nROWS\r\n N obj\r\n E e1\r\n E e2\r\n L c\r\nCOLUMNS\r\n a obj 1 e1 1\r\n b obj 1 e2 1\r\n"
         " c obj 1 c 1\r\n d obj -1 c 1\r\n f obj 1 c 1\r\n g obj 1 c 1\r\n h obj 1 c 1\r\nRHS\r\n e1 2 e2 3\r\n"
         " rhs c 100\r\nRANGES\r\n e1 4 e2 -1\r\nBOUNDS\r\n FX bnd a 4\r\n UP bnd b 5\r\n FR bnd c\r\n PL bnd d\r\n"
         " BV bnd f\r\n LI bnd g 2\r\n UI bnd g 7\r\n UI bnd h 3\r\nENDATA\r\n",
         1, "a+b+c-d+f+g+h", {"a>2", "a<6", "b>2", "b<3", "c+d+f+g+h<100", "a=4", "b>0", "b<5", "d>0", "f>0", "f<1",
                              "g>0", "g>2", "g<7", "h>0", "h<3", "entero: f, g, h"},
         false},
        {"MPS: negative UP without a lower bound, free rows, second RHS set", Format::FreeMps,
         "NAME\nROWS\n N cost\n N other\n G r\nCOLUMNS\n x cost 1 r 1\n x other 5\n y cost 2 r 1\nRHS\n rhs r -10\n"
         " rhs2 r 50\nBOUNDS\n UP bnd x -2\n UP bnd y -1\n LO bnd y -4\nENDATA\n",
         0, "x+2y",
         {"; x: cota UP negativa sin cota inferior; como es costumbre en MPS, la inferior es −∞", "x+y>-10", "x<-2",
          "y>-4", "y<-1"},
         false},
        {"MPS: OBJSENSE on its header line, a G row's range", Format::FreeMps,
         "NAME\nOBJSENSE MAXIMIZE\nROWS\n N z\n G g\nCOLUMNS\n x z 1 g 1\nRHS\n RHS g 2\nRANGES\n RNG g -3\n"
         "BOUNDS\n UP BND x 10\nENDATA\n",
         1, "x", {"x>2", "x<5", "x>0", "x<10"}, false},
        {"MPS: a marked integer without bounds is not taken binary", Format::FreeMps,
         "NAME\nROWS\n N z\n L r\nCOLUMNS\n M1 'MARKER' 'INTORG'\n k z -1 r 2\n M2 'MARKER' 'INTEND'\nRHS\n r 7\nENDATA\n", 0,
         "-k",
         {"; k: entera sin cotas en el archivo; se toma k ≥ 0 sin cota superior (algunos programas la toman binaria)",
          "2k<7", "k>0", "entero: k"},
         false},
    };
    return cases;
}

TEST(ModelImport, EveryConstructReadsToTheLinesWorkedByHand) {
    for (const FileCase& c : FileCases()) {
        const ImportResult r = Import(c.format, c.file);
        ASSERT_TRUE(r.ok) << c.name << ": " << r.refusal;
        EXPECT_EQ(r.text.comboIndex, c.comboIndex) << c.name;
        EXPECT_EQ(r.text.objective, c.objective) << c.name;
        EXPECT_EQ(r.text.lines, c.lines) << c.name;
        Outcome built;
        BuildProblem(built.state, r.text, built.report);
        EXPECT_EQ(built.report.errorPanel, "") << c.name;
    }
}

TEST(ModelImport, EveryConstructEndsWhereGlpsolEndsOnTheSameFile) {
    if (!GlpsolAvailable()) GTEST_SKIP() << "glpsol is not installed";
    for (const FileCase& c : FileCases()) {
        if (!c.glpsolReads) continue;
        const ImportResult r = Import(c.format, c.file);
        ASSERT_TRUE(r.ok) << c.name << ": " << r.refusal;
        const LpAnswer glpk = Glpsol(c.format, c.file);
        ASSERT_EQ(StatusName(glpk.status), std::string("optimal")) << c.name << ": " << glpk.raw;
        ExpectSameEnd(SolveOurs(r.text), glpk.status, glpk.objective, c.name);
    }
}

struct RefusalCase {
    Format format;
    std::string file;
    std::string refusal;
};

TEST(ModelImport, RefusalsNameTheLineAndTheConstruct) {
    const std::string lpHead = "Minimize\n obj: x + y\nSubject To\n c1: x + y >= 1\n";
    const std::string mpsHead = "NAME\nROWS\n N obj\n G c1\nCOLUMNS\n x obj 1 c1 1\n";
    const std::string quadratic = "términos cuadráticos: el programa solo resuelve problemas lineales.";
    const std::string constant = "constante en la función objetivo: el programa no admite constantes en la función objetivo.";
    const std::string empty = "función objetivo vacía: el programa necesita al menos una variable en la función objetivo.";
    const std::vector<RefusalCase> cases = {
        {Format::Lp, "Minimize\n obj: x + [ x ^ 2 ] / 2\nSubject To\n c1: x >= 1\nEnd\n", "Línea 2: " + quadratic},
        {Format::Lp, lpHead + " q: x + [ x * y ] <= 4\nEnd\n", "Línea 5: " + quadratic},
        {Format::Lp, lpHead + "SOS\n s1: S1:: x:1 y:2\nEnd\n", "Línea 5: conjuntos especiales (SOS): el programa no los admite."},
        {Format::Lp, lpHead + "Semi-continuous\n x\nEnd\n", "Línea 5: variables semicontinuas: el programa no las admite."},
        {Format::Lp, lpHead + " i1: b = 1 -> x + y <= 3\nEnd\n", "Línea 5: restricciones indicadoras: el programa no las admite."},
        {Format::Lp, lpHead + "Lazy Constraints\n l1: x <= 3\nEnd\n",
         "Línea 5: restricciones diferidas (lazy constraints): el programa no las admite."},
        {Format::Lp, lpHead + "User Cuts\n u1: x <= 3\nEnd\n", "Línea 5: cortes de usuario (user cuts): el programa no los admite."},
        {Format::Lp, "Maximize\n obj: x +\n 2 y + 7\nSubject To\n c: x <= 1\nEnd\n", "Línea 3: " + constant},
        {Format::Lp, "\\ nothing\nMaximize\n obj:\nSubject To\n c: x <= 1\nEnd\n", "Línea 2: " + empty},
        {Format::Lp, "Maximize\nSubject To\n c: x <= 1\nEnd\n", "Línea 1: " + empty},
        {Format::Lp, lpHead + " c2: x + y <= 3 z\nEnd\n", "Línea 5: falta la relación (<=, >= o =) de la restricción."},
        {Format::Lp, "Maximize\n obj: x\nSubject To\nBounds\n x free\nEnd\n",
         "El problema no tiene restricciones ni cotas: el programa necesita al menos una línea."},
        {Format::Lp, "Maximize\n obj: x\nSubject To\n c: x <= 1e400\nEnd\n",
         "Línea 4: número fuera del alcance del programa: «1e400»."},
        {Format::Lp, "Subject To\n c: x <= 1\nEnd\n",
         "El archivo no tiene función objetivo (Maximize o Minimize): no parece un archivo LP."},
        {Format::Mps, mpsHead + "QUADOBJ\n x x 2\nENDATA\n", "Línea 7: " + quadratic},
        {Format::Mps, mpsHead + "QMATRIX\n x x 2\nENDATA\n", "Línea 7: " + quadratic},
        {Format::Mps, mpsHead + "SOS\n S1 SOS\nENDATA\n", "Línea 7: conjuntos especiales (SOS): el programa no los admite."},
        {Format::Mps, mpsHead + "BOUNDS\n SC bnd x 4\nENDATA\n", "Línea 8: variables semicontinuas: el programa no las admite."},
        {Format::Mps, mpsHead + "INDICATORS\n IF c1 x 1\nENDATA\n", "Línea 7: restricciones indicadoras: el programa no las admite."},
        {Format::Mps, mpsHead + "LAZYCONS\n G l1\nENDATA\n",
         "Línea 7: restricciones diferidas (lazy constraints): el programa no las admite."},
        {Format::Mps, mpsHead + "BOUNDS\n FX BND x 1e30\nENDATA\n",
         "La variable «x» tiene una cota inferior +∞ o una superior −∞: ningún valor la cumple."},
        {Format::Mps, mpsHead + "USERCUTS\n L u1\nENDATA\n",
         "Línea 7: cortes de usuario (user cuts): el programa no los admite."},
        {Format::Mps, mpsHead + "RHS\n rhs obj 5 c1 1\nENDATA\n", "Línea 8: " + constant},
        {Format::Mps, "NAME\nROWS\n N obj\n G c1\nCOLUMNS\n x c1 1\nENDATA\n", "Línea 3: " + empty},
        {Format::Mps, mpsHead + " y c9 1\nENDATA\n", "Línea 7: fila «c9» desconocida."},
    };
    for (const RefusalCase& c : cases) {
        const ImportResult r = Import(c.format, c.file);
        EXPECT_FALSE(r.ok) << c.file;
        EXPECT_EQ(r.refusal, c.refusal) << c.file;
        EXPECT_TRUE(r.text.objective.empty() && r.text.lines.empty()) << c.file;
    }
}

// Too large a file is refused before it is read; too large a problem once
// it is counted, with the build's own limit.
TEST(ModelImport, TooLargeIsRefusedWithItsSize) {
    const ImportResult file = ImportLp(std::string(kMaxImportBytes + 1, ' '));
    EXPECT_FALSE(file.ok);
    EXPECT_EQ(file.refusal, "El archivo ocupa más de 20 MB: el programa abre archivos de hasta 20 MB.");
    std::string lp = "Maximize\n obj: x1\nSubject To\n";
    const int n = 5000;
    for (int k = 1; k < n; ++k) lp += " x" + std::to_string(k) + " + x" + std::to_string(k + 1) + " <= 1\n";
    const ImportResult problem = ImportLp(lp + "End\n");
    EXPECT_FALSE(problem.ok);
    EXPECT_EQ(problem.refusal, "El problema es demasiado grande: su tabla tendría 5000 filas y 5001 columnas "
                               "(25005000 celdas; se admiten como mucho 20000000).");
}

TEST(ModelImport, NumbersAreWrittenWithoutExponents) {
    const std::vector<std::pair<double, std::string>> cases = {
        {0.1, "0.1"}, {-2.5, "-2.5"}, {1e21, "1000000000000000000000"}, {1.5e-7, "0.00000015"},
        {123456.789, "123456.789"}, {-7, "-7"}, {0, "0"}};
    for (const auto& [value, typed] : cases) {
        const ImportResult r = ImportLp("Maximize\n x\nSubject To\n x <= " + Written(value) + "\nEnd\n");
        ASSERT_TRUE(r.ok) << r.refusal;
        EXPECT_EQ(r.text.lines.at(0), "x<" + typed);
    }
}

} // namespace
} // namespace optimara::testing
