// Where the object store asks the folders above it.
//
// The store knows the record shape of every notebook entry but not what the
// notebook, the comment editor, the image cache or the graphs keep in them.
// Those folders set these hooks at registration; until they do, each hook has
// a safe default that does only the generic part, so the store works on its
// own (and in the tests of this folder).
#pragma once

#include "shell/types.h"

namespace lemmabox {

struct ObjStoreHooks {
  // The theory that answers for an object outside every notebook entry: the
  // current notebook's lookup scope or main theory, else the root of the
  // notebook list. Default: none (null).
  Handle (*currentScope)();
  // A name object for a predefined key: a copy of the declared name of the
  // declaration in scope whose behaviour has that key, or the built-in
  // spelling resolved in scope, prepared for display. Default: raises 13230,
  // since without a notebook there is nothing to declare the name in.
  Handle (*predefinedName)(int key);
  // The predefined key of a name object (a declared name whose declaration
  // has a predefined behaviour), 0 for anything else. Default: 0.
  int (*predefinedKeyOf)(Handle name);

  // Extras of the Dup and Dispose entries of notebook entries. A copy hook
  // gets the source and its byte copy (slot and payload words still those of
  // the source); a free hook runs before the entry's slots are disposed and
  // leaves null in any slot it freed itself.
  // 'C': the contingency list and the derivation chain. Default: nothing.
  void (*copyDerivation)(Handle source, Handle copy);
  void (*freeDerivation)(Handle conclusion);
  // 'Q': the comment text. Default: the comment's slots are copied and
  // disposed like any other sub-objects.
  void (*copyComment)(Handle source, Handle copy);
  void (*freeComment)(Handle comment);
  // 'P': the picture whose handle is the first payload word. Default: the
  // picture is a plain block, copied and released as one.
  void (*copyPicture)(Handle source, Handle copy);
  void (*freePicture)(Handle picture);
  // 'R': the grid plot's extra data. Default: nothing.
  void (*copyGridData)(Handle source, Handle copy);
  void (*freeGridData)(Handle gridPlot);
  // An entry with a cached image is going away. Default: nothing.
  void (*dropCachedImage)(Handle entry);
  // A theory ('M', 'T', and graphs as containers) is going away; the notebook
  // forgets it if it is the current main theory. Default: nothing.
  void (*theoryGoesAway)(Handle theory);
  // A graph ('G', 'Z') is going away. Default: nothing.
  void (*graphGoesAway)(Handle graph);
};

extern ObjStoreHooks gObjStoreHooks;

// Puts every hook back to its default (tests).
void ResetObjStoreHooks();

}  // namespace lemmabox
