// How a name in an expression finds its declaration.
//
// A name is typed as an undeclared name ("'" with its spelling inline). It is
// resolved by looking its spelling up among the Name Declarations of the
// theory that holds it and of the theories around that one, innermost first;
// once found, the object becomes a declared name ('v') that refers to the
// declaration. A name that stays undeclared is offered for declaration when
// an edit is committed (the Declare Name question).
#pragma once

#include <unordered_set>

#include "mathobj/object.h"
#include "mathobj/predefined.h"

namespace lemmabox {

// The Name Declaration whose name is spelled exactly `text` (byte-wise), in
// theory or the containers around it, the innermost first and within one the
// first in proposition order; null when there is none. Internal error
// "VarLookup_badname" for a null text.
Handle VarLookup(Handle theory, const char* text);

// For as long as one lives, VarLookup answers from an index of each
// container's declarations made on first use (a pass over a whole notebook).
// Inserting a declaration must forget its container's index.
class NameIndexScope {
 public:
  NameIndexScope();
  ~NameIndexScope();
  NameIndexScope(const NameIndexScope&) = delete;
  NameIndexScope& operator=(const NameIndexScope&) = delete;
};
void ForgetNameIndex(Handle container);

// Resolves an undeclared name in place (the Encode hook). A name inside a
// Name Declaration is never resolved: it is what the declaration declares.
void ResolveName(Handle name);
// Resolves every undeclared name in the tree of obj, asking nothing.
void ResolveNamesIn(Handle obj);
// Makes name (any name-like leaf) a declared name referring to decl, in place.
void MakeDeclaredName(Handle name, Handle decl);

// The declaration of a declared name: internal error "getvardef" when name is
// not a declared name, "getvardef_notprop" when what it refers to is not a
// Name Declaration.
Handle getvardef(Handle name);

// The class the user gives an undeclared name through the Declare Name
// question (default: Variable, or Function for a name written like f(x), or
// the built-in class of a name spelled like a predefined one); 0 when the
// user cancels.
int QueryDecl(Handle name);
// Asks for a declaration of name and inserts it into the Main Theory of the
// name's notebook (the current notebook's when the name is in none). A
// declaration of the class a predefined spelling has gets that predefined
// behaviour. The declaration is selected when select is set and it is shown.
// False when the user cancelled or there is no notebook. The name of a Name
// Declaration itself is never asked about (true: nothing to do).
bool DeclareName(Handle name, bool select);

// The name object of a predefined key in the current scope: a declared name
// referring to the declaration that behaves as that key, else the built-in
// spelling resolved; 13230 when neither gives a declared name.
Handle PredefinedNameInScope(int key);
// The predefined key a declared name behaves as, or 0.
int PredefinedKeyOfName(Handle name);

// Deleting declarations: every declared name under root that refers to one of
// decls becomes the undeclared name of its declaration's spelling again, or a
// question mark when the declaration's name is not a simple name.
void UnresolveNames(Handle root, const std::unordered_set<Handle>& decls);

// An undeclared name with a non-empty spelling.
bool IsSimpleName(Handle obj);
// The same name: the same declaration or spelling, with the same subscripts
// (integers, names); explicit parentheses are ignored.
bool SameName(Handle a, Handle b);
// Whether the tree of expr mentions the name (SameName).
bool MentionsName(Handle expr, Handle name);

}  // namespace lemmabox
