#include "calc/numlib_linear.h"

#include <cfloat>
#include <cmath>
#include <utility>

#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {

namespace {

// Rows of work between interrupt checks: a row of an n x n elimination costs n^2.
void PollRow(int row) {
  if ((row & 7) == 7) CheckInterrupt();
}

// row[k] -= l * pivotRow[k] for k in [from, to). The two rows never overlap;
// four independent lanes keep the loop from waiting on each store.
void SubtractScaledRow(double* row, const double* pivotRow, double l, int from, int to) {
  int k = from;
  for (; k + 4 <= to; k += 4) {
    double r0 = row[k] - l * pivotRow[k];
    double r1 = row[k + 1] - l * pivotRow[k + 1];
    double r2 = row[k + 2] - l * pivotRow[k + 2];
    double r3 = row[k + 3] - l * pivotRow[k + 3];
    row[k] = r0;
    row[k + 1] = r1;
    row[k + 2] = r2;
    row[k + 3] = r3;
  }
  for (; k < to; ++k) row[k] -= l * pivotRow[k];
}

void SwapRows(std::vector<double>& plane, int n, int a, int b) {
  double* ra = plane.data() + static_cast<size_t>(a) * n;
  double* rb = plane.data() + static_cast<size_t>(b) * n;
  for (int k = 0; k < n; ++k) std::swap(ra[k], rb[k]);
}

// The pivot row for column j among rows j..n-1, by magnitude relative to the
// row scale; the later row wins a tie.
template <class Magnitude>
int ChoosePivot(int j, int n, const std::vector<double>& inverseScale, Magnitude magnitude) {
  int best = j;
  double bestMerit = -1.0;
  for (int i = j; i < n; ++i) {
    double merit = magnitude(i) * inverseScale[i];
    if (merit >= bestMerit) {
      bestMerit = merit;
      best = i;
    }
  }
  return best;
}

void DecomposeReal(LUDecomposition& d) {
  NumMatrix& m = d.lu;
  int n = m.rows;
  double* a = m.re.data();
  std::vector<double> inverseScale(n);
  for (int i = 0; i < n; ++i) {
    double largest = 0.0;
    for (int k = 0; k < n; ++k) {
      double magnitude = std::fabs(a[i * n + k]);
      if (magnitude > largest) largest = magnitude;
    }
    inverseScale[i] = largest > 0.0 ? 1.0 / largest : 0.0;
  }
  for (int j = 0; j < n; ++j) {
    int best = ChoosePivot(j, n, inverseScale, [&](int i) { return std::fabs(a[i * n + j]); });
    if (best != j) {
      SwapRows(m.re, n, best, j);
      inverseScale[best] = inverseScale[j];
      d.parity = -d.parity;
    }
    d.pivots[j] = best;
    double& pivot = a[j * n + j];
    if (pivot == 0.0) {
      pivot = DBL_MIN;
      d.zeroPivot = true;
    }
    double reciprocal = 1.0 / pivot;
    const double* rowJ = a + j * n;
    for (int i = j + 1; i < n; ++i) {
      double* rowI = a + i * n;
      double l = rowI[j] * reciprocal;
      rowI[j] = l;
      if (l == 0.0) continue;
      SubtractScaledRow(rowI, rowJ, l, j + 1, n);
    }
    PollRow(j);
  }
}

void DecomposeComplex(LUDecomposition& d) {
  NumMatrix& m = d.lu;
  int n = m.rows;
  double* ar = m.re.data();
  double* ai = m.im.data();
  std::vector<double> inverseScale(n);
  for (int i = 0; i < n; ++i) {
    double largest = 0.0;
    for (int k = 0; k < n; ++k)
      largest = std::fmax(largest, std::hypot(ar[i * n + k], ai[i * n + k]));
    inverseScale[i] = largest > 0.0 ? 1.0 / largest : 0.0;
  }
  for (int j = 0; j < n; ++j) {
    int best = ChoosePivot(j, n, inverseScale,
                           [&](int i) { return std::hypot(ar[i * n + j], ai[i * n + j]); });
    if (best != j) {
      SwapRows(m.re, n, best, j);
      SwapRows(m.im, n, best, j);
      inverseScale[best] = inverseScale[j];
      d.parity = -d.parity;
    }
    d.pivots[j] = best;
    // No substitution for a zero complex pivot: its reciprocal is undefined.
    double pr = ar[j * n + j];
    double pi = ai[j * n + j];
    double denominator = pr * pr + pi * pi;
    if (pr == 0.0 && pi == 0.0) d.zeroPivot = true;
    double rr = pr / denominator;
    double ri = -pi / denominator;
    for (int i = j + 1; i < n; ++i) {
      double xr = ar[i * n + j];
      double xi = ai[i * n + j];
      double lr = xr * rr - xi * ri;
      double li = xr * ri + xi * rr;
      ar[i * n + j] = lr;
      ai[i * n + j] = li;
      if (lr == 0.0 && li == 0.0) continue;
      for (int k = j + 1; k < n; ++k) {
        double ur = ar[j * n + k];
        double ui = ai[j * n + k];
        ar[i * n + k] -= lr * ur - li * ui;
        ai[i * n + k] -= lr * ui + li * ur;
      }
    }
    PollRow(j);
  }
}

// Solves for all unit columns at once: X starts as the permuted identity and
// every step is a whole-row update, which keeps the inner loops contiguous.
void InvertReal(const LUDecomposition& d, NumMatrix& x) {
  int n = d.lu.rows;
  const double* a = d.lu.re.data();
  double* b = x.re.data();
  for (int j = 0; j < n; ++j) {
    if (d.pivots[j] != j) SwapRows(x.re, n, j, d.pivots[j]);
  }
  for (int i = 1; i < n; ++i) {
    double* rowI = b + i * n;
    for (int k = 0; k < i; ++k) {
      double l = a[i * n + k];
      if (l == 0.0) continue;
      SubtractScaledRow(rowI, b + k * n, l, 0, n);
    }
    PollRow(i);
  }
  for (int i = n - 1; i >= 0; --i) {
    double* rowI = b + i * n;
    for (int k = i + 1; k < n; ++k) {
      double u = a[i * n + k];
      if (u == 0.0) continue;
      SubtractScaledRow(rowI, b + k * n, u, 0, n);
    }
    double reciprocal = 1.0 / a[i * n + i];
    for (int c = 0; c < n; ++c) rowI[c] *= reciprocal;
    PollRow(i);
  }
}

void InvertComplex(const LUDecomposition& d, NumMatrix& x) {
  int n = d.lu.rows;
  const double* ar = d.lu.re.data();
  const double* ai = d.lu.im.data();
  double* br = x.re.data();
  double* bi = x.im.data();
  for (int j = 0; j < n; ++j) {
    if (d.pivots[j] != j) {
      SwapRows(x.re, n, j, d.pivots[j]);
      SwapRows(x.im, n, j, d.pivots[j]);
    }
  }
  auto subtract = [&](int i, int k, double fr, double fi) {
    double* ri = br + i * n;
    double* ii = bi + i * n;
    const double* rk = br + k * n;
    const double* ik = bi + k * n;
    for (int c = 0; c < n; ++c) {
      ri[c] -= fr * rk[c] - fi * ik[c];
      ii[c] -= fr * ik[c] + fi * rk[c];
    }
  };
  for (int i = 1; i < n; ++i) {
    for (int k = 0; k < i; ++k) {
      double lr = ar[i * n + k];
      double li = ai[i * n + k];
      if (lr != 0.0 || li != 0.0) subtract(i, k, lr, li);
    }
    PollRow(i);
  }
  for (int i = n - 1; i >= 0; --i) {
    for (int k = i + 1; k < n; ++k) {
      double ur = ar[i * n + k];
      double ui = ai[i * n + k];
      if (ur != 0.0 || ui != 0.0) subtract(i, k, ur, ui);
    }
    double pr = ar[i * n + i];
    double pi = ai[i * n + i];
    double denominator = pr * pr + pi * pi;
    double rr = pr / denominator;
    double ri = -pi / denominator;
    double* rowR = br + i * n;
    double* rowI = bi + i * n;
    for (int c = 0; c < n; ++c) {
      double xr = rowR[c];
      double xi = rowI[c];
      rowR[c] = xr * rr - xi * ri;
      rowI[c] = xr * ri + xi * rr;
    }
    PollRow(i);
  }
}

}  // namespace

