// Element arithmetic with matrices: shapes, kinds and the messages for
// operands that do not fit.
#include "calc/numlib_elements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "shell/messages.h"
#include "support/failure_helpers.h"

namespace lemmabox {
namespace {

using S = NumScalar;

NumMatrix Ints(int rows, int cols, std::vector<int32_t> values) {
  std::vector<S> entries;
  for (int32_t v : values) entries.push_back(S::Int(v));
  return PackMatrix(rows, cols, entries);
}

NumMatrix Reals(int rows, int cols, std::vector<double> values) {
  NumMatrix m(rows, cols, NumKind::kReal);
  m.re = std::move(values);
  return m;
}

// The entries of a matrix result as doubles, with its kind and shape.
void ExpectMatrix(const NumValue& v, int rows, int cols, NumKind kind, std::vector<double> re) {
  ASSERT_TRUE(IsMatrixValue(v));
  const NumMatrix& m = std::get<NumMatrix>(v);
  EXPECT_EQ(m.rows, rows);
  EXPECT_EQ(m.cols, cols);
  EXPECT_EQ(m.kind, kind);
  ASSERT_EQ(m.re.size(), re.size());
  for (size_t k = 0; k < re.size(); ++k) EXPECT_NEAR(m.re[k], re[k], 1e-14) << k;
}

const S& Scalar(const NumValue& v) {
  return std::get<S>(v);
}

TEST(MatrixSums, ShapesKindsAndTheScalarMatrix) {
  ExpectMatrix(AddValues(Ints(1, 2, {1, 2}), Ints(1, 2, {3, 4})), 1, 2, NumKind::kInteger, {4, 6});
  // An integer entry that overflows turns the whole result real.
  ExpectMatrix(AddValues(Ints(1, 2, {2147483647, 1}), Ints(1, 2, {1, 1})), 1, 2, NumKind::kReal,
               {2147483648.0, 2});
  // A scalar or 1x1 added to a square matrix adds to the diagonal only.
  ExpectMatrix(AddValues(S::Int(10), Ints(2, 2, {1, 2, 3, 4})), 2, 2, NumKind::kInteger,
               {11, 2, 3, 14});
  ExpectMatrix(AddValues(Ints(2, 2, {1, 2, 3, 4}), Reals(1, 1, {0.5})), 2, 2, NumKind::kReal,
               {1.5, 2, 3, 4.5});
  // A complex matrix stays complex even where the imaginary parts cancel.
  NumMatrix c(1, 1, NumKind::kComplex);
  c.Set(0, S::Complex(1, 2));
  NumMatrix d(1, 1, NumKind::kComplex);
  d.Set(0, S::Complex(1, -2));
  ExpectMatrix(AddValues(c, d), 1, 1, NumKind::kComplex, {2});
  EXPECT_RAISES(kMsgMatrixSizeMismatch, AddValues(Ints(1, 2, {1, 2}), Ints(2, 1, {1, 2})));
  EXPECT_RAISES(kMsgMatrixSizeMismatch, AddValues(S::Int(1), Ints(1, 3, {1, 2, 3})));
  Scalar(AddValues(S::Int(1), S::Real(0.5)));  // two scalars stay a scalar
}

TEST(MatrixProducts, OrderShapesAndScaling) {
  NumMatrix a = Ints(2, 2, {1, 2, 3, 4});
  NumMatrix b = Ints(2, 2, {0, 1, 1, 0});
  // The product keeps its order and is real for integer operands.
  ExpectMatrix(MultiplyValues(a, b), 2, 2, NumKind::kReal, {2, 1, 4, 3});
  ExpectMatrix(MultiplyValues(b, a), 2, 2, NumKind::kReal, {3, 4, 1, 2});
  // A row times a column is a 1x1 result, which becomes a scalar.
  S dot = Scalar(MultiplyValues(Ints(1, 3, {1, 2, 3}), Ints(3, 1, {4, 5, 6})));
  EXPECT_EQ(dot.kind, NumKind::kReal);
  EXPECT_EQ(dot.re, 32.0);
  ExpectMatrix(MultiplyValues(Ints(3, 1, {1, 2, 3}), Ints(1, 2, {1, 10})), 3, 2, NumKind::kReal,
               {1, 10, 2, 20, 3, 30});
  // Scalars and non-conforming 1x1 matrices scale every entry, keeping integers.
  ExpectMatrix(MultiplyValues(S::Int(2), a), 2, 2, NumKind::kInteger, {2, 4, 6, 8});
  ExpectMatrix(MultiplyValues(a, Ints(1, 1, {3})), 2, 2, NumKind::kInteger, {3, 6, 9, 12});
  NumValue scaled = MultiplyValues(S::Complex(0, 1), Ints(1, 2, {1, 0}));
  EXPECT_EQ(std::get<NumMatrix>(scaled).kind, NumKind::kComplex);
  EXPECT_EQ(std::get<NumMatrix>(scaled).im[0], 1.0);
  EXPECT_RAISES(kMsgMatrixShapeMismatch, MultiplyValues(Ints(1, 2, {1, 2}), Ints(1, 2, {1, 2})));
}

TEST(MatrixDivisionAndPowers, InversesAndRepeatedSquaring) {
  NumMatrix a = Ints(2, 2, {1, 2, 3, 4});
  // A / A = A^-1 A = I; a scalar divided by a matrix is its inverse scaled.
  ExpectMatrix(DivideValues(a, a), 2, 2, NumKind::kReal, {1, 0, 0, 1});
  ExpectMatrix(DivideValues(S::Int(2), a), 2, 2, NumKind::kReal, {-4, 2, 3, -1});
  ExpectMatrix(DivideValues(Ints(1, 2, {2, 4}), S::Int(2)), 1, 2, NumKind::kReal, {1, 2});
  EXPECT_RAISES(kMsgMatrixNotSquare, DivideValues(S::Int(1), Ints(1, 2, {1, 2})));
  // M^0 is the integer 1 whatever M is.
  S one = Scalar(PowerValues(a, S::Int(0)));
  EXPECT_EQ(one.kind, NumKind::kInteger);
  EXPECT_EQ(one.integer, 1);
  ExpectMatrix(PowerValues(a, S::Int(3)), 2, 2, NumKind::kReal, {37, 54, 81, 118});
  ExpectMatrix(PowerValues(a, S::Int(-1)), 2, 2, NumKind::kReal, {-2, 1, 1.5, -0.5});
  ExpectMatrix(PowerValues(Ints(1, 2, {1, 2}), S::Int(1)), 1, 2, NumKind::kInteger, {1, 2});
  EXPECT_RAISES(kMsgMatrixShapeMismatch, PowerValues(Ints(1, 2, {1, 2}), S::Int(2)));
  EXPECT_RAISES(kMsgNeedScalar, PowerValues(a, S::Real(2.0)));
  EXPECT_RAISES(kMsgNeedScalar, PowerValues(S::Int(2), a));
  EXPECT_EQ(Scalar(PowerValues(S::Int(2), S::Int(10))).integer, 1024);
}

TEST(MatrixUnaryOperations, NegateAdjointAbs) {
  ExpectMatrix(NegateValue(Ints(1, 2, {-2147483647 - 1, 3})), 1, 2, NumKind::kReal,
               {2147483648.0, -3});
  NumMatrix c(1, 2, NumKind::kComplex);
  c.Set(0, S::Complex(1, 2));
  c.Set(1, S::Real(3));
  NumValue adj = AdjointValue(c);
  const NumMatrix& t = std::get<NumMatrix>(adj);
  EXPECT_EQ(t.rows, 2);
  EXPECT_EQ(t.cols, 1);
  EXPECT_EQ(t.im[0], -2.0);
  EXPECT_EQ(Scalar(AdjointValue(S::Complex(1, 2))).im, -2.0);
  // |row| is the Euclidean norm with conjugates: |(3, 4i)| = 5; a square
  // matrix gives its determinant; other shapes fail.
  NumMatrix v(1, 2, NumKind::kComplex);
  v.Set(0, S::Real(3));
  v.Set(1, S::Complex(0, 4));
  EXPECT_DOUBLE_EQ(AbsValue(v).re, 5.0);
  EXPECT_DOUBLE_EQ(AbsValue(Reals(3, 1, {1e300, 1e300, 0})).re, std::sqrt(2.0) * 1e300);
  EXPECT_NEAR(AbsValue(Ints(2, 2, {1, 2, 3, 4})).re, -2.0, 1e-15);
  EXPECT_EQ(AbsValue(S::Int(-3)).re, 3.0);
  EXPECT_RAISES(kMsgMatrixNotSquare, AbsValue(Ints(2, 3, {1, 2, 3, 4, 5, 6})));
}

TEST(MatrixEquality, EntriesCompareAsScalars) {
  struct Case {
    NumValue a;
    NumValue b;
    double want;
  };
  const Case cases[] = {
      {Ints(1, 2, {1, 2}), Reals(1, 2, {1.0, 2.0}), 1},
      {Reals(1, 1, {0.1 + 0.2}), Reals(1, 1, {0.3}), 1},
      {Ints(1, 2, {1, 2}), Ints(2, 1, {1, 2}), 0},
      {Ints(1, 2, {1, 2}), Ints(1, 2, {1, 3}), 0},
      {Ints(1, 1, {1}), S::Int(1), 0},
      {Reals(1, 2, {std::nan(""), 1}), Reals(1, 2, {1, 1}), std::nan("")},
      {Reals(1, 2, {std::nan(""), 1}), Reals(1, 2, {1, 2}), 0},
  };
  for (const Case& c : cases) {
    S r = EqualValues(c.a, c.b);
    if (std::isnan(c.want)) {
      EXPECT_TRUE(IsUndefined(r.re));
    } else {
      EXPECT_EQ(r.kind, NumKind::kInteger);
      EXPECT_EQ(r.integer, c.want);
    }
  }
}

TEST(VectorProducts, CrossAndDot) {
  // 3-vectors: the result follows the shape of the right operand.
  ExpectMatrix(CrossProduct(Ints(1, 3, {1, 0, 0}), Ints(1, 3, {0, 1, 0})), 1, 3, NumKind::kInteger,
               {0, 0, 1});
  ExpectMatrix(CrossProduct(Ints(1, 3, {1, 2, 3}), Ints(3, 1, {4, 5, 6})), 3, 1, NumKind::kInteger,
               {-3, 6, -3});
  S cross2 = Scalar(CrossProduct(Ints(1, 2, {1, 2}), Ints(2, 1, {3, 4})));
  EXPECT_EQ(cross2.integer, -2);
  EXPECT_RAISES(kMsgBadCrossProduct, CrossProduct(Ints(1, 2, {1, 2}), Ints(1, 3, {1, 2, 3})));
  EXPECT_RAISES(kMsgBadCrossProduct,
                CrossProduct(Ints(1, 4, {1, 2, 3, 4}), Ints(1, 4, {1, 2, 3, 4})));
  EXPECT_RAISES(kMsgBadCrossProduct, CrossProduct(S::Int(1), Ints(1, 2, {1, 2})));
  // The dot product has no conjugation and starts from the integer 0.
  S dot = DotProduct(Ints(1, 3, {1, 2, 3}), Ints(3, 1, {4, 5, 6}));
  EXPECT_EQ(dot.kind, NumKind::kInteger);
  EXPECT_EQ(dot.integer, 32);
  NumMatrix i(1, 1, NumKind::kComplex);
  i.Set(0, S::Complex(0, 1));
  EXPECT_EQ(DotProduct(i, i).re, -1.0);
  EXPECT_RAISES(kMsgBadDotProduct, DotProduct(Ints(1, 2, {1, 2}), Ints(1, 3, {1, 2, 3})));
  EXPECT_RAISES(kMsgBadDotProduct, DotProduct(Ints(2, 2, {1, 2, 3, 4}), Ints(2, 2, {1, 2, 3, 4})));
}

}  // namespace
}  // namespace lemmabox
