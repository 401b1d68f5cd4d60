// The declaration pass: after declarations, rules or theories were inserted
// or deleted, after Undo, and for the whole notebook by "Clarify", the
// knowledge of names is built again from the notebook as it now stands.
#pragma once

#include "mathobj/object.h"

namespace lemmabox {

// The pass over theory and the theories inside it:
//  1. with validate, asking for declarations is switched on again;
//  2. the knowledge tables are rebuilt (declarations numbered);
//  3. the expressions are interpreted again (with validate, as when an edit
//     is committed: names resolved and undeclared names offered for
//     declaration; without, names are only resolved);
//  4. working statements, independence declarations and tables are
//     registered again (a working statement that no longer fits loses its bit);
//  5. when a declaration was made meanwhile, it all starts again from the
//     Main Theory;
//  6. with validate, a doubled declaration is reported (13222) and a
//     declaration with a bad name (13223), each selected.
void DeclarationPass(Handle theory, bool validate);
// "Clarify": the validating pass over the whole notebook.
void Clarify(Handle mainTheory);
// Steps 2 and 4 alone, quietly: the tables are made to fit the notebook's
// declarations without interpreting anything.
void RefreshKnowledge(Handle mainTheory);

// The follow-up after an edit was committed (the Encode hook): runs the pass
// when declarations changed or the edit was inside a declaration or a Case
// Theory; an edited working statement is registered again. During a quiet
// interpretation (a notebook being read) the pass is only marked as due: the
// reader runs Clarify when it is done.
void NotebookFollowUp(Handle obj);
// Interprets the notebook again when an interpretation left names undeclared
// without asking (so that names declared since then resolve).
void PendingEditsPass(Handle mainTheory);

}  // namespace lemmabox
