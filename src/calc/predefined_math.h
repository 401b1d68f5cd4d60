// The mathematics of the predefined names: what each key number means when
// it is evaluated.
//
// Key numbers:
//   1..5        constants pi, e, infinity, i, degree (pi/180)
//   0x10        the differential d: not a function (13183)
//   0x20..0x26  log, Re, Im, Gamma, floor, ceiling, round
//   0x30..0x35  J, Y, I, K (order 0, or the order of a subscript), Ai, Bi
//   0x40..0x48  graph bounds (left ... radius), taken from the nearest graph by
//               the evaluator, not here
//   0x80..0x85  FromPolar, ToPolar, FromCylindrical, ToCylindrical,
//               FromSpherical, ToSpherical: a 2- or 3-vector to a real row
//   0x90..0x92  RowsOf, ElementsOf, ColumnsOf
//   0xA0        mod
//   0x100 + bits, the elementary family: the low two bits choose sin, cos,
//               tan (with the hyperbolic bit: sinh, cosh, tanh, and 3 exp);
//               +0x04 the reciprocal (csc, sec, cot: the result inverted; for
//               an inverse function the argument inverted first), +0x10 the
//               inverse (arc...; inverse hyperbolic 3 is ln), +0x20 hyperbolic.
// Codes 0x80..0xBF take a list or vector as their argument; all others one
// scalar.
#pragma once

#include <complex>

#include "calc/numlib_elements.h"
#include "calc/numlib_scalar.h"
#include "mathobj/predefined_keys.h"

namespace lemmabox {

bool IsConstantKey(int key);    // 1..5
bool IsGraphBoundKey(int key);  // 0x40..0x48
bool IsListKey(int key);        // 0x80..0xBF: the argument is a list or vector
bool IsElementaryKey(int key);  // one of the 26 names of the family
// A key the one-argument dispatch evaluates: 0x20..0x26, 0x30..0x35, the family.
bool IsOneArgumentKey(int key);
bool IsBesselKey(int key);  // 0x30..0x33

// The value of a constant; any other key raises 13183.
NumScalar PredefinedConstant(int key);

// The real version of a one-argument function; the undefined value where it
// has no real value (ln of a negative, arcsin of 2, ...). Keys without a
// one-argument meaning raise 13183.
double PredefinedReal(int key, double x);
// The complex version (the undefined value for floor, ceiling, round and the
// Bessel and Airy functions). Keys without a one-argument meaning raise 13183.
std::complex<double> PredefinedComplex(int key, std::complex<double> z);

// Function application for a one-argument key: a complex argument goes to the
// complex version; a real or integer one to the real version, and when that
// is undefined the complex version is tried at (x, 0), so ln(-2), arcsin(2)
// and arccosh(0.5) are complex. Gamma of a whole number is the factorial of
// x - 1. An undefined argument, and a complex result with an undefined part,
// give the undefined value.
// Other keys raise 13183.
NumScalar ApplyPredefinedFunction(int key, const NumScalar& arg);
// J, Y, I, K of order v (a subscripted Bessel name) and Ai, Bi: real
// arguments only; a complex argument gives the undefined value. Other keys
// raise 13183.
NumScalar ApplyBesselFunction(int key, double order, const NumScalar& arg);
// log_b(x) and ln_b(x): for a real x, 0 gives -infinity, x < 0 the undefined
// value, x > 0 ln x / ln b; for a complex x, ln z / ln b in complex arithmetic.
// The base matters only for x > 0 or complex x, so the evaluator need not
// evaluate it otherwise.
NumScalar LogWithBase(const NumScalar& x, const NumScalar& base);

// The list functions 0x80..0xBF. The coordinate conversions need a 2-vector
// (13256) or 3-vector (13257) of real values (a complex component that is not
// practically real becomes undefined) and give a real row; spherical
// coordinates are (r, theta, phi) with theta the angle in the x-y plane, as
// in cylindrical coordinates, and phi the angle from the z axis. The sizes
// view a scalar as 1x1. mod needs a 1x2 list (a, b) (else 13183) and gives
// the floored remainder, with the sign of b: undefined for an integer b = 0
// and for complex operands. Unlisted codes raise 13183.
NumValue ApplyListFunction(int key, const NumValue& arg);

}  // namespace lemmabox
