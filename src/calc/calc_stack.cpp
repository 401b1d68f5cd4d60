#include "calc/calc_stack.h"

#include <cmath>
#include <cstring>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {

namespace calc_stack_detail {
namespace {
// The block is static: allocated with the program, never freed, never moved.
alignas(8) uint8_t gBlock[kCalcStackBytes];
}  // namespace
uint8_t* const gStart = gBlock;
uint8_t* const gEnd = gBlock + kCalcStackBytes;
uint8_t* gTop = gEnd;

void RaiseFull() {
  Raise(kMsgOutOfCalculationSpace);
}
}  // namespace calc_stack_detail

namespace {

using calc_stack_detail::gEnd;
using calc_stack_detail::gStart;
using calc_stack_detail::gTop;
using calc_stack_detail::kReserve;
using calc_stack_detail::kScalarHeader;

constexpr size_t kDimensionedHeader = 8;

constexpr size_t RoundUp4(size_t n) {
  return (n + 3) & ~size_t{3};
}

size_t KindSize(NumKind kind) {
  switch (kind) {
    case NumKind::kInteger:
      return 4;
    case NumKind::kReal:
      return 8;
    case NumKind::kComplex:
      return 16;
  }
  return 8;
}

bool ValidKind(uint8_t k) {
  return k >= '1' && k <= '3';
}

// Makes room for n more bytes below the top, or raises 13265.
uint8_t* Reserve(size_t n) {
  if (static_cast<size_t>(gTop - gStart) < n + kReserve) Raise(kMsgOutOfCalculationSpace);
  gTop -= n;
  return gTop;
}

double ReadDouble(const uint8_t* p) {
  double x;
  std::memcpy(&x, p, sizeof x);
  return x;
}

void WriteDouble(uint8_t* p, double x) {
  std::memcpy(p, &x, sizeof x);
}

// Entry k of a payload of the given kind.
NumScalar EntryOf(const uint8_t* payload, NumKind kind, int k) {
  switch (kind) {
    case NumKind::kInteger: {
      int32_t i;
      std::memcpy(&i, payload + 4 * static_cast<size_t>(k), sizeof i);
      return NumScalar::Int(i);
    }
    case NumKind::kReal:
      return NumScalar::Real(ReadDouble(payload + 8 * static_cast<size_t>(k)));
    case NumKind::kComplex: {
      const uint8_t* p = payload + 16 * static_cast<size_t>(k);
      return NumScalar{NumKind::kComplex, 0, ReadDouble(p), ReadDouble(p + 8)};
    }
  }
  return NumScalar::Undefined();
}

size_t HeaderSize(const uint8_t* p) {
  return p[1] == 0 ? kScalarHeader : kDimensionedHeader;
}

const uint8_t* PayloadOf(const uint8_t* p) {
  return p + HeaderSize(p);
}

uint8_t* Top() {
  if (gTop >= gEnd) InternalError("PopBytes Overflow");
  return gTop;
}

// The real value of a vector component.
double ComponentReal(const uint8_t* payload, NumKind kind, int k) {
  return RealOfScalar(EntryOf(payload, kind, k));
}

NumMatrix MatrixOfElement(const uint8_t* p) {
  ElementShape shape = ShapeOfElement(p);
  NumMatrix m(shape.rows, shape.cols, shape.kind);
  const uint8_t* payload = PayloadOf(p);
  for (int k = 0; k < shape.Count(); ++k) m.Set(k, EntryOf(payload, shape.kind, k));
  return m;
}

// Builds with make(); when that fails, owned is disposed on the way out.
template <class Make>
Handle BuildOrDispose(Handle owned, Make&& make) {
  try {
    return make();
  } catch (...) {
    DisposeObj(owned);
    throw;
  }
}

Handle ImaginaryPart(double im) {
  // i, -i, (im) i or -((-im) i).
  if (im == 1.0) return NewPredefinedName(kKeyImaginary);
  if (im == -1.0) return NewNegation(NewPredefinedName(kKeyImaginary));
  Handle factor = NewReal(std::fabs(im));
  Handle i = BuildOrDispose(factor, [] { return NewPredefinedName(kKeyImaginary); });
  Handle product = NewProduct(factor, i);
  return im > 0 ? product : NewNegation(product);
}

void PushRealRow(const double* x, int n) {
  uint8_t* p = Reserve(kDimensionedHeader + 8 * static_cast<size_t>(n));
  p[0] = static_cast<uint8_t>(NumKind::kReal);
  p[1] = 2;
  p[2] = 0;
  p[3] = 0;
  uint16_t d[2] = {1, static_cast<uint16_t>(n)};
  std::memcpy(p + 4, d, sizeof d);
  for (int k = 0; k < n; ++k)
    WriteDouble(p + kDimensionedHeader + 8 * static_cast<size_t>(k), x[k]);
}

}  // namespace

