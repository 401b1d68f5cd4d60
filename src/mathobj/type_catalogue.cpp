// The per-type attribute tables, all derived from the one list of type codes
// in mathobj/type_list.h.
#include <array>

#include "mathobj/types.h"

namespace lemmabox {
namespace {

using ByteTable = TypeByteTable;

enum class Column { kShape, kClass, kBinding, kOlderBinding, kLeadingSlots };

constexpr ByteTable MakeTable(Column column) {
  ByteTable table{};
#define LEMMABOX_TYPE_ROW(name, code, shape, cls, binding, older, leading, display) \
  switch (column) {                                                                 \
    case Column::kShape:                                                            \
      table[TypeIndex(code)] = (shape);                                             \
      break;                                                                        \
    case Column::kClass:                                                            \
      table[TypeIndex(code)] = (cls);                                               \
      break;                                                                        \
    case Column::kBinding:                                                          \
      table[TypeIndex(code)] = (binding);                                           \
      break;                                                                        \
    case Column::kOlderBinding:                                                     \
      table[TypeIndex(code)] = (older);                                             \
      break;                                                                        \
    case Column::kLeadingSlots:                                                     \
      table[TypeIndex(code)] = (leading);                                           \
      break;                                                                        \
  }
  LEMMABOX_TYPES(LEMMABOX_TYPE_ROW)
#undef LEMMABOX_TYPE_ROW
  return table;
}

constexpr ByteTable kBindings = MakeTable(Column::kBinding);
constexpr ByteTable kOlderBindings = MakeTable(Column::kOlderBinding);

constexpr std::array<const char*, kTypeTableSize> MakeDisplayNames() {
  std::array<const char*, kTypeTableSize> names{};
#define LEMMABOX_TYPE_NAME(name, code, shape, cls, binding, older, leading, display) \
  names[TypeIndex(code)] = display;
  LEMMABOX_TYPES(LEMMABOX_TYPE_NAME)
#undef LEMMABOX_TYPE_NAME
  return names;
}

constexpr auto kDisplayNames = MakeDisplayNames();

// A code listed twice would silently take the attributes of its last row.
constexpr bool EachCodeOnce() {
  std::array<int, kTypeTableSize> seen{};
#define LEMMABOX_TYPE_SEEN(name, code, ...) ++seen[TypeIndex(code)];
  LEMMABOX_TYPES(LEMMABOX_TYPE_SEEN)
#undef LEMMABOX_TYPE_SEEN
  for (int n : seen)
    if (n > 1) return false;
  return true;
}
static_assert(EachCodeOnce(), "a type code is listed twice");

}  // namespace

const TypeByteTable kShapeTable = MakeTable(Column::kShape);
const TypeByteTable kClassTable = MakeTable(Column::kClass);
const TypeByteTable kLeadingDataSlotTable = MakeTable(Column::kLeadingSlots);
const TypeByteTable* gBindingTable = &kBindings;

void UseOlderBindingTable(bool older) {
  gBindingTable = older ? &kOlderBindings : &kBindings;
}
bool UsingOlderBindingTable() {
  return gBindingTable == &kOlderBindings;
}

const char* TypeDisplayName(TypeCode code) {
  return IsTypeCode(code) ? kDisplayNames[TypeIndex(code)] : nullptr;
}

}  // namespace lemmabox
