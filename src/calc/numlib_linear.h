// Matrices of the numeric library: LU decomposition, determinant and inverse.
//
// A matrix holds its entries in row-major order in one kind for all of them:
// integers (kept as exact doubles), reals, or complex numbers (real and
// imaginary parts in two planes). The calculation stack converts its matrix
// elements to and from this form.
#pragma once

#include <vector>

#include "calc/numlib_scalar.h"

namespace lemmabox {

struct NumMatrix {
  int rows = 0;
  int cols = 0;
  NumKind kind = NumKind::kReal;
  std::vector<double> re;  // rows * cols entries; for integers their exact values
  std::vector<double> im;  // rows * cols imaginary parts when complex, else empty

  NumMatrix() = default;
  // A zero matrix.
  NumMatrix(int rowCount, int colCount, NumKind entryKind);

  int Size() const { return rows * cols; }
  bool IsSquare() const { return rows == cols; }
  // A single row or a single column (a 1x1 matrix is both).
  bool IsVector() const { return rows == 1 || cols == 1; }

  NumScalar At(int k) const;  // entry k in row-major order
  NumScalar At(int r, int c) const { return At(r * cols + c); }
  // Stores a scalar of this kind or a smaller one (an integer into a real
  // matrix, a real into a complex one). A larger kind is the internal error
  // "SetSMComplex" (or "SetSMReal" for a real into an integer matrix).
  void Set(int k, const NumScalar& value);
  void Set(int r, int c, const NumScalar& value) { Set(r * cols + c, value); }
};

// Raises the kind of every entry; a smaller kind than the matrix has is an
// internal error "ConvertMatrix".
void ConvertMatrix(NumMatrix& m, NumKind kind);
// A matrix of the given shape from scalars in row-major order, of the largest
// kind among them.
NumMatrix PackMatrix(int rows, int cols, const std::vector<NumScalar>& entries);

// The LU decomposition of a square matrix with row exchanges: lu holds the
// unit lower triangle below the diagonal and the upper triangle on and above
// it, pivots[j] the row exchanged with row j at step j, parity the sign of the
// permutation. The pivot of each column is the candidate largest relative to
// its row's largest entry (implicit scaling; on a tie the later row). An
// integer matrix is decomposed in reals. A real pivot that is exactly 0 is
// replaced by the smallest normal double, so a singular real matrix gives a
// tiny determinant and an inverse with huge entries instead of failing;
// zeroPivot records that this happened.
struct LUDecomposition {
  NumMatrix lu;
  std::vector<int> pivots;
  int parity = 1;
  bool zeroPivot = false;
};
// A matrix that is not square is the internal error "LUDecompStack" (callers
// check squareness for the user first).
LUDecomposition DecomposeLU(NumMatrix m);

// The determinant, real or complex (a real when the imaginary part is zero);
// exactly 0 when the elimination meets a zero pivot. Raises
// 13252 when the matrix is not square.
NumScalar Determinant(const NumMatrix& m);
// The inverse by forward and back substitution of the unit columns. Raises
// 13252 when the matrix is not square.
NumMatrix InverseMatrix(const NumMatrix& m);
// The inverse from a decomposition made by DecomposeLU.
NumMatrix InverseFromLU(const LUDecomposition& d);

}  // namespace lemmabox