ElementShape ShapeOfElement(const uint8_t* p) {
  ElementShape shape;
  if (!ValidKind(p[0])) InternalError("ElementKind");
  shape.kind = static_cast<NumKind>(p[0]);
  shape.dims = p[1];
  if (shape.dims == 0) return shape;
  uint16_t d[2];
  std::memcpy(d, p + 4, sizeof d);
  if (shape.dims == 1) {
    shape.rows = 1;
    shape.cols = d[0];
  } else {
    shape.rows = d[0];
    shape.cols = d[1];
  }
  return shape;
}

size_t ElementSize(const uint8_t* p) {
  ElementShape shape = ShapeOfElement(p);
  return HeaderSize(p) + RoundUp4(KindSize(shape.kind) * static_cast<size_t>(shape.Count()));
}

// --- Positions ---

size_t CalcStackUsed() {
  return static_cast<size_t>(gEnd - gTop);
}

int CalcStackDepth() {
  int n = 0;
  for (uint8_t* p = gTop; p < gEnd; p += ElementSize(p)) ++n;
  return n;
}

size_t TopPosition() {
  return static_cast<size_t>(gEnd - gTop);
}

uint8_t* ElementAtPosition(size_t position) {
  if (position == 0 || position > kCalcStackBytes) InternalError("ElementAt");
  return gEnd - position;
}

uint8_t* ElementAt(int depth) {
  uint8_t* p = gTop;
  for (int d = 0; d < depth && p < gEnd; ++d) p += ElementSize(p);
  if (p >= gEnd) InternalError("ElementAt");
  return p;
}

// --- Pushes ---

void PushUndefined() {
  PushReal(UndefinedValue());
}

void PushMatrix(const NumMatrix& m) {
  if (m.rows < 1 || m.cols < 1) InternalError("SetStackMatrix");
  if (m.rows > kMaxElementDimension || m.cols > kMaxElementDimension) Raise(kMsgMatricesTooLarge);
  size_t payload = RoundUp4(KindSize(m.kind) * static_cast<size_t>(m.Size()));
  if (payload > kCalcStackBytes) Raise(kMsgOutOfCalculationSpace);
  uint8_t* p = Reserve(kDimensionedHeader + payload);
  p[0] = static_cast<uint8_t>(m.kind);
  p[1] = 2;
  p[2] = 0;
  p[3] = 0;
  uint16_t d[2] = {static_cast<uint16_t>(m.rows), static_cast<uint16_t>(m.cols)};
  std::memcpy(p + 4, d, sizeof d);
  uint8_t* out = p + kDimensionedHeader;
  for (int k = 0; k < m.Size(); ++k) {
    switch (m.kind) {
      case NumKind::kInteger: {
        int32_t i = static_cast<int32_t>(m.re[k]);
        std::memcpy(out + 4 * static_cast<size_t>(k), &i, sizeof i);
        break;
      }
      case NumKind::kReal:
        WriteDouble(out + 8 * static_cast<size_t>(k), m.re[k]);
        break;
      case NumKind::kComplex:
        WriteDouble(out + 16 * static_cast<size_t>(k), m.re[k]);
        WriteDouble(out + 16 * static_cast<size_t>(k) + 8, m.im[k]);
        break;
    }
  }
}

void Push2Vector(double x, double y) {
  const double row[2] = {x, y};
  PushRealRow(row, 2);
}

void Push3Vector(double x, double y, double z) {
  const double row[3] = {x, y, z};
  PushRealRow(row, 3);
}

void PushValue(const NumValue& v) {
  if (const NumScalar* s = std::get_if<NumScalar>(&v))
    PushScalar(*s);
  else
    PushMatrix(std::get<NumMatrix>(v));
}

void PushElementCopy(const uint8_t* element) {
  size_t n = ElementSize(element);
  uint8_t* p = Reserve(n);
  std::memmove(p, element, n);
}

// --- Stack operations ---

void DupTop() {
  PushElementCopy(Top());
}

void OverTop() {
  PushElementCopy(ElementAt(1));
}

void SwapTop() {
  OverTop();
  RemoveElements(2, 1);
}

void RemoveElements(int depth, int count) {
  if (count <= 0) return;
  uint8_t* from = ElementAt(depth);
  uint8_t* to = from;
  for (int k = 0; k < count; ++k) {
    if (to >= gEnd) InternalError("ElementAt");
    to += ElementSize(to);
  }
  if (to > gEnd) InternalError("ElementAt");
  size_t gap = static_cast<size_t>(to - from);
  std::memmove(gTop + gap, gTop, static_cast<size_t>(from - gTop));
  gTop += gap;
}

void DropTop() {
  PopBytes();
}

// --- Inspecting the top ---

