// SPDX-License-Identifier: GPL-3.0-or-later
#include "PracticeTexts.h"

#include "ArtificialTexts.h"
#include "WorkedNumbers.h"

namespace optimara {
namespace {

std::string Number(const mpq_class& m, const mpq_class& value, bool bigM, const NumberText& t) {
    return bigM ? BigMText(m, value, t) : Text(value, t);
}

// «fila 2, columna 3» counted over the grid's numbers, with the row's and
// the column's names.
std::string Where(const PracticeGrid& g, int cell) {
    const PracticeCell& c = g.cells[size_t(cell)];
    std::string rowName = g.Label(c.row, 0), colName = g.Label(0, c.col);
    if (rowName.empty()) rowName = g.full ? "?" : "objetivo";
    if (colName.empty()) colName = g.full ? "Solución" : "constante";
    return "«fila " + std::to_string(c.row) + ", columna " + std::to_string(c.col) + "» (" + rowName + ", " +
           colName + ")";
}

int Compare(const mpq_class& am, const mpq_class& a, const mpq_class& bm, const mpq_class& b) {
    // a·M + b compared as M grows without end: the M parts first.
    const int byM = cmp(am, bm);
    return byM != 0 ? (byM > 0 ? 1 : -1) : (cmp(a, b) > 0 ? 1 : cmp(a, b) < 0 ? -1 : 0);
}

// Why the column or the cell cannot be the pivot's, in the compact method's
// own words; the other methods say it plainly.
std::string Refusal(const SolveSession& s, const PracticeEvent& e, const NumberText& numbers) {
    const ProblemState& p = s.problem;
    const std::vector<std::string> names = VariableNames(p);
    const uint32_t n = p.Tableau.cols - 1;
    if (e.cell.col == 0) return "Esa columna no es de ninguna variable que pueda entrar.";
    const std::string column = NameAtPosition(names, p.Labels, e.cell.col);
    if (e.kind == PracticeEvent::Kind::ColumnRefused) {
        if (p.Method == SolveMethod::Compact) {
            const std::string why = WhyNotPivot(p, 1, e.cell.col, numbers);
            if (!why.empty()) return why;
        }
        return "La columna de " + column + " no puede entrar: con el método elegido ninguna de sus celdas puede ser "
               "el pivote.";
    }
    if (e.cell.row == 0) return "Elija una fila de restricción.";
    if (p.Method == SolveMethod::Compact) {
        const std::string why = WhyNotPivot(p, e.cell.row, e.cell.col, numbers);
        if (!why.empty()) return why;
    }
    return "La fila de " + NameAtPosition(names, p.Labels, n + e.cell.row) + " no puede dejar entrar a " + column +
           ": no es la de la razón mínima del método.";
}

std::string NextMove(const SolveSession& s) {
    const ProblemState& p = s.problem;
    if (!s.Running() || p.Stage != SolveStage::Choosing) return "";
    const std::vector<std::string> names = VariableNames(p);
    const PivotCell chosen = s.practice.Chosen();
    switch (s.practice.Stage()) {
    case PracticeStage::Column:
        return "Práctica: elija la columna que entra (un clic en su encabezado o en una de sus celdas; "
               "«Elegir pivote» elige columna y fila a la vez).";
    case PracticeStage::Row:
        return "Entra " + NameAtPosition(names, p.Labels, chosen.col) +
               ". Elija ahora la fila que sale: la de la razón mínima (un clic en una de sus celdas).";
    case PracticeStage::Typing:
        return "Pivote en la fila de " + NameAtPosition(names, p.Labels, p.Tableau.cols - 1 + chosen.row) + ", columna de " +
               NameAtPosition(names, p.Labels, chosen.col) +
               ". Escriba la tabla siguiente en la cuadrícula, todas las celdas, y pulse «Comprobar».";
    }
    return "";
}

} // namespace

std::string PracticePanelText(const Practice& practice) {
    return "Práctica · pasos: " + std::to_string(practice.Steps()) +
           " · celdas mal al primer intento: " + std::to_string(practice.WrongAtFirstTry()) +
           " · pistas: " + std::to_string(practice.Hints());
}

std::string PracticePageText(const Practice& practice) {
    return "Práctica: " + std::to_string(practice.Steps()) + " pasos hechos, " +
           std::to_string(practice.WrongAtFirstTry()) + " celdas mal al primer intento, " +
           std::to_string(practice.Hints()) + " pistas.";
}

std::string CheckText(const PracticeGrid& g, const PracticeCheck& check) {
    if (check.Right()) return "¡Correcto! La tabla escrita es la siguiente.";
    std::string s = std::to_string(check.wrong.size()) +
                    (check.wrong.size() == 1 ? " celda está mal (marcada)." : " celdas están mal (marcadas).") +
                    " La primera es la " + Where(g, check.first) + ": ";
    const PracticeCell& e = g.cells[size_t(check.first)];
    switch (check.firstFault) {
    case TypedEntry::Fault::Blank:
        return s + "está vacía; escriba todas las celdas, también las que no cambian.";
    case TypedEntry::Fault::Unreadable:
        return s + "no se entiende; escriba un entero, un decimal o una fracción como 3/2" +
               (g.bigM ? " (o a·M + b, como −2M+3)." : ".");
    case TypedEntry::Fault::ZeroDenominator: return s + "tiene una fracción con denominador cero.";
    case TypedEntry::Fault::None: break;
    }
    const int sign = Compare(e.m, e.value, 0, 0);
    const int size = Compare(e.m, e.value, check.firstTypedM, check.firstTyped);
    s += sign == 0 ? "debe valer 0" : sign > 0 ? "debe ser positiva" : "debe ser negativa";
    if (sign != 0) s += size > 0 ? ", mayor que la escrita" : ", menor que la escrita";
    return s + ".";
}

std::string HintText(const PracticeGrid& next, const PracticeHint& h, const NumberText& t) {
    if (h.cell < 0 || size_t(h.cell) >= next.cells.size()) return "";
    const PracticeCell& target = next.cells[size_t(h.cell)];
    const bool M = next.bigM;
    const std::string where = "Pista " + std::to_string(h.level) + " para la " + Where(next, h.cell) + ": ";
    if (h.level >= 3) return where + "vale " + Number(target.m, target.value, M, t) + ".";
    using K = PracticeHint::Kind;
    const std::string p = Text(h.pivot, t), now = Number(h.nowM, h.now, M, t);
    if (h.level == 1) switch (h.kind) {
        case K::Pivot: return where + "es el pivote: en la tabla nueva vale 1 / pivote.";
        case K::PivotRow: return where + "está en la fila del pivote: se divide entre el pivote.";
        case K::PivotColumn:
            return where + "está en la columna del pivote: se divide entre el pivote y cambia de signo.";
        case K::Rectangle:
            return where + "regla del rectángulo: su valor − (la entrada de su fila en la columna del pivote × la "
                           "entrada de su columna en la fila del pivote) / pivote.";
        case K::Changed:
            return where + "la tabla cambia de fase (se van la fila w y las columnas artificiales); la celda es la "
                           "de la tabla que queda tras el pivote.";
        }
    switch (h.kind) {
    case K::Pivot: return where + "1 / " + p + ".";
    case K::PivotRow: return where + now + " / " + p + ".";
    case K::PivotColumn: return where + "−(" + now + ") / " + p + ".";
    case K::Rectangle:
        return where + now + " − (" + Number(h.rowEntryM, h.rowEntry, M, t) + ") × (" + Text(h.colEntry, t) + ") / " +
               p + ".";
    case K::Changed: break;
    }
    return where + "vale " + Number(target.m, target.value, M, t) + ".";
}

std::string PracticeText(const SolveSession& s, const NumberText& numbers) {
    if (!s.practice.On()) return "";
    const PracticeEvent& e = s.practice.Last();
    std::string answer;
    switch (e.kind) {
    case PracticeEvent::Kind::ColumnRefused:
    case PracticeEvent::Kind::RowRefused: answer = "No: " + Refusal(s, e, numbers); break;
    case PracticeEvent::Kind::Checked:
        // A right check made the step: the stage is the next tableau's.
        answer = s.practice.Stage() == PracticeStage::Typing
                     ? CheckText(s.practice.Next(), s.practice.LastCheck())
                     : "¡Correcto! Se hizo el paso con la tabla escrita.";
        break;
    case PracticeEvent::Kind::Hinted: answer = HintText(s.practice.Next(), e.hint, numbers); break;
    default: break;
    }
    const std::string next = NextMove(s);
    return answer.empty() ? next : next.empty() ? answer : answer + "\n" + next;
}

} // namespace optimara
