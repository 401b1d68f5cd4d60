// The predefined names: the built-in constants and functions, each with its
// key number, and the names under which operator types are written as
// function names. Spellings are in the program's 8-bit character set.
#pragma once

#include <cstdint>
#include <span>

#include "mathobj/predefined_keys.h"
#include "mathobj/types.h"

namespace lemmabox {

// Declaration classes (the items of a declaration's "Class" popup).
enum NameClass : int {
  kNameConstant = 1,
  kNameVariable = 2,
  kNameMLinearOperator = 3,
  kNameDLinearOperator = 4,
  kNameFunction = 5,
};


// Help topics: one page per family of predefined names.
enum HelpTopic : uint16_t {
  kHelpConstants = 1,
  kHelpDifferential,
  kHelpNumericFunctions,
  kHelpBesselAiry,
  kHelpGraphBounds,
  kHelpCoordinates,
  kHelpMatrixFunctions,
  kHelpTrigonometric,
  kHelpInverseTrigonometric,
  kHelpHyperbolic,
  kHelpInverseHyperbolic,
  kHelpExpLog,
};

struct PredefinedName {
  uint32_t classAndTopic;  // the class in the high 16 bits, the help topic in the low 16
  int32_t key;
  uint16_t stringId;  // 0: the spelling is stored inline
  char spelling[16];

  NameClass Class() const { return static_cast<NameClass>(classAndTopic >> 16); }
  uint16_t Topic() const { return static_cast<uint16_t>(classAndTopic & 0xFFFF); }
};

constexpr int kPredefinedNameCount = 64;
std::span<const PredefinedName> PredefinedNames();
// The record for a key, or null.
const PredefinedName* PredefinedByKey(int key);
// The record spelled exactly so (byte-wise, case-sensitive), or null.
const PredefinedName* PredefinedBySpelling(const char* text);
// The spelling for a key; "normal" for a key without a record.
const char* PredefinedSpelling(int key);

// The trigonometric families: key = 256 + 16 x family + function.
enum TrigFamily : int {
  kTrigPlain = 0,
  kTrigInverse = 1,
  kTrigHyperbolic = 2,
  kTrigInverseHyperbolic = 3
};
enum TrigFunction : int { kSin = 0, kCos = 1, kTan = 2, kCsc = 4, kSec = 5, kCot = 6 };
constexpr int TrigKey(TrigFamily family, TrigFunction function) {
  return 256 + 16 * family + function;
}
// Splits a trigonometric key; false for keys outside the families (exp and ln
// share the key range but are not trigonometric).
bool DecodeTrigKey(int key, TrigFamily& family, TrigFunction& function);

// How an operator type is written as a function name.
struct OpName {
  uint8_t operands;
  TypeCode type;
  char name[14];
};
std::span<const OpName> OpNames();
// The first record for a type, or null.
const OpName* OpNameForType(TypeCode type);
// The record with this name, or null.
const OpName* OpNameByName(const char* text);

}  // namespace lemmabox
