// SPDX-License-Identifier: GPL-3.0-or-later
#include "Geometry.h"

#include <cmath>

namespace optimara {

double IntersectLines(double a1, double b1, double c1, double a2, double b2, double c2, MatrixR& out) {
    const double D = a1 * b2 - b1 * a2;
    if (IsSingular(D)) return 0;
    out.Index(1, 1) = (b1 * c2 - b2 * c1) / D;
    out.Index(2, 1) = (a2 * c1 - a1 * c2) / D;
    return D;
}

namespace {

// Rule of Sarrus for the rows (i1 i2 i3), (j1 j2 j3), (k1 k2 k3), summed
// term by term from the left.
double Sarrus(const double i[3], const double j[3], const double k[3]) {
    return i[0] * j[1] * k[2] + i[1] * j[2] * k[0] + i[2] * j[0] * k[1] - k[0] * j[1] * i[2] -
           i[0] * j[2] * k[1] - j[0] * k[2] * i[1];
}

double RowValue(const MatrixR& M, uint32_t r, const double X[3]) {
    return M.Index(r, 1) * X[0] + M.Index(r, 2) * X[1] + M.Index(r, 3) * X[2] + M.Index(r, 4);
}

} // namespace

double SolvePlanes(const MatrixR& planes, uint32_t i, uint32_t j, uint32_t k, double P[3]) {
    double ri[3], rj[3], rk[3];
    for (uint32_t n = 0; n < 3; ++n) {
        ri[n] = planes.Index(i, n + 1);
        rj[n] = planes.Index(j, n + 1);
        rk[n] = planes.Index(k, n + 1);
    }
    const double D = Sarrus(ri, rj, rk);
    if (IsSingular(D)) return 0;
    const double hi = -planes.Index(i, 4), hj = -planes.Index(j, 4), hk = -planes.Index(k, 4);
    for (int n = 0; n < 3; ++n) {
        double ci[3] = {ri[0], ri[1], ri[2]}, cj[3] = {rj[0], rj[1], rj[2]}, ck[3] = {rk[0], rk[1], rk[2]};
        ci[n] = hi;
        cj[n] = hj;
        ck[n] = hk;
        P[n] = Sarrus(ci, cj, ck) / D;
    }
    return D;
}

void ProjectPoint(const MatrixR& vp, const double P[3], double& u, double& v) {
    // Same accumulation as the matrix product: start at 0, add term by term.
    u = 0;
    v = 0;
    for (uint32_t n = 1; n <= 3; ++n) u += vp.Index(1, n) * P[n - 1];
    for (uint32_t n = 1; n <= 3; ++n) v += vp.Index(2, n) * P[n - 1];
}

double IntersectPlanes(const MatrixR& planes, uint32_t i, uint32_t j, uint32_t k, MatrixR& out,
                       const MatrixR& viewProjection) {
    double P[3] = {0, 0, 0};
    const double D = SolvePlanes(planes, i, j, k, P);
    if (D == 0) return 0;
    if (out.rows == 2) {
        double u, v;
        ProjectPoint(viewProjection, P, u, v);
        out.Redefine(2, 1);
        out.Index(1, 1) = u;
        out.Index(2, 1) = v;
    } else if (out.rows == 3) {
        out.Redefine(3, 1);
        for (uint32_t n = 1; n <= 3; ++n) out.Index(n, 1) = P[n - 1];
    }
    return D;
}

std::vector<Vertex> EnumerateVertices(const MatrixR& planes, const MatrixR& viewProjection) {
    std::vector<Vertex> vertices;
    const uint32_t N = planes.rows;
    if (planes.cols != 4 || N < 3) return vertices;
    double P[3];
    for (uint32_t i = 1; i + 2 <= N; ++i)
        for (uint32_t j = i + 1; j + 1 <= N; ++j)
            for (uint32_t k = j + 1; k <= N; ++k) {
                if (SolvePlanes(planes, i, j, k, P) == 0) continue;
                Vertex v{i, j, k, 0, 0};
                ProjectPoint(viewProjection, P, v.u, v.v);
                vertices.push_back(v);
            }
    return vertices;
}

bool VertexBox(const std::vector<Vertex>& vertices, PlotState& s) {
    if (vertices.empty()) return false;
    s.PlotXMin = s.PlotXMax = vertices.front().u;
    s.PlotYMin = s.PlotYMax = vertices.front().v;
    for (const Vertex& p : vertices) {
        if (p.u < s.PlotXMin) s.PlotXMin = p.u;
        if (p.u > s.PlotXMax) s.PlotXMax = p.u;
        if (p.v < s.PlotYMin) s.PlotYMin = p.v;
        if (p.v > s.PlotYMax) s.PlotYMax = p.v;
    }
    return true;
}

int OutsideCorner(const MatrixR& planes, uint32_t a, uint32_t b, const PlotState& s) {
    MatrixR M(4, 4);
    for (uint32_t n = 1; n <= 3; ++n) {
        M.Index(1, n) = s.ViewProjection.Index(1, n);
        M.Index(2, n) = s.ViewProjection.Index(2, n);
    }
    for (uint32_t n = 1; n <= 4; ++n) {
        M.Index(3, n) = planes.Index(a, n);
        M.Index(4, n) = planes.Index(b, n);
    }
    const double xs[4] = {s.PlotXMin, s.PlotXMin, s.PlotXMax, s.PlotXMax};
    const double ys[4] = {s.PlotYMin, s.PlotYMax, s.PlotYMin, s.PlotYMax};
    for (int n = 0; n < 4; ++n) {
        M.Index(1, 4) = -xs[n];
        M.Index(2, 4) = -ys[n];
        double N[3], O[3];
        if (SolvePlanes(M, 1, 2, 3, N) == 0 || SolvePlanes(M, 1, 2, 4, O) == 0) continue;
        // Samples of the three stretches of the sight line: between the two
        // piercing points and beyond each of them.
        double U[3], W[3], K[3];
        for (int q = 0; q < 3; ++q) {
            U[q] = (N[q] + O[q]) / 2;
            W[q] = N[q] * 2 - O[q];
            K[q] = O[q] * 2 - N[q];
        }
        auto out = [&](const double X[3]) { return RowValue(M, 3, X) > 0 || RowValue(M, 4, X) > 0; };
        if (out(U) && out(W) && out(K)) return n;
    }
    return kNoCorner;
}

namespace {

bool ExitPoint(const PlotState& s, double p1, double p2, double d1, double d2, double& x, double& y) {
    if (std::fabs(d2) >= std::fabs(d1)) {
        // Consistent with the flat case below: a direction whose larger
        // component is below the bound is too short to tell.
        if (std::fabs(d2) < 1e-16) return false;
        y = d2 > 0 ? s.PlotYMax : s.PlotYMin;
        x = p1 + d1 * (y - p2) / d2;
        if (x < s.PlotXMin || x > s.PlotXMax) {
            if (d1 == 0) return false;  // a vertical ray beside the window
            x = x < s.PlotXMin ? s.PlotXMin : s.PlotXMax;
            y = p2 + d2 * (x - p1) / d1;
        }
    } else {
        if (std::fabs(d1) < 1e-16) return false;
        x = d1 > 0 ? s.PlotXMax : s.PlotXMin;
        y = p2 + d2 * (x - p1) / d1;
        if (y < s.PlotYMin || y > s.PlotYMax) {
            if (d2 == 0) return false;  // a horizontal ray above or below the window
            y = y < s.PlotYMin ? s.PlotYMin : s.PlotYMax;
            x = p1 + d1 * (y - p2) / d2;
        }
    }
    return std::isfinite(x) && std::isfinite(y);
}

} // namespace

bool RayExitPoint(const PlotState& s, const MatrixR& start, const MatrixR& direction, MatrixR& out) {
    double x = 0, y = 0;
    if (!ExitPoint(s, start.Index(1, 1), start.Index(2, 1), direction.Index(1, 1), direction.Index(2, 1), x, y))
        return false;
    out.Index(1, 1) = x;
    out.Index(2, 1) = y;
    return true;
}

namespace {

int Side(uint32_t a, uint32_t b, uint32_t c) { return c < a ? 0 : (c < b ? 1 : 2); }

// Rows shared by two sorted triples; returns how many, and when exactly two
// the shared pair and the third row of each.
int Shared(const Vertex& A, uint32_t l, uint32_t m, uint32_t n, uint32_t& a, uint32_t& b, uint32_t& cA,
           uint32_t& cB) {
    const uint32_t t[3] = {A.i, A.j, A.k}, u[3] = {l, m, n};
    bool inU[3], inT[3];
    int count = 0;
    for (int x = 0; x < 3; ++x) {
        inU[x] = t[x] == l || t[x] == m || t[x] == n;
        inT[x] = u[x] == A.i || u[x] == A.j || u[x] == A.k;
        count += inU[x];
    }
    if (count != 2) return count;
    uint32_t sharedRows[2];
    int s = 0;
    for (int x = 0; x < 3; ++x) {
        if (inU[x]) sharedRows[s++] = t[x];
        else cA = t[x];
        if (!inT[x]) cB = u[x];
    }
    a = sharedRows[0];
    b = sharedRows[1];
    return 2;
}

} // namespace

bool EdgePairInOrder(uint32_t a, uint32_t b, uint32_t cA, uint32_t cB) {
    return Side(a, b, cA) == Side(a, b, cB) || cA > cB;
}

void ForEachEdgePairExhaustive(const std::vector<Vertex>& vertices, uint32_t N, const EdgePairVisitor& visit) {
    for (const Vertex& A : vertices)
        for (uint32_t l = 1; l + 2 <= N; ++l)
            for (uint32_t m = l + 1; m + 1 <= N; ++m)
                for (uint32_t n = m + 1; n <= N; ++n) {
                    uint32_t a = 0, b = 0, cA = 0, cB = 0;
                    if (Shared(A, l, m, n, a, b, cA, cB) != 2) continue;
                    if (EdgePairInOrder(a, b, cA, cB)) visit(A, a, b, cB);
                }
}

uint32_t ThirdRow(const Vertex& v, uint32_t a, uint32_t b) {
    if (v.i != a && v.i != b) return v.i;
    if (v.j != a && v.j != b) return v.j;
    return v.k;
}

std::vector<EdgeLine> EdgeLines(const std::vector<Vertex>& vertices, uint32_t N) {
    // Row pairs a < b numbered in lexicographic order.
    auto slot = [N](uint32_t a, uint32_t b) {
        return static_cast<size_t>(a - 1) * (2 * N - a) / 2 + (b - a - 1);
    };
    std::vector<std::vector<uint32_t>> on(N < 2 ? 0 : static_cast<size_t>(N) * (N - 1) / 2);
    for (uint32_t x = 0; x < vertices.size(); ++x) {
        const Vertex& v = vertices[x];
        on[slot(v.i, v.j)].push_back(x);
        on[slot(v.i, v.k)].push_back(x);
        on[slot(v.j, v.k)].push_back(x);
    }
    std::vector<EdgeLine> lines;
    for (uint32_t a = 1; a < N; ++a)
        for (uint32_t b = a + 1; b <= N; ++b) {
            std::vector<uint32_t>& list = on[slot(a, b)];
            if (!list.empty()) lines.push_back(EdgeLine{a, b, std::move(list)});
        }
    return lines;
}

} // namespace optimara
