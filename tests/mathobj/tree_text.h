// A compact prefix notation for building and showing math object trees in
// the tests of the object store (the editor, which types expressions the way
// users do, sits above this folder):
//   x, abc        undeclared names          12, 2.5   integer, real
//   #1.5          number text               ?         question mark
//   `a            wildcard of kind a        ~         empty slot
//   +(a,b,c)      an object of type '+' with those operands (any type code)
//   ((x), (x)     explicit parentheses around x (type '(' with one operand)
//   m2x3(...)     a 2 x 3 matrix, elements in row order
// A declared name shows as @ and the spelling of its declaration's name.
// Types with leading data slots get them zeroed; the operands fill the
// object slots.
#pragma once

#include <string>

#include "mathobj/object.h"

namespace lemmabox::testing {

Handle Build(const std::string& text);
std::string Show(Handle obj);
// "" when every object's parent and slotIndex describe the slot holding it,
// else a description of the first that does not.
std::string CheckLinks(Handle obj);
// Objects in the tree (null slots not counted).
int CountNodes(Handle obj);

}  // namespace lemmabox::testing
