// The calculation stack: one fixed block on which every numeric evaluation
// runs.
//
// Evaluating a math object pushes exactly one element; an operator evaluates
// its operands (one element each) and replaces them by its result. The block
// is allocated once and never grows, so an evaluation allocates nothing but
// matrix temporaries and its final result object. The stack grows downward
// from the end of the block; a push that would leave fewer than 10 bytes free
// raises 13265 ("Out of Calculation space"), which is also how a runaway
// recursive definition ends.
//
// An element is a header and a payload, both padded to multiples of 4 bytes,
// the header at the lower address:
//   byte 0     the kind: '1' integer (int32), '2' real (double), '3' complex
//              (two doubles, real part first)
//   byte 1     the number of dimensions: 0 for a scalar, 1 for a list [n],
//              2 for a matrix [rows, cols]
//   bytes 2-3  zero
//   bytes 4-7  (dimensioned elements only) rows and columns as 16-bit counts
// The payload holds the entries in row-major order. Dimensions are 16-bit
// so that a list or matrix of more than 255 rows or columns fits as long as
// the block has room for it.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "calc/numlib_elements.h"
#include "shell/types.h"

namespace lemmabox {

constexpr size_t kCalcStackBytes = 15000;
// The largest count a dimension field holds.
constexpr int kMaxElementDimension = 65535;

// A decoded element header.
struct ElementShape {
  NumKind kind = NumKind::kInteger;
  int dims = 0;  // 0 scalar, 1 list, 2 matrix
  int rows = 1;  // a list [n] counts as one row of n
  int cols = 1;
  int Count() const { return rows * cols; }
  bool IsScalar() const { return dims == 0; }
};

// The shape of the element whose header starts at p.
ElementShape ShapeOfElement(const uint8_t* p);
// Header plus payload bytes of the element at p.
size_t ElementSize(const uint8_t* p);

// --- Positions ---

// Empties the stack (top = end).
inline void ResetCalcStack();
inline bool CalcStackEmpty();
// Bytes in use.
size_t CalcStackUsed();
// How many elements are on the stack.
int CalcStackDepth();
// A position that stays valid while elements are pushed above it: the
// distance of the top from the end of the block.
size_t TopPosition();
// The element at a position taken with TopPosition.
uint8_t* ElementAtPosition(size_t position);
// The element d places below the top (0 is the top); internal error
// "ElementAt" when the stack holds fewer.
uint8_t* ElementAt(int depth);

// --- Pushes (each raises 13265 when the block is full) ---

[[gnu::always_inline]] inline void PushInt(int32_t i);
[[gnu::always_inline]] inline void PushReal(double x);
// A complex number; an imaginary part of +0 or -0 pushes the real re.
[[gnu::always_inline]] inline void PushComplex(double re, double im);
// 1x2 and 1x3 real rows.
void Push2Vector(double x, double y);
void Push3Vector(double x, double y, double z);
void PushUndefined();
[[gnu::always_inline]] inline void PushScalar(const NumScalar& s);
// A matrix element of the matrix's kind; a dimension beyond 65535 raises 13250.
void PushMatrix(const NumMatrix& m);
void PushValue(const NumValue& v);
// A byte copy of a prepared element (header and payload), which may itself
// lie on the stack.
void PushElementCopy(const uint8_t* element);

// --- Stack operations ---

void DupTop();
// Copies the second element to the top.
void OverTop();
void SwapTop();
// Deletes count elements starting depth elements below the top; the depth
// elements above them slide down over the gap.
void RemoveElements(int depth, int count);
void DropTop();

// --- Inspecting the top ---

NumKind TopKind();
ElementShape TopShape();
inline bool TopHasDimensions();
// The top two elements are scalars (the stack holds at least two).
inline bool TopTwoAreScalars();
// Raises 13255 when the top has dimensions.
void CheckTopScalar();
// The top as a value without removing it.
NumScalar TopScalar();  // 13255 when it has dimensions

// --- Pops ---

// Drops the top element and returns its payload address; the bytes stay
// readable until the next push. Internal error "PopBytes Overflow" when the
// stack was empty.
const uint8_t* PopBytes();
// The top must be a scalar (13255). A real or complex converts through
// floor(x + 0.5) of its real part, which must lie in -2147483647 ..
// 2147483646 (else 13263; the undefined value fails too).
int32_t PopInt();
// The top must be a scalar (13255). A complex whose imaginary part is below
// 1e-17 of its real part gives the real part, any other the undefined value.
double PopReal();
std::complex<double> PopComplex();
[[gnu::always_inline]] inline NumScalar PopScalar();  // 13255 when the top has dimensions
NumValue PopValue();
// The top must be a 2-vector ([2], [2,1] or [1,2]; else 13256) or a
// 3-vector (else 13257); components convert as PopReal does.
void Pop2Vector(double& x, double& y);
void Pop3Vector(double& x, double& y, double& z);
// The top as a new math object: a number, or a matrix of numbers (a list
// [n] becomes a 1 x n matrix).
Handle PopObj();

// --- Numbers as math objects ---

// The object of a number: an integer, a real (through the real constructor),
// a complex number re + im i with the imaginary part dropped when it is
// below 1e-17 of the real part and the real part dropped when it is below
// 1e-17 of the imaginary part. An undefined part gives the undefined number.
Handle ObjOfScalar(const NumScalar& s);
// The "undefined" number: a number text "?" whose value is the undefined value.
Handle NewUndefinedNumber();

// --- Inline paths for scalars, which nearly every evaluation step handles ---

namespace calc_stack_detail {
extern uint8_t* const gStart;
extern uint8_t* const gEnd;
extern uint8_t* gTop;
constexpr size_t kScalarHeader = 4;
// A push must leave this much free.
constexpr size_t kReserve = 10;
[[noreturn]] void RaiseFull();
NumScalar PopScalarSlow();
bool TopHasDimensionsSlow();

inline uint8_t* ReserveScalar(NumKind kind, size_t payload) {
  size_t n = kScalarHeader + payload;
  if (static_cast<size_t>(gTop - gStart) < n + kReserve) RaiseFull();
  gTop -= n;
  gTop[0] = static_cast<uint8_t>(kind);
  gTop[1] = 0;
  gTop[2] = 0;
  gTop[3] = 0;
  return gTop + kScalarHeader;
}
inline size_t ScalarPayload(uint8_t kind) {
  return kind == '1' ? 4 : kind == '2' ? 8 : 16;
}
}  // namespace calc_stack_detail

inline void ResetCalcStack() {
  calc_stack_detail::gTop = calc_stack_detail::gEnd;
}
inline bool CalcStackEmpty() {
  return calc_stack_detail::gTop == calc_stack_detail::gEnd;
}

inline void PushInt(int32_t i) {
  std::memcpy(calc_stack_detail::ReserveScalar(NumKind::kInteger, 4), &i, sizeof i);
}

inline void PushReal(double x) {
  std::memcpy(calc_stack_detail::ReserveScalar(NumKind::kReal, 8), &x, sizeof x);
}

inline void PushComplex(double re, double im) {
  if (im == 0.0) {
    PushReal(re);
    return;
  }
  uint8_t* p = calc_stack_detail::ReserveScalar(NumKind::kComplex, 16);
  std::memcpy(p, &re, sizeof re);
  std::memcpy(p + 8, &im, sizeof im);
}

inline void PushScalar(const NumScalar& s) {
  switch (s.kind) {
    case NumKind::kInteger:
      PushInt(s.integer);
      break;
    case NumKind::kReal:
      PushReal(s.re);
      break;
    case NumKind::kComplex:
      PushComplex(s.re, s.im);
      break;
  }
}

inline bool TopHasDimensions() {
  using namespace calc_stack_detail;
  if (gTop >= gEnd) return TopHasDimensionsSlow();
  return gTop[1] != 0;
}

inline bool TopTwoAreScalars() {
  using namespace calc_stack_detail;
  uint8_t* p = gTop;
  if (p >= gEnd || p[1] != 0) return false;
  uint8_t* second = p + kScalarHeader + ScalarPayload(p[0]);
  return second < gEnd && second[1] == 0;
}

inline NumScalar PopScalar() {
  using namespace calc_stack_detail;
  uint8_t* p = gTop;
  if (p >= gEnd || p[1] != 0) return PopScalarSlow();
  const uint8_t* v = p + kScalarHeader;
  switch (p[0]) {
    case '1': {
      int32_t i;
      std::memcpy(&i, v, sizeof i);
      gTop = p + kScalarHeader + 4;
      return NumScalar::Int(i);
    }
    case '2': {
      double x;
      std::memcpy(&x, v, sizeof x);
      gTop = p + kScalarHeader + 8;
      return NumScalar::Real(x);
    }
    default:
      return PopScalarSlow();
  }
}

}  // namespace lemmabox
