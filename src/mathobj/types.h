// Type codes and their attributes.
//
// Every math object begins with a one-byte type code, a printable ASCII
// character: lower-case letters and punctuation are expressions, upper-case
// letters notebook entries. The per-type tables are indexed by code - 0x20.
#pragma once

#include <array>
#include <cstdint>

#include "mathobj/type_list.h"

namespace lemmabox {

using TypeCode = uint8_t;

constexpr int kTypeTableSize = 95;  // codes 0x20..0x7E
constexpr int TypeIndex(TypeCode code) {
  return code - 0x20;
}
constexpr bool IsTypeCode(int code) {
  return code >= 0x20 && code <= 0x7E;
}

// Shape bits.
constexpr uint8_t kShapeEntry = 0x01;      // notebook entry
constexpr uint8_t kShapeContainer = 0x02;  // holds notebook entries
constexpr uint8_t kShapeExpr = 0x04;       // expression
constexpr uint8_t kShapeLeaf = 0x08;       // no sub-objects
constexpr uint8_t kShapeOne = 0x10;        // one operand
constexpr uint8_t kShapeTwo = 0x20;        // two operands
constexpr uint8_t kShapeThree = 0x40;      // three operands
constexpr uint8_t kShapeAny = 0x80;        // any number of operands

// Class bits.
constexpr uint8_t kClassNumber = 0x01;
constexpr uint8_t kClassRelation = 0x02;
constexpr uint8_t kClassEnclosing = 0x04;  // enclosing or prefix operator
constexpr uint8_t kClassNameLike = 0x08;
constexpr uint8_t kClass10 = 0x10;
constexpr uint8_t kClass20 = 0x20;
constexpr uint8_t kClassCachedImage = 0x40;  // notebook entry with a cached image

// Named type codes: kSum == '+', kAssumption == 'A' and so on.
#define LEMMABOX_TYPE_CONSTANT(name, code, ...) constexpr TypeCode name = code;
LEMMABOX_TYPES(LEMMABOX_TYPE_CONSTANT)
LEMMABOX_SPECIAL_TYPES(LEMMABOX_TYPE_CONSTANT)
#undef LEMMABOX_TYPE_CONSTANT

// The attribute tables, indexed by code - 0x20 (mathobj/type_catalogue.cpp).
// A type test reads one byte of the object and one byte of a table.
using TypeByteTable = std::array<uint8_t, kTypeTableSize>;
extern const TypeByteTable kShapeTable;
extern const TypeByteTable kClassTable;
extern const TypeByteTable kLeadingDataSlotTable;
extern const TypeByteTable* gBindingTable;  // the current or the older table

// Codes outside 0x20..0x7E have no attributes.
inline uint8_t ShapeBits(TypeCode code) {
  return IsTypeCode(code) ? kShapeTable[TypeIndex(code)] : 0;
}
inline uint8_t ClassBits(TypeCode code) {
  return IsTypeCode(code) ? kClassTable[TypeIndex(code)] : 0;
}
// Binding strength for automatic parentheses. Notebooks of file-format
// version below 151 use the older table (cross and dot product bind at 72).
inline uint8_t BindingStrength(TypeCode code) {
  return IsTypeCode(code) ? (*gBindingTable)[TypeIndex(code)] : 0;
}
void UseOlderBindingTable(bool older);
bool UsingOlderBindingTable();
// Number of leading data slots before the first object slot.
inline int LeadingDataSlots(TypeCode code) {
  return IsTypeCode(code) ? kLeadingDataSlotTable[TypeIndex(code)] : 0;
}
// Display name used by help and Get Info, or nullptr.
const char* TypeDisplayName(TypeCode code);

inline bool IsExpressionType(TypeCode c) {
  return (ShapeBits(c) & kShapeExpr) != 0;
}
inline bool IsLeafType(TypeCode c) {
  return (ShapeBits(c) & kShapeLeaf) != 0;
}
inline bool IsNumberType(TypeCode c) {
  return (ClassBits(c) & kClassNumber) != 0;
}
inline bool IsRelationType(TypeCode c) {
  return (ClassBits(c) & kClassRelation) != 0 && (ShapeBits(c) & kShapeTwo) != 0;
}
// Notebook entries ("propositions") are the upper-case codes.
inline bool IsPropositionType(TypeCode c) {
  return c >= 'A' && c <= 'Z';
}
inline bool IsContainerType(TypeCode c) {
  return c == 'G' || c == 'M' || c == 'T' || c == 'Z';
}

}  // namespace lemmabox
