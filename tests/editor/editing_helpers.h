// Finding the objects of a typed expression, to select them by hand.
#pragma once

#include <cstring>

#include "mathobj/object.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"

namespace lemmabox::testing {

// The first object in reading order that is a name spelled `spelling`
// (undeclared or declared), or null.
inline Handle FindName(Handle root, const char* spelling) {
  if (root == nullptr) return nullptr;
  const TypeCode type = ObjType(root);
  if (type == kUndeclaredName && std::strcmp(ObjText(root), spelling) == 0) return root;
  if (type == kName) {
    const char* text = DeclNameText(DeclOfName(root));
    if (text != nullptr && std::strcmp(text, spelling) == 0) return root;
  }
  for (int i = FirstObjSlot(root); i < ObjCount(root); ++i)
    if (Handle found = FindName(ObjSlot(root, i), spelling)) return found;
  return nullptr;
}

// The first object of this type in reading order, or null.
inline Handle FindType(Handle root, TypeCode type) {
  if (root == nullptr) return nullptr;
  if (ObjType(root) == type) return root;
  for (int i = FirstObjSlot(root); i < ObjCount(root); ++i)
    if (Handle found = FindType(ObjSlot(root, i), type)) return found;
  return nullptr;
}

// Whether every object below root is held by the slot its header names.
inline bool LinksAgree(Handle root) {
  for (int i = FirstObjSlot(root); i < ObjCount(root); ++i) {
    Handle child = ObjSlot(root, i);
    if (child == nullptr) continue;
    if (ObjParent(child) != root || ObjSlotIndex(child) != i || !LinksAgree(child)) return false;
  }
  return true;
}

}  // namespace lemmabox::testing
