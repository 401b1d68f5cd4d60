// Constructors of math objects.
//
// Every constructor returns a detached object (parent null, slotIndex -1)
// whose other header fields are zero except `type`. The ones that take
// operands take ownership of them; a null operand leaves its slot empty.
#pragma once

#include <cstddef>
#include <cstdint>

#include "mathobj/object.h"

namespace lemmabox {

// Sums and products hold at most this many operands.
constexpr int kMaxOperands = 32000;
// Reals closer than this (relatively) count as equal.
constexpr double kNumericTolerance = 1e-13;

// --- Generic shapes ---

// The header plus `payloadBytes` zero bytes; count 0.
Handle NewObj(TypeCode type, size_t payloadBytes);
Handle NewObj1(TypeCode type, Handle a);
Handle NewObj2(TypeCode type, Handle a, Handle b);
// n empty slots; more than 32000 raises 13173.
Handle NewObjN(TypeCode type, int n);
// 'm' with rows x cols empty slots and its dimension word.
Handle NewMatrix(int rows, int cols);
// How many operands a newly inserted object of this type gets.
int NNEwSubObjs(TypeCode type);

// --- Expressions ---

Handle NewPower(Handle base, Handle exponent);
Handle NewIndex(Handle base, Handle index);
Handle NewQuotient(Handle numerator, Handle denominator);
Handle NewProduct(Handle a, Handle b);
Handle NewProduct(Handle a, Handle b, Handle c);
Handle NewProduct(Handle a, Handle b, Handle c, Handle d);
Handle NewSum(Handle a, Handle b);
Handle NewSum(Handle a, Handle b, Handle c);
Handle NewSum(Handle a, Handle b, Handle c, Handle d);
// a + (-b)
Handle NewDifference(Handle a, Handle b);
Handle NewNegation(Handle a);
Handle NewSqrt(Handle a);
Handle NewAbs(Handle a);
// 1 / a
Handle NewReciprocal(Handle a);
// a ^ 2
Handle NewSquare(Handle a);
// a ^ (1/3): a cube root written as a power
Handle NewRootPower(Handle a);
Handle NewRange(Handle from, Handle to);
Handle NewEquation(Handle left, Handle right);
// The predefined function with this key applied to x.
Handle NewApply(int functionKey, Handle x);
// 1 x n matrices.
Handle NewVector(Handle a);
Handle NewVector(Handle a, Handle b);
Handle NewVector(Handle a, Handle b, Handle c);

// --- Numbers and names ---

// A negative k is the negation of |k|; the most negative value is built as a real.
Handle NewInteger(int32_t k);
inline Handle NewZero() {
  return NewInteger(0);
}
inline Handle NewOne() {
  return NewInteger(1);
}
inline Handle NewMinusOne() {
  return NewInteger(-1);
}
inline Handle NewTwo() {
  return NewInteger(2);
}
inline Handle NewThree() {
  return NewInteger(3);
}
// An integer when x is one within 0.01 x the tolerance, else a real (negated
// when x < 0); infinity is the predefined name 3 (negated for -infinity) and
// NaN a question mark.
Handle NewReal(double x);
// re, im*i or re + im*i, dropping a part that is negligible beside the other.
Handle NewComplex(double re, double im);
Handle NewQuestionMark();
// A wildcard of this kind (a lower-case letter).
Handle NewWildcard(char kind);
// Texts longer than 31 bytes are cut to 31.
Handle NewUndeclaredName(const char* text);
Handle NewNumberText(const char* text);
// The name of predefined key number `key`, as the current notebook declares
// it (mathobj/hooks.h); 13230 when it cannot be made.
Handle NewPredefinedName(int key);

// Payload sizes of the leaves.
constexpr size_t kIntegerPayload = sizeof(int32_t);
constexpr size_t kRealPayload = sizeof(double);
constexpr size_t kTextPayload = kTextFieldSize;
constexpr size_t kWildcardPayload = 2;

}  // namespace lemmabox
