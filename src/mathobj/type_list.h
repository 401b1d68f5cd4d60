// The one list of type codes. Every per-type table (attributes, binding
// strengths, display names, leading data slots, operation defaults) is derived
// from it, so adding a type is checked everywhere at compile time.
//
// LEMMABOX_TYPES(X) calls
//   X(Constant, code, shape bits, class bits, binding, older binding,
//     leading data slots, display name)
// Shape and class bits are the constants of mathobj/types.h.
#pragma once

// clang-format off
#define LEMMABOX_TYPES(X) \
  /* expressions */ \
  X(kFactorial,      '!',  kShapeExpr | kShapeOne,   0,                                   80,  80, 0, "Factorial op") \
  X(kSqrt,           '%',  kShapeExpr | kShapeOne,   kClassEnclosing,                    100, 100, 0, "Square Root op") \
  X(kUndeclaredName, '\'', kShapeExpr | kShapeLeaf,  kClassNameLike,                     100, 100, 0, "Undeclared Name") \
  X(kParens,         '(',  kShapeExpr | kShapeOne,   kClassEnclosing,                     10,  10, 0, nullptr) \
  X(kEvalAt,         ')',  kShapeExpr | kShapeThree, 0,                                   35,  35, 0, "Evaluate At op") \
  X(kProduct,        '*',  kShapeExpr | kShapeAny,   kClass10,                            55,  55, 0, "Multiplication op") \
  X(kSum,            '+',  kShapeExpr | kShapeAny,   kClass10,                            50,  50, 0, "Addition op") \
  X(kList,           ',',  0,                        kClass10,                           255, 255, 0, nullptr) \
  X(kNegation,       '-',  kShapeExpr | kShapeOne,   kClassEnclosing,                     52,  52, 0, "Negation op") \
  X(kQuotient,       '/',  kShapeExpr | kShapeTwo,   kClass20,                            65,  65, 0, "Division op") \
  X(kRange,          ':',  kShapeExpr | kShapeTwo,   kClass10,                            35,  35, 0, "Range op") \
  X(kApply,          ';',  kShapeExpr | kShapeTwo,   kClass10,                            68,  68, 0, "Function Reference op") \
  X(kLess,           '<',  kShapeExpr | kShapeTwo,   kClassRelation | kClass10,           30,  30, 0, "Less Than op") \
  X(kEquals,         '=',  kShapeExpr | kShapeTwo,   kClassRelation | kClass10,           30,  30, 0, "Equals op") \
  X(kGreater,        '>',  kShapeExpr | kShapeTwo,   kClassRelation | kClass10,           30,  30, 0, "Greater Than op") \
  X(kQuestion,       '?',  kShapeExpr | kShapeLeaf,  0,                                  100, 100, 0, "Question Mark") \
  X(kLessEqual,      '[',  kShapeExpr | kShapeTwo,   kClassRelation | kClass10,           30,  30, 0, "Less Than or Equal op") \
  X(kNotEqual,       '\\', kShapeExpr | kShapeTwo,   kClassRelation | kClass10,           30,  30, 0, "Not Equal op") \
  X(kGreaterEqual,   ']',  kShapeExpr | kShapeTwo,   kClassRelation | kClass10,           30,  30, 0, "Greater Than or Equal op") \
  X(kPower,          '^',  kShapeExpr | kShapeTwo,   0,                                   80,  80, 0, "Power op (superscript)") \
  X(kIndex,          '_',  kShapeExpr | kShapeTwo,   kClass10,                            90,  90, 0, "Index op (subscript)") \
  X(kWildcard,       '`',  kShapeExpr | kShapeLeaf,  kClassNameLike,                     100, 100, 0, "Wildcard Variable") \
  X(kAdjoint,        'a',  kShapeExpr | kShapeOne,   0,                                   80,  80, 0, "Adjoint op") \
  X(kCross,          'c',  kShapeExpr | kShapeTwo,   0,                                   54,  72, 0, "Cross Product op") \
  X(kDot,            'd',  kShapeExpr | kShapeTwo,   0,                                   54,  72, 0, "Dot Product op") \
  X(kForAll,         'f',  kShapeExpr | kShapeTwo,   0,                                   20,  20, 0, "For All op") \
  X(kInteger,        'i',  kShapeExpr | kShapeLeaf,  kClassNumber,                       100, 100, 0, "Integer Number") \
  X(kIntegral,       'j',  kShapeExpr | kShapeOne,   0,                                   35,  35, 0, "Integral") \
  X(kLimit,          'l',  kShapeExpr | kShapeThree, 0,                                   35,  35, 0, "Limit op") \
  X(kMatrix,         'm',  kShapeExpr,               kClassEnclosing,                     40,  40, 0, "Matrix") \
  X(kNumberText,     'n',  kShapeExpr | kShapeLeaf,  kClassNumber | kClassNameLike,      100, 100, 0, "Number") \
  X(kPartial,        'p',  kShapeExpr | kShapeOne,   kClassEnclosing,                     80,  80, 0, "Partial Derivative operator") \
  X(kReal,           'r',  kShapeExpr | kShapeLeaf,  kClassNumber,                       100, 100, 0, "Real Number") \
  X(kSummation,      's',  kShapeExpr | kShapeThree, 0,                                   60,  60, 0, "Iterated Summation operator") \
  X(kName,           'v',  kShapeExpr | kShapeLeaf,  0,                                  100, 100, 0, "Declared Name") \
  X(kPiProduct,      'x',  kShapeExpr | kShapeThree, 0,                                   35,  35, 0, "Iterated Product operator") \
  X(kConditional,    '{',  kShapeExpr | kShapeOne,   kClassEnclosing,                     35,  35, 0, "Conditional op") \
  X(kAbs,            '|',  kShapeExpr | kShapeOne,   kClassEnclosing,                    100, 100, 0, "Absolute Value op") \
  /* notebook entries */ \
  X(kAssumption,     'A',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  0, "Assumption") \
  X(kPageBreak,      'B',  kShapeEntry,              0,                                     0,   0,  0, "Page Break") \
  X(kConclusion,     'C',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  0, "Conclusion") \
  X(kSurfacePlot,    'D',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  1, "Surface plot") \
  X(kGraph2D,        'G',  kShapeEntry | kShapeContainer, kClassCachedImage,                0,   0, 63, "2D Graph") \
  X(kRule,           'H',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  0, "Transformation Rule") \
  X(kIndependence,   'I',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  0, "Independence Declaration") \
  X(kLinePlot,       'L',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  1, "Line plot") \
  X(kMainTheory,     'M',  kShapeEntry | kShapeContainer, kClass20,                         0,   0,  2, "Main Theory") \
  X(kTable,          'N',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  0, "Table (Tabulation)") \
  X(kContourPlot,    'O',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  1, "Contour plot") \
  X(kPicture,        'P',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  0, nullptr) \
  X(kComment,        'Q',  kShapeEntry,              0,                                     0,   0,  0, "Comment") \
  X(kGridPlot,       'R',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  1, "Grid plot") \
  X(kScatterPlot,    'S',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  1, nullptr) \
  X(kCaseTheory,     'T',  kShapeEntry | kShapeContainer, kClass20,                         0,   0,  1, "Case Theory") \
  X(kDeclaration,    'V',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  0, "Name Declaration") \
  X(kAxisPlot,       'X',  kShapeEntry,              kClass10 | kClassCachedImage,          0,   0,  1, "Axis plot") \
  X(kGraph3D,        'Z',  kShapeEntry | kShapeContainer, kClassCachedImage,                0,   0, 86, "3D Graph")
// clang-format on

// Codes that carry only a few special operation entries and are never built
// by a constructor: '"' (second linearity test), '#' (Key, Highlight,
// Cursor, Click) and '&' (Key and both linearity tests).
#define LEMMABOX_SPECIAL_TYPES(X) \
  X(kSpecialQuote, '"')           \
  X(kSpecialHash, '#')            \
  X(kSpecialAmpersand, '&')
