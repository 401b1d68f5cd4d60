#include "mathobj/constructors.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "mathobj/dup_dispose.h"
#include "mathobj/handles.h"
#include "mathobj/hooks.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

Handle NewText(TypeCode type, const char* text) {
  Handle h = NewObj(type, kTextPayload);
  if (text != nullptr) std::strncpy(ObjText(h), text, kTextFieldSize - 1);
  return h;
}

// Runs make(), disposing `owned` when it fails: constructors own their operands.
template <class Make>
Handle WithCleanup(Handle owned, Make&& make) {
  try {
    return make();
  } catch (...) {
    DisposeObj(owned);
    throw;
  }
}

// im x i
Handle ImaginaryTimes(double im) {
  Handle i = NewPredefinedName(kKeyImaginary);
  return WithCleanup(i, [&] { return NewProduct(NewReal(im), i); });
}

Handle NewWithOperands(TypeCode type, std::initializer_list<Handle> operands) {
  Handle h = NewObjN(type, static_cast<int>(operands.size()));
  int i = 0;
  for (Handle operand : operands) {
    if (operand != nullptr) PutSlot(h, i, operand);
    ++i;
  }
  return h;
}

}  // namespace

Handle NewObj(TypeCode type, size_t payloadBytes) {
  Handle h = AllocObjHandle(kObjHeaderSize + payloadBytes);
  Obj& o = Hdr(h);
  o.type = type;
  o.slotIndex = -1;
  return h;
}

Handle NewObj1(TypeCode type, Handle a) {
  return NewWithOperands(type, {a});
}

Handle NewObj2(TypeCode type, Handle a, Handle b) {
  return NewWithOperands(type, {a, b});
}

Handle NewObjN(TypeCode type, int n) {
  if (n > kMaxOperands) Raise(kMsgExpressionTooLarge);
  if (n < 0) InternalError("NewObjN");
  Handle h = NewObj(type, n * sizeof(Handle));
  Hdr(h).count = n;
  return h;
}

Handle NewMatrix(int rows, int cols) {
  if (rows < 0 || cols < 0 || rows > 0xFFFF || cols > 0xFFFF) InternalError("NewMatrix");
  size_t count = size_t(rows) * size_t(cols);
  if ((count + 1) * sizeof(Handle) + kObjHeaderSize >= kMaxHandleBytes) InternalError("NewMatrix");
  Handle h = NewObj(kMatrix, (count + 1) * sizeof(Handle));
  Hdr(h).count = static_cast<int32_t>(count);
  SetMatrixDims(h, rows, cols);
  return h;
}

int NNEwSubObjs(TypeCode type) {
  // An iterated product is marked as three operands but gets its optional end value too.
  if (type == kPiProduct) return 4;
  uint8_t shape = ShapeBits(type);
  if (shape & kShapeOne) return 1;
  if (shape & kShapeTwo) return 2;
  if (shape & kShapeThree) return 3;
  if (shape & kShapeAny) return 2;
  InternalError("NNEwSubObjs");
}

Handle NewPower(Handle base, Handle exponent) {
  return NewObj2(kPower, base, exponent);
}
Handle NewIndex(Handle base, Handle index) {
  return NewObj2(kIndex, base, index);
}
Handle NewQuotient(Handle n, Handle d) {
  return NewObj2(kQuotient, n, d);
}
Handle NewProduct(Handle a, Handle b) {
  return NewWithOperands(kProduct, {a, b});
}
Handle NewProduct(Handle a, Handle b, Handle c) {
  return NewWithOperands(kProduct, {a, b, c});
}
Handle NewProduct(Handle a, Handle b, Handle c, Handle d) {
  return NewWithOperands(kProduct, {a, b, c, d});
}
Handle NewSum(Handle a, Handle b) {
  return NewWithOperands(kSum, {a, b});
}
Handle NewSum(Handle a, Handle b, Handle c) {
  return NewWithOperands(kSum, {a, b, c});
}
Handle NewSum(Handle a, Handle b, Handle c, Handle d) {
  return NewWithOperands(kSum, {a, b, c, d});
}
Handle NewDifference(Handle a, Handle b) {
  return NewSum(a, NewNegation(b));
}
Handle NewNegation(Handle a) {
  return NewObj1(kNegation, a);
}
Handle NewSqrt(Handle a) {
  return NewObj1(kSqrt, a);
}
Handle NewAbs(Handle a) {
  return NewObj1(kAbs, a);
}
Handle NewReciprocal(Handle a) {
  return NewQuotient(NewOne(), a);
}
Handle NewSquare(Handle a) {
  return NewPower(a, NewTwo());
}
Handle NewRootPower(Handle a) {
  return NewPower(a, NewQuotient(NewOne(), NewThree()));
}
Handle NewRange(Handle from, Handle to) {
  return NewObj2(kRange, from, to);
}
Handle NewEquation(Handle left, Handle right) {
  return NewObj2(kEquals, left, right);
}