NumMatrix::NumMatrix(int rowCount, int colCount, NumKind entryKind)
    : rows(rowCount), cols(colCount), kind(entryKind) {
  size_t size = static_cast<size_t>(rowCount) * static_cast<size_t>(colCount);
  re.assign(size, 0.0);
  if (entryKind == NumKind::kComplex) im.assign(size, 0.0);
}

NumScalar NumMatrix::At(int k) const {
  switch (kind) {
    case NumKind::kInteger:
      return NumScalar::Int(static_cast<int32_t>(re[k]));
    case NumKind::kReal:
      return NumScalar::Real(re[k]);
    case NumKind::kComplex:
      return NumScalar::Complex(re[k], im[k]);
  }
  return NumScalar::Undefined();
}

void NumMatrix::Set(int k, const NumScalar& value) {
  if (value.kind > kind) InternalError(kind == NumKind::kInteger ? "SetSMReal" : "SetSMComplex");
  re[k] = value.re;
  if (kind == NumKind::kComplex) im[k] = value.im;
}

void ConvertMatrix(NumMatrix& m, NumKind kind) {
  if (kind < m.kind) InternalError("ConvertMatrix");
  if (kind == NumKind::kComplex && m.kind != NumKind::kComplex) m.im.assign(m.re.size(), 0.0);
  m.kind = kind;
}

