// Bessel functions J, Y, I, K of any real order and the Airy functions.
//
// Whole orders follow the symmetries J_-n = (-1)^n J_n, Y_-n = (-1)^n Y_n,
// I_-n = I_n, K_-n = K_n and accept negative x where the function is real
// there (J_n(-x) = (-1)^n J_n(x), I_n likewise). Fractional negative orders
// use the reflections
//   J_-m = J_m cos(m pi) - Y_m sin(m pi),  Y_-m = Y_m cos(m pi) + J_m sin(m pi),
//   I_-m = I_m + (2/pi) sin(m pi) K_m,     K_-m = K_m.
// Where the value is not real (fractional order at x < 0, Y and K at x < 0)
// the result is the undefined value; at x = 0 the limits are returned (a
// pole gives an infinity). A computation that cannot converge also gives the
// undefined value. Long loops call the interrupt check.
//
// Methods: for large x (x >= 20, where the terms allow) Hankel's asymptotic
// series, below the turning point also recurred upward in the order; for
// x < 2, J by its power series and Y by Temme's series and the upward
// recurrence; in between, the continued fraction for J'/J with a downward
// recurrence and Steed's continued fraction with the Wronskian for J and Y;
// I by its power series or Hankel's series; K by the trapezoidal rule on
// K_v(x) = integral over t >= 0 of exp(-x cosh t) cosh(v t), which converges
// geometrically for this integrand. Accuracy is close to full double
// precision away from zeros.
#pragma once

namespace lemmabox {

double BesselJ(double order, double x);
double BesselY(double order, double x);
double BesselI(double order, double x);
double BesselK(double order, double x);

// Ai and Bi through Bessel functions of order 1/3 of z = (2/3)|x|^(3/2):
// I and K for x > 0, J and Y for x < 0; Ai(0) and Bi(0) are their known values.
double AiryAi(double x);
double AiryBi(double x);

}  // namespace lemmabox
