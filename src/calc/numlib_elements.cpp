#include "calc/numlib_elements.h"

#include <cmath>
#include <vector>

#include "shell/failure.h"
#include "shell/interrupt.h"
#include "shell/messages.h"

namespace lemmabox {

namespace {

const NumScalar* ScalarOf(const NumValue& v) {
  return std::get_if<NumScalar>(&v);
}

// A matrix from entry results, of at least the given kind.
NumMatrix PackAtLeast(int rows, int cols, const std::vector<NumScalar>& entries, NumKind least) {
  NumKind kind = least;
  for (const NumScalar& s : entries) kind = LargerKind(kind, s.kind);
  NumMatrix m(rows, cols, kind);
  for (int k = 0; k < m.Size(); ++k) m.Set(k, entries[k]);
  return m;
}

// Applies op to every entry.
template <class Op>
NumMatrix MapEntries(const NumMatrix& m, NumKind least, Op op) {
  std::vector<NumScalar> out(m.Size());
  for (int k = 0; k < m.Size(); ++k) out[k] = op(m.At(k));
  return PackAtLeast(m.rows, m.cols, out, least);
}

NumMatrix ScaleMatrix(const NumScalar& s, const NumMatrix& m) {
  return MapEntries(m, LargerKind(s.kind, m.kind),
                    [&](const NumScalar& e) { return MultiplyScalars(s, e); });
}

// The product of conforming matrices: real or complex, each entry summed from
// 0 in the order of the inner index.
NumValue MatrixProduct(const NumMatrix& a, const NumMatrix& b) {
  int n = a.rows;
  int inner = a.cols;
  int p = b.cols;
  bool complex = a.kind == NumKind::kComplex || b.kind == NumKind::kComplex;
  NumMatrix c(n, p, complex ? NumKind::kComplex : NumKind::kReal);
  for (int i = 0; i < n; ++i) {
    double* cr = c.re.data() + static_cast<size_t>(i) * p;
    if (!complex) {
      for (int k = 0; k < inner; ++k) {
        double x = a.re[i * inner + k];
        const double* br = b.re.data() + static_cast<size_t>(k) * p;
        for (int j = 0; j < p; ++j) cr[j] += x * br[j];
      }
    } else {
      double* ci = c.im.data() + static_cast<size_t>(i) * p;
      for (int k = 0; k < inner; ++k) {
        double xr = a.re[i * inner + k];
        double xi = a.kind == NumKind::kComplex ? a.im[i * inner + k] : 0.0;
        for (int j = 0; j < p; ++j) {
          double yr = b.re[k * p + j];
          double yi = b.kind == NumKind::kComplex ? b.im[k * p + j] : 0.0;
          cr[j] += xr * yr - xi * yi;
          ci[j] += xr * yi + xi * yr;
        }
      }
    }
    if ((i & 15) == 15) CheckInterrupt();
  }
  if (n == 1 && p == 1) return c.At(0);
  return c;
}

int VectorLength(const NumMatrix& m) {
  return m.IsVector() ? m.Size() : 0;
}

}  // namespace

NumMatrix MatrixOfValue(const NumValue& v) {
  if (const NumScalar* s = ScalarOf(v)) {
    NumMatrix m(1, 1, s->kind);
    m.Set(0, *s);
    return m;
  }
  return std::get<NumMatrix>(v);
}

NumValue AddValues(const NumValue& a, const NumValue& b) {
  const NumScalar* sa = ScalarOf(a);
  const NumScalar* sb = ScalarOf(b);
  if (sa && sb) return AddScalars(*sa, *sb);
  NumMatrix ma = MatrixOfValue(a);
  NumMatrix mb = MatrixOfValue(b);
  NumKind least = LargerKind(ma.kind, mb.kind);
  if (ma.rows == mb.rows && ma.cols == mb.cols) {
    std::vector<NumScalar> out(ma.Size());
    for (int k = 0; k < ma.Size(); ++k) out[k] = AddScalars(ma.At(k), mb.At(k));
    return PackAtLeast(ma.rows, ma.cols, out, least);
  }
  // A 1x1 added to a square matrix is that multiple of the identity.
  bool aOne = ma.Size() == 1;
  if ((aOne || mb.Size() == 1) && (aOne ? mb : ma).IsSquare()) {
    const NumMatrix& square = aOne ? mb : ma;
    NumScalar s = (aOne ? ma : mb).At(0);
    std::vector<NumScalar> out(square.Size());
    for (int k = 0; k < square.Size(); ++k) {
      bool diagonal = k / square.cols == k % square.cols;
      out[k] = diagonal ? AddScalars(square.At(k), s) : square.At(k);
    }
    return PackAtLeast(square.rows, square.cols, out, least);
  }
  Raise(kMsgMatrixSizeMismatch);
}

NumValue MultiplyValues(const NumValue& left, const NumValue& right) {
  const NumScalar* sl = ScalarOf(left);
  const NumScalar* sr = ScalarOf(right);
  if (sl && sr) return MultiplyScalars(*sl, *sr);
  if (sl) return ScaleMatrix(*sl, std::get<NumMatrix>(right));
  if (sr) return ScaleMatrix(*sr, std::get<NumMatrix>(left));
  const NumMatrix& a = std::get<NumMatrix>(left);
  const NumMatrix& b = std::get<NumMatrix>(right);
  if (a.cols == b.rows) return MatrixProduct(a, b);
  if (a.Size() == 1) return ScaleMatrix(a.At(0), b);
  if (b.Size() == 1) return ScaleMatrix(b.At(0), a);
  Raise(kMsgMatrixShapeMismatch);
}

NumValue ReciprocalValue(const NumValue& v) {
  if (const NumScalar* s = ScalarOf(v)) return ReciprocalScalar(*s);
  return InverseMatrix(std::get<NumMatrix>(v));
}

NumValue DivideValues(const NumValue& dividend, const NumValue& divisor) {
  const NumScalar* sa = ScalarOf(dividend);
  const NumScalar* sb = ScalarOf(divisor);
  if (sa && sb) return DivideScalars(*sa, *sb);
  return MultiplyValues(ReciprocalValue(divisor), dividend);
}

NumValue PowerValues(const NumValue& base, const NumValue& exponent) {
  const NumScalar* e = ScalarOf(exponent);
  if (!e) Raise(kMsgNeedScalar);
  if (const NumScalar* s = ScalarOf(base)) return PowerScalars(*s, *e);
  if (!e->IsInteger()) Raise(kMsgNeedScalar);
  int32_t n = e->integer;
  if (n == 0) return NumScalar::Int(1);
  NumValue b = n < 0 ? ReciprocalValue(base) : base;
  uint32_t k = n < 0 ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  NumValue acc = NumScalar::Int(1);
  while (k != 0) {
    if (k & 1u) acc = MultiplyValues(acc, b);
    k >>= 1;
    if (k != 0) b = MultiplyValues(b, b);
    CheckInterrupt();
  }
  return acc;
}

NumValue NegateValue(const NumValue& v) {
  if (const NumScalar* s = ScalarOf(v)) return NegateScalar(*s);
  const NumMatrix& m = std::get<NumMatrix>(v);
  return MapEntries(m, m.kind, NegateScalar);
}

NumValue AdjointValue(const NumValue& v) {
  if (const NumScalar* s = ScalarOf(v)) return ConjugateScalar(*s);
  const NumMatrix& m = std::get<NumMatrix>(v);
  NumMatrix t(m.cols, m.rows, m.kind);
  for (int r = 0; r < m.rows; ++r) {
    for (int c = 0; c < m.cols; ++c) t.Set(c, r, ConjugateScalar(m.At(r, c)));
  }
  return t;
}

NumScalar AbsValue(const NumValue& v) {
  if (const NumScalar* s = ScalarOf(v)) return AbsScalar(*s);
  const NumMatrix& m = std::get<NumMatrix>(v);
  if (m.IsVector()) {
    // sqrt(sum |e|^2), scaled by the largest magnitude against overflow.
    double largest = 0.0;
    for (int k = 0; k < m.Size(); ++k) {
      double im = m.kind == NumKind::kComplex ? m.im[k] : 0.0;
      if (std::isnan(m.re[k]) || std::isnan(im)) return NumScalar::Undefined();
      largest = std::fmax(largest, std::fmax(std::fabs(m.re[k]), std::fabs(im)));
    }
    if (largest == 0.0 || std::isinf(largest)) return NumScalar::Real(largest);
    double sum = 0.0;
    for (int k = 0; k < m.Size(); ++k) {
      double re = m.re[k] / largest;
      double im = m.kind == NumKind::kComplex ? m.im[k] / largest : 0.0;
      sum += re * re + im * im;
    }
    return NumScalar::Real(largest * std::sqrt(sum));
  }
  if (m.IsSquare()) return Determinant(m);
  Raise(kMsgMatrixNotSquare);
}

NumScalar EqualValues(const NumValue& a, const NumValue& b) {
  const NumScalar* sa = ScalarOf(a);
  const NumScalar* sb = ScalarOf(b);
  if (sa && sb) return EqualScalars(*sa, *sb);
  if (sa || sb) return NumScalar::Int(0);
  const NumMatrix& ma = std::get<NumMatrix>(a);
  const NumMatrix& mb = std::get<NumMatrix>(b);
  if (ma.rows != mb.rows || ma.cols != mb.cols) return NumScalar::Int(0);
  bool undefined = false;
  for (int k = 0; k < ma.Size(); ++k) {
    NumScalar e = EqualScalars(ma.At(k), mb.At(k));
    if (!e.IsInteger()) {
      undefined = true;
    } else if (e.integer == 0) {
      return NumScalar::Int(0);
    }
  }
  return undefined ? NumScalar::Undefined() : NumScalar::Int(1);
}

NumValue CrossProduct(const NumValue& a, const NumValue& b) {
  if (!IsMatrixValue(a) || !IsMatrixValue(b)) Raise(kMsgBadCrossProduct);
  const NumMatrix& ma = std::get<NumMatrix>(a);
  const NumMatrix& mb = std::get<NumMatrix>(b);
  int n = VectorLength(ma);
  if ((n != 2 && n != 3) || VectorLength(mb) != n) Raise(kMsgBadCrossProduct);
  auto term = [&](int i, int j) {  // a_i b_j - a_j b_i
    return AddScalars(MultiplyScalars(ma.At(i), mb.At(j)),
                      NegateScalar(MultiplyScalars(ma.At(j), mb.At(i))));
  };
  if (n == 2) return term(0, 1);
  std::vector<NumScalar> out = {term(1, 2), term(2, 0), term(0, 1)};
  bool column = mb.cols == 1;
  return PackAtLeast(column ? 3 : 1, column ? 1 : 3, out, NumKind::kInteger);
}

NumScalar DotProduct(const NumValue& a, const NumValue& b) {
  if (!IsMatrixValue(a) || !IsMatrixValue(b)) Raise(kMsgBadDotProduct);
  const NumMatrix& ma = std::get<NumMatrix>(a);
  const NumMatrix& mb = std::get<NumMatrix>(b);
  int n = VectorLength(ma);
  if (n == 0 || VectorLength(mb) != n) Raise(kMsgBadDotProduct);
  NumScalar sum = NumScalar::Int(0);
  for (int k = 0; k < n; ++k) sum = AddScalars(sum, MultiplyScalars(ma.At(k), mb.At(k)));
  return sum;
}

}  // namespace lemmabox
