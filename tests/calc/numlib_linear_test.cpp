// LU decomposition, determinants and inverses against hand-checked results.
#include "calc/numlib_linear.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

NumMatrix Real(int rows, int cols, std::vector<double> values) {
  NumMatrix m(rows, cols, NumKind::kReal);
  m.re = std::move(values);
  return m;
}

NumMatrix Integer(int rows, int cols, std::vector<double> values) {
  NumMatrix m = Real(rows, cols, std::move(values));
  m.kind = NumKind::kInteger;
  return m;
}

NumMatrix Complex(int rows, int cols, std::vector<double> re, std::vector<double> im) {
  NumMatrix m(rows, cols, NumKind::kComplex);
  m.re = std::move(re);
  m.im = std::move(im);
  return m;
}

// |A X - I| entry by entry, for real matrices.
double ResidualOfInverse(const NumMatrix& a, const NumMatrix& x) {
  int n = a.rows;
  double worst = 0.0;
  for (int i = 0; i < n; ++i) {
    for (int j = 0; j < n; ++j) {
      double sum = 0.0;
      for (int k = 0; k < n; ++k) sum += a.re[i * n + k] * x.re[k * n + j];
      worst = std::fmax(worst, std::fabs(sum - (i == j ? 1.0 : 0.0)));
    }
  }
  return worst;
}

TEST(Determinant, HandCheckedMatrices) {
  struct Case {
    const char* what;
    NumMatrix m;
    double want;
  };
  const Case cases[] = {
      {"[[1,2],[3,4]]", Integer(2, 2, {1, 2, 3, 4}), -2.0},
      {"[[2,0,1],[1,3,2],[1,1,2]]", Integer(3, 3, {2, 0, 1, 1, 3, 2, 1, 1, 2}), 6.0},
      {"row exchange needed", Real(3, 3, {0, 1, 2, 1, 0, 3, 4, -3, 8}), -2.0},
      {"1x1", Real(1, 1, {-7.5}), -7.5},
      {"singular", Real(2, 2, {1, 2, 2, 4}), 0.0},
      {"singular 3x3", Real(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}), 0.0},
  };
  for (const Case& c : cases) {
    NumScalar d = Determinant(c.m);
    EXPECT_EQ(d.kind, NumKind::kReal) << c.what;  // computed in reals, also for integers
    EXPECT_NEAR(d.re, c.want, 1e-14) << c.what;
  }
  // [[1, i], [2, 3]]: det = 3 - 2i
  NumScalar d = Determinant(Complex(2, 2, {1, 0, 2, 3}, {0, 1, 0, 0}));
  EXPECT_EQ(d.kind, NumKind::kComplex);
  EXPECT_NEAR(d.re, 3.0, 1e-15);
  EXPECT_NEAR(d.im, -2.0, 1e-15);
  // [[i, 1], [1, -i]]: det = -i^2 - 1 = 0, a real
  NumScalar zero = Determinant(Complex(2, 2, {0, 1, 1, 0}, {1, 0, 0, -1}));
  EXPECT_EQ(zero.kind, NumKind::kReal);
  EXPECT_EQ(zero.re, 0.0);
}

TEST(Inverse, HandCheckedAndResidual) {
  NumMatrix inv = InverseMatrix(Integer(2, 2, {1, 2, 3, 4}));
  const double want[] = {-2.0, 1.0, 1.5, -0.5};
  EXPECT_EQ(inv.kind, NumKind::kReal);
  for (int k = 0; k < 4; ++k) EXPECT_NEAR(inv.re[k], want[k], 1e-15);

  NumMatrix a = Real(4, 4, {0, 2, -1, 5, 3, 1, 4, -2, 1, 0, 0, 7, 2, 2, 2, 2});
  EXPECT_LT(ResidualOfInverse(a, InverseMatrix(a)), 1e-15);

  // (1 + i)^-1 = (1 - i)/2 and a 2x2 complex inverse: [[1, i], [0, 2]]^-1 = [[1, -i/2], [0, 1/2]]
  NumMatrix c = InverseMatrix(Complex(2, 2, {1, 0, 0, 2}, {0, 1, 0, 0}));
  const double wantRe[] = {1, 0, 0, 0.5};
  const double wantIm[] = {0, -0.5, 0, 0};
  for (int k = 0; k < 4; ++k) {
    EXPECT_NEAR(c.re[k], wantRe[k], 1e-15);
    EXPECT_NEAR(c.im[k], wantIm[k], 1e-15);
  }
}

// The pivot is chosen relative to each row's largest entry. Choosing by the
// entry times the row's largest entry instead would take 1e-8 as the first
// pivot here and lose the (0,0) entry of the inverse entirely.
TEST(Inverse, PivotsRelativeToTheRowScale) {
  NumMatrix a = Real(2, 2, {1e-8, 1e10, 1, 1});
  NumMatrix inv = InverseMatrix(a);
  double det = 1e-8 - 1e10;
  EXPECT_NEAR(inv.re[0], 1.0 / det, 1e-15 * std::fabs(1.0 / det));
  EXPECT_NEAR(inv.re[1], -1e10 / det, 1e-15);
  EXPECT_NEAR(inv.re[2], -1.0 / det, 1e-15 * std::fabs(1.0 / det));
  LUDecomposition d = DecomposeLU(a);
  EXPECT_EQ(d.pivots[0], 1);
  EXPECT_EQ(d.parity, -1);
}

TEST(Inverse, SingularRealMatrixGivesHugeEntriesNotAFailure) {
  NumMatrix inv = InverseMatrix(Real(2, 2, {1, 1, 1, 1}));
  double largest = 0.0;
  for (double v : inv.re) {
    EXPECT_TRUE(std::isfinite(v));
    largest = std::fmax(largest, std::fabs(v));
  }
  EXPECT_GT(largest, 1e300);
  EXPECT_TRUE(DecomposeLU(Real(2, 2, {1, 1, 1, 1})).zeroPivot);
}

TEST(Inverse, ShapeFailures) {
  EXPECT_RAISES(kMsgMatrixNotSquare, InverseMatrix(Real(2, 3, {1, 2, 3, 4, 5, 6})));
  EXPECT_RAISES(kMsgMatrixNotSquare, Determinant(Real(1, 2, {1, 2})));
  EXPECT_INTERNAL_ERROR("LUDecompStack", DecomposeLU(Real(2, 1, {1, 2})));
}

TEST(MatrixEntries, KindsAndConversions) {
  NumMatrix m = PackMatrix(1, 3, {NumScalar::Int(1), NumScalar::Real(2.5), NumScalar::Int(3)});
  EXPECT_EQ(m.kind, NumKind::kReal);
  EXPECT_EQ(m.At(0, 2).re, 3.0);
  NumMatrix ints = PackMatrix(1, 2, {NumScalar::Int(-4), NumScalar::Int(9)});
  EXPECT_EQ(ints.kind, NumKind::kInteger);
  EXPECT_EQ(ints.At(0).integer, -4);
  ConvertMatrix(ints, NumKind::kComplex);
  EXPECT_EQ(ints.At(1).kind, NumKind::kReal);  // a zero imaginary part reads back as a real
  ints.Set(1, NumScalar::Complex(1, 2));
  EXPECT_EQ(ints.At(1).im, 2.0);
  EXPECT_INTERNAL_ERROR("SetSMComplex", m.Set(0, NumScalar::Complex(1, 1)));
  EXPECT_INTERNAL_ERROR("ConvertMatrix", ConvertMatrix(m, NumKind::kInteger));
}

}  // namespace
}  // namespace lemmabox
