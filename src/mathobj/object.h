// The math object record.
//
// Everything the program calculates, displays, saves or edits is a tree of
// math objects of one record shape: a header, then `count` slots holding
// sub-object handles (or data words for the leading data slots of some
// notebook entries), or a type-specific payload. Objects live in object
// blocks (shell/memory.h) and are held through handles (mathobj/handles.h).
//
// Ownership: an attached object is owned by the slot that holds it; `parent`
// and `slotIndex` always describe that slot. Slots are only changed through
// the slot primitives of mathobj/slots.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "mathobj/types.h"
#include "shell/types.h"

namespace lemmabox {

// Bits of Obj::flags.
constexpr uint8_t kFlagCollapsed = 0x01;  // drawn as a fixed-size placeholder
constexpr uint8_t kFlagFresh = 0x02;      // result of a manipulation, not yet sized
constexpr uint8_t kFlagLocked = 0x04;     // a collapsed notebook entry the user locked
constexpr uint8_t kFlagHidden = 0x08;     // inside a collapsed object: not drawn or hit
constexpr uint8_t kFlagSizeValid = 0x10;  // box and baseline valid for sizeLevel
constexpr uint8_t kFlagDrawn = 0x20;      // drawn since last sized
constexpr uint8_t kParenStyleMask = 0xC0;  // bracket shape 0..2 inside automatic parentheses
constexpr int kParenStyleShift = 6;

struct Obj {
  TypeCode type;
  uint8_t aux;        // collapsed operand index, or a notebook entry's indentation
  uint8_t flags;
  uint8_t sizeLevel;  // bits 0-1: level of the cached box
  Rect box;           // relative to the parent's box origin
  int32_t box5;       // carried with the box by drawing and hit-testing
  int32_t baseline;   // from the top of the box
  int32_t count;      // number of slots
  Handle parent;      // null when detached
  int32_t slotIndex;  // -1 when detached
};

// Bytes from the start of a block to its first slot or payload byte.
constexpr size_t kObjHeaderSize = (sizeof(Obj) + 7) & ~size_t{7};

// A slot is one pointer-sized word: a handle for an object slot, a number or
// a plain-block handle for a leading data slot.
using SlotWord = intptr_t;
static_assert(sizeof(SlotWord) == sizeof(Handle));

inline Obj& Hdr(Handle h) { return **h; }
inline TypeCode ObjType(Handle h) { return (*h)->type; }
inline int32_t ObjCount(Handle h) { return (*h)->count; }
inline Handle ObjParent(Handle h) { return (*h)->parent; }
inline int32_t ObjSlotIndex(Handle h) { return (*h)->slotIndex; }
inline uint8_t& ObjFlags(Handle h) { return (*h)->flags; }

// The start of the slots or payload; valid until the object is resized.
inline uint8_t* ObjPayload(Handle h) { return reinterpret_cast<uint8_t*>(*h) + kObjHeaderSize; }
inline Handle* ObjSlots(Handle h) { return reinterpret_cast<Handle*>(ObjPayload(h)); }
// Reads slot i (an object slot). Changing it goes through the slot primitives.
inline Handle ObjSlot(Handle h, int i) { return ObjSlots(h)[i]; }
// A leading data slot as a word.
inline SlotWord& DataSlot(Handle h, int i) { return reinterpret_cast<SlotWord*>(ObjPayload(h))[i]; }

// Typed views of a leaf's payload.
inline int32_t& IntegerValue(Handle h) { return *reinterpret_cast<int32_t*>(ObjPayload(h)); }
inline double& RealValue(Handle h) { return *reinterpret_cast<double*>(ObjPayload(h)); }
// Name spellings and number texts: NUL-terminated in a 32-byte field.
constexpr int kTextFieldSize = 32;
inline char* ObjText(Handle h) { return reinterpret_cast<char*>(ObjPayload(h)); }
// The declaration a declared name ('v') refers to; not owned.
inline Handle& DeclOfName(Handle h) { return *reinterpret_cast<Handle*>(ObjPayload(h)); }
// A wildcard's kind character.
inline char& WildcardKind(Handle h) { return *reinterpret_cast<char*>(ObjPayload(h)); }

inline bool HasFlag(Handle h, uint8_t flag) { return ((*h)->flags & flag) != 0; }
inline void SetFlag(Handle h, uint8_t flag) { (*h)->flags |= flag; }
inline void ClearFlag(Handle h, uint8_t flag) { (*h)->flags &= static_cast<uint8_t>(~flag); }

}  // namespace lemmabox
