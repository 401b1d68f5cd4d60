// Element arithmetic on the calculation stack: each operation takes its
// operands from the top of the stack and leaves its result in their place.
// The arithmetic itself is the numeric library's (calc/numlib_elements.h);
// two scalars go straight to the scalar routines, so ordinary expressions
// never build a matrix temporary.
//
// Operand order: a product takes the top element as its left factor and the
// second as its right (the evaluator pushes right-hand factors first); a
// quotient divides the second by the top; a power raises the second to the
// top; a cross product is second x top.
#pragma once

namespace lemmabox {

void AddElements();       // second + top
void MultiplyElements();  // top * second
void DivideElements();    // second / top
void PowerElements();     // second ^ top
// second = top: the integer 1 or 0, undefined when a part is undefined.
void EqualElements();
void CrossElements();  // second x top
void DotElements();    // second . top
void NegateElement();
void AbsElement();
void AdjointElement();
void ReciprocalElement();
// The square root and the factorial need a scalar (13255).
void SqrtElement();
void FactorialElement();

}  // namespace lemmabox