Handle NewApply(int functionKey, Handle x) {
  Handle apply = NewObj2(kApply, nullptr, x);
  WithCleanup(apply, [&] {
    PutSlot(apply, 0, NewPredefinedName(functionKey));
    return apply;
  });
  return apply;
}

Handle NewVector(Handle a) {
  Handle m = NewMatrix(1, 1);
  if (a) PutSlot(m, 0, a);
  return m;
}

Handle NewVector(Handle a, Handle b) {
  Handle m = NewMatrix(1, 2);
  if (a) PutSlot(m, 0, a);
  if (b) PutSlot(m, 1, b);
  return m;
}

Handle NewVector(Handle a, Handle b, Handle c) {
  Handle m = NewMatrix(1, 3);
  if (a) PutSlot(m, 0, a);
  if (b) PutSlot(m, 1, b);
  if (c) PutSlot(m, 2, c);
  return m;
}

Handle NewInteger(int32_t k) {
  if (k == INT32_MIN) return NewReal(static_cast<double>(k));
  if (k < 0) return NewNegation(NewInteger(-k));
  Handle h = NewObj(kInteger, kIntegerPayload);
  IntegerValue(h) = k;
  return h;
}

Handle NewReal(double x) {
  if (std::isnan(x)) return NewQuestionMark();
  if (std::isinf(x)) {
    Handle infinity = NewPredefinedName(kKeyInfinity);
    return x < 0 ? NewNegation(infinity) : infinity;
  }
  if (x == 0) return NewZero();
  // Snap to the nearest integer when x is one to within a hundredth of the
  // tolerance. Only integers whose magnitude an integer object can hold
  // qualify: the most negative 32-bit value is built from here.
  double k = std::floor(x + 0.5);
  if (std::fabs(k) <= INT32_MAX && std::fabs((k - x) / (k + x)) <= 0.01 * kNumericTolerance)
    return NewInteger(static_cast<int32_t>(k));
  Handle real = NewObj(kReal, kRealPayload);
  RealValue(real) = std::fabs(x);
  return x < 0 ? NewNegation(real) : real;
}

Handle NewComplex(double re, double im) {
  // A zero imaginary part is negligible even beside a zero real part.
  if (im == 0 || std::fabs(im / re) < kNumericTolerance) return NewReal(re);
  Handle imaginary = ImaginaryTimes(im);
  if (std::fabs(re / im) < kNumericTolerance) return imaginary;
  return WithCleanup(imaginary, [&] { return NewSum(NewReal(re), imaginary); });
}

Handle NewQuestionMark() {
  return NewObj(kQuestion, 0);
}

Handle NewWildcard(char kind) {
  Handle h = NewObj(kWildcard, kWildcardPayload);
  WildcardKind(h) = kind;
  return h;
}

Handle NewUndeclaredName(const char* text) {
  return NewText(kUndeclaredName, text);
}
Handle NewNumberText(const char* text) {
  return NewText(kNumberText, text);
}

Handle NewPredefinedName(int key) {
  return gObjStoreHooks.predefinedName(key);
}

}  // namespace lemmabox
