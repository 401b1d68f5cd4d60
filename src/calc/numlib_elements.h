// Arithmetic of calculation elements: scalars and matrices together.
//
// A value is what one element of the calculation stack holds. Two scalars use
// the scalar arithmetic of numlib_scalar.h; as soon as a matrix takes part the
// shapes decide:
//  - a sum needs equal shapes, except that a scalar or 1x1 matrix added to a
//    square matrix acts as that multiple of the identity (else 13258);
//  - a product of matrices needs columns of the left = rows of the right
//    (else 13251) and is real or complex; a 1x1 result is a scalar. A scalar
//    or a 1x1 matrix that does not fit the product scales every entry;
//  - A / B is B^-1 A, and a division by a scalar scales by its reciprocal;
//  - M^n multiplies by repeated squaring (n = 0 gives the integer 1, n < 0
//    inverts first); the exponent must be a scalar and, for a matrix base, an
//    integer (13255);
//  - an inverse or determinant needs a square matrix (13252).
// Entry-wise results keep at least the larger kind of the operands and turn
// real when an integer entry overflows.
#pragma once

#include <variant>

#include "calc/numlib_linear.h"
#include "calc/numlib_scalar.h"

namespace lemmabox {

using NumValue = std::variant<NumScalar, NumMatrix>;

inline bool IsMatrixValue(const NumValue& v) {
  return std::holds_alternative<NumMatrix>(v);
}
// A scalar viewed as a 1x1 matrix, or the matrix itself.
NumMatrix MatrixOfValue(const NumValue& v);

NumValue AddValues(const NumValue& a, const NumValue& b);
NumValue MultiplyValues(const NumValue& left, const NumValue& right);
NumValue DivideValues(const NumValue& dividend, const NumValue& divisor);
NumValue PowerValues(const NumValue& base, const NumValue& exponent);
NumValue NegateValue(const NumValue& v);
// 1/x of a scalar, the inverse of a square matrix.
NumValue ReciprocalValue(const NumValue& v);
// The conjugate transpose (a scalar is conjugated).
NumValue AdjointValue(const NumValue& v);

// |x|: of a scalar as in AbsScalar; of a row or column its Euclidean norm
// sqrt(sum e conj(e)); of another square matrix its determinant; any other
// matrix raises 13252.
NumScalar AbsValue(const NumValue& v);

// a = b: the integer 1 or 0, or undefined. Matrices are equal when they have
// the same shape and every pair of entries is equal as scalars; a scalar is
// never equal to a matrix.
NumScalar EqualValues(const NumValue& a, const NumValue& b);

// a x b of two rows or columns of the same length: for 2-vectors the scalar
// a1 b2 - a2 b1; for 3-vectors a 3-vector shaped like b (a column when b is a
// column, else a row). Anything else raises 13237.
NumValue CrossProduct(const NumValue& a, const NumValue& b);
// a . b = sum a_k b_k (no conjugation), from the integer 0, of two rows or
// columns with the same number of components; anything else raises 13236.
NumScalar DotProduct(const NumValue& a, const NumValue& b);

}  // namespace lemmabox