NumMatrix PackMatrix(int rows, int cols, const std::vector<NumScalar>& entries) {
  NumKind kind = NumKind::kInteger;
  for (const NumScalar& s : entries) kind = LargerKind(kind, s.kind);
  NumMatrix m(rows, cols, kind);
  for (int k = 0; k < m.Size(); ++k) m.Set(k, entries[k]);
  return m;
}

LUDecomposition DecomposeLU(NumMatrix m) {
  if (!m.IsSquare()) InternalError("LUDecompStack");
  if (m.kind == NumKind::kInteger) ConvertMatrix(m, NumKind::kReal);
  LUDecomposition d;
  d.pivots.assign(m.rows, 0);
  d.lu = std::move(m);
  if (d.lu.kind == NumKind::kComplex) {
    DecomposeComplex(d);
  } else {
    DecomposeReal(d);
  }
  return d;
}

NumScalar Determinant(const NumMatrix& m) {
  if (!m.IsSquare()) Raise(kMsgMatrixNotSquare);
  LUDecomposition d = DecomposeLU(m);
  int n = d.lu.rows;
  if (d.lu.kind != NumKind::kComplex) {
    if (d.zeroPivot) return NumScalar::Real(0.0);
    double product = d.parity;
    for (int j = 0; j < n; ++j) product *= d.lu.re[j * n + j];
    return NumScalar::Real(product);
  }
  if (d.zeroPivot) return NumScalar::Real(0.0);
  double pr = d.parity;
  double pi = 0.0;
  for (int j = 0; j < n; ++j) {
    double ur = d.lu.re[j * n + j];
    double ui = d.lu.im[j * n + j];
    double next = pr * ur - pi * ui;
    pi = pr * ui + pi * ur;
    pr = next;
  }
  return NumScalar::Complex(pr, pi);
}

NumMatrix InverseFromLU(const LUDecomposition& d) {
  int n = d.lu.rows;
  NumMatrix x(n, n, d.lu.kind);
  for (int i = 0; i < n; ++i) x.re[i * n + i] = 1.0;
  if (d.lu.kind == NumKind::kComplex) {
    InvertComplex(d, x);
  } else {
    InvertReal(d, x);
  }
  return x;
}

NumMatrix InverseMatrix(const NumMatrix& m) {
  if (!m.IsSquare()) Raise(kMsgMatrixNotSquare);
  return InverseFromLU(DecomposeLU(m));
}

}  // namespace lemmabox
