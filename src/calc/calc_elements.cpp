#include "calc/calc_elements.h"

#include "calc/calc_stack.h"
#include "calc/numlib_elements.h"
#include "calc/numlib_gamma.h"

namespace lemmabox {
namespace {

// The matrix paths, kept out of line so that the scalar paths stay small.
template <class ValueOp>
[[gnu::noinline]] void BinaryValues(ValueOp valueOp) {
  NumValue top = PopValue();
  NumValue second = PopValue();
  PushValue(valueOp(second, top));
}

template <class ValueOp>
[[gnu::noinline]] void UnaryValue(ValueOp valueOp) {
  PushValue(valueOp(PopValue()));
}

// Replaces the two top elements by op(second, top).
template <class ScalarOp, class ValueOp>
void Binary(ScalarOp scalarOp, ValueOp valueOp) {
  if (!TopTwoAreScalars()) {
    BinaryValues(valueOp);
    return;
  }
  NumScalar top = PopScalar();
  NumScalar second = PopScalar();
  PushScalar(scalarOp(second, top));
}

template <class ScalarOp, class ValueOp>
void Unary(ScalarOp scalarOp, ValueOp valueOp) {
  if (TopHasDimensions()) {
    UnaryValue(valueOp);
    return;
  }
  PushScalar(scalarOp(PopScalar()));
}

}  // namespace

void AddElements() {
  Binary(AddScalars, AddValues);
}

void MultiplyElements() {
  Binary([](const NumScalar& right, const NumScalar& left) { return MultiplyScalars(left, right); },
         [](const NumValue& right, const NumValue& left) { return MultiplyValues(left, right); });
}

void DivideElements() {
  Binary(DivideScalars, DivideValues);
}

void PowerElements() {
  Binary(PowerScalars, PowerValues);
}

void EqualElements() {
  Binary(EqualScalars,
         [](const NumValue& a, const NumValue& b) -> NumValue { return EqualValues(a, b); });
}

void CrossElements() {
  NumValue b = PopValue();
  NumValue a = PopValue();
  PushValue(CrossProduct(a, b));
}

void DotElements() {
  NumValue b = PopValue();
  NumValue a = PopValue();
  PushScalar(DotProduct(a, b));
}

void NegateElement() {
  Unary(NegateScalar, NegateValue);
}

void AbsElement() {
  Unary(AbsScalar, [](const NumValue& v) -> NumValue { return AbsValue(v); });
}

void AdjointElement() {
  Unary(ConjugateScalar, AdjointValue);
}

void ReciprocalElement() {
  Unary(ReciprocalScalar, ReciprocalValue);
}

void SqrtElement() {
  PushScalar(SqrtScalar(PopScalar()));
}

void FactorialElement() {
  PushScalar(FactorialScalar(PopScalar()));
}

}  // namespace lemmabox
