// Interpretation of typed expressions (the Encode operation).
//
// After editing, pasting or reading, an expression tree is interpreted in
// place, bottom-up: names are resolved (and, when an edit is committed, the
// user is asked to declare the ones that stay undeclared), number texts
// become integers or reals, explicit parentheses give way to their content,
// and juxtaposed function names and arguments become function applications.
//
// Two switches govern a run: finalising (set while an edit is committed) and
// quiet (set while a notebook is read: nothing is laid out again). Every step
// that needs the notebook, the layout or the editor goes through EncodeHooks.
#pragma once

#include <span>

#include "mathobj/object.h"
#include "mathobj/selection.h"

namespace lemmabox {

struct EncodeHooks {
  // Looks an undeclared name up in the scope that holds it; when a
  // declaration is found (and it is not the one the name itself declares),
  // changes the name in place into a declared name. Default: nothing.
  void (*resolveName)(Handle name);
  // Asks the user for the class of a name that stayed undeclared, builds the
  // declaration and inserts it into the right main theory. False when the
  // user cancelled. Default: false (there is nobody to ask).
  bool (*declareName)(Handle name);
  // The display after a declaration was inserted. Default: nothing.
  void (*refreshDisplay)(Handle obj);
  // Marks the notebook that holds obj as having pending edits. Default: nothing.
  void (*markPendingEdits)(Handle obj);
  // Selects the name again after the user cancelled its declaration. Default: nothing.
  void (*selectName)(Handle name);
  // Requests an incremental re-layout and redraw of obj. Default: clears
  // `sizeValid` on obj and its ancestors.
  void (*relayout)(Handle obj);
  // Invalidates the cached sizes of obj and its ancestors without laying
  // anything out (quiet runs). Default: clears `sizeValid` up the chain.
  void (*invalidateSizes)(Handle obj);
  // A table's own follow-up after its name was interpreted. Default: nothing.
  void (*tableFollowUp)(Handle table);
  // The notebook's follow-up pass after a commit. Default: nothing.
  void (*followUp)(Handle obj);
  // The selection list of the front notebook window. Default: empty.
  std::span<Selection> (*selectionList)();
};

extern EncodeHooks gEncodeHooks;
void ResetEncodeHooks();

// Interprets obj in place (it may be replaced in its parent); internal error
// "EncodeObj" for null.
void EncodeObj(Handle obj);

// The entry point for an edit: moves selections off explicit parentheses
// (when finalising), interprets obj, collapses range selections on function
// applications to whole ones, runs the follow-up pass. Finalising is on only
// for the duration of the call.
void EncodeCommit(Handle obj, bool finalising);

bool EncodeFinalising();
bool EncodeQuiet();
// Quiet interpretation for as long as the guard lives (reading a notebook).
class QuietEncoding {
 public:
  QuietEncoding();
  ~QuietEncoding();
  QuietEncoding(const QuietEncoding&) = delete;
  QuietEncoding& operator=(const QuietEncoding&) = delete;

 private:
  bool saved_;
};

// Whether undeclared names are offered for declaration. A cancel turns it
// off; the notebook's declaration pass turns it on again.
bool AutoDeclareOn();
void SetAutoDeclare(bool on);

// A name or expression that applies to what follows it: its commutativity
// class is at least 5. A type without a Commute entry is not function-like.
bool IsFunctionLike(Handle obj);

// Fills the Encode table.
void RegisterEncode();

}  // namespace lemmabox