NumKind TopKind() {
  return ShapeOfElement(Top()).kind;
}
ElementShape TopShape() {
  return ShapeOfElement(Top());
}
namespace calc_stack_detail {
bool TopHasDimensionsSlow() {
  return Top()[1] != 0;
}
}  // namespace calc_stack_detail

void CheckTopScalar() {
  if (TopHasDimensions()) Raise(kMsgNeedScalar);
}

NumScalar TopScalar() {
  uint8_t* p = Top();
  if (p[1] != 0) Raise(kMsgNeedScalar);
  if (!ValidKind(p[0])) InternalError("ElementKind");
  return EntryOf(p + kScalarHeader, static_cast<NumKind>(p[0]), 0);
}

// --- Pops ---

const uint8_t* PopBytes() {
  uint8_t* p = Top();
  size_t n = ElementSize(p);
  if (p + n > gEnd) InternalError("PopBytes Overflow");
  gTop = p + n;
  return PayloadOf(p);
}

namespace calc_stack_detail {
NumScalar PopScalarSlow() {
  NumScalar s = TopScalar();
  PopBytes();
  return s;
}
}  // namespace calc_stack_detail

int32_t PopInt() {
  uint8_t* p = Top();
  if (p[1] != 0) Raise(kMsgNeedScalar);
  if (!ValidKind(p[0])) InternalError("PopInt");
  return IntOfScalar(PopScalar());
}

double PopReal() {
  uint8_t* p = Top();
  if (p[1] != 0) Raise(kMsgNeedScalar);
  if (!ValidKind(p[0])) InternalError("PopReal");
  return RealOfScalar(PopScalar());
}

std::complex<double> PopComplex() {
  uint8_t* p = Top();
  if (p[1] != 0) Raise(kMsgNeedScalar);
  if (!ValidKind(p[0])) InternalError("PopComplex");
  return PopScalar().AsComplex();
}

NumValue PopValue() {
  uint8_t* p = Top();
  if (p[1] == 0) return PopScalar();
  NumMatrix m = MatrixOfElement(p);
  PopBytes();
  return m;
}

void Pop2Vector(double& x, double& y) {
  uint8_t* p = Top();
  ElementShape shape = ShapeOfElement(p);
  if (shape.dims == 0 || shape.Count() != 2 || (shape.rows != 1 && shape.cols != 1))
    Raise(kMsgNeedReal2Vector);
  const uint8_t* payload = PopBytes();
  x = ComponentReal(payload, shape.kind, 0);
  y = ComponentReal(payload, shape.kind, 1);
}

void Pop3Vector(double& x, double& y, double& z) {
  uint8_t* p = Top();
  ElementShape shape = ShapeOfElement(p);
  if (shape.dims == 0 || shape.Count() != 3 || (shape.rows != 1 && shape.cols != 1))
    Raise(kMsgNeedReal3Vector);
  const uint8_t* payload = PopBytes();
  x = ComponentReal(payload, shape.kind, 0);
  y = ComponentReal(payload, shape.kind, 1);
  z = ComponentReal(payload, shape.kind, 2);
}

Handle PopObj() {
  uint8_t* p = Top();
  if (p[1] > 2) InternalError("PopObj Tensor");
  if (!ValidKind(p[0])) Raise(kMsgComplexResult);
  ElementShape shape = ShapeOfElement(p);
  if (shape.dims == 0) return ObjOfScalar(PopScalar());
  // Read the entries before building anything: the bytes stay put until the
  // next push, and building objects pushes nothing.
  const uint8_t* payload = PopBytes();
  Handle m = NewMatrix(shape.rows, shape.cols);
  try {
    for (int k = 0; k < shape.Count(); ++k)
      PutSlot(m, k, ObjOfScalar(EntryOf(payload, shape.kind, k)));
  } catch (...) {
    DisposeObj(m);
    throw;
  }
  return m;
}

// --- Numbers as math objects ---

Handle NewUndefinedNumber() {
  return NewNumberText("?");
}

Handle ObjOfScalar(const NumScalar& s) {
  switch (s.kind) {
    case NumKind::kInteger:
      return NewInteger(s.integer);
    case NumKind::kReal:
      return IsUndefined(s.re) ? NewUndefinedNumber() : NewReal(s.re);
    case NumKind::kComplex: {
      if (IsUndefined(s.re) || IsUndefined(s.im)) return NewUndefinedNumber();
      if (ComplexCountsAsReal(s.re, s.im)) return NewReal(s.re);
      Handle imaginary = ImaginaryPart(s.im);
      if (std::fabs(s.re / s.im) < 1e-17) return imaginary;
      Handle real = BuildOrDispose(imaginary, [&] { return NewReal(s.re); });
      return NewSum(real, imaginary);
    }
  }
  Raise(kMsgComplexResult);
}

}  // namespace lemmabox
