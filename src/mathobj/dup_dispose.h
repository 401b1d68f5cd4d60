// Deep copy and disposal of math objects.
//
// `DupObj` copies a whole tree; `DisposeObj` frees one. Both dispatch on the
// Dup and Dispose tables, whose entries for every type are filled here at
// registration; the extras of notebook entries that belong to other folders
// go through the hooks of mathobj/hooks.h. Copying and disposing large trees
// poll for user interruption, so either may raise 13120.
#pragma once

#include "mathobj/object.h"

namespace lemmabox {

// A detached deep copy with `sizeValid` and `drawn` clear on its top object.
// Internal error "DupObj" for null or an invalid type code.
Handle DupObj(Handle obj);

// Frees obj and everything it owns; null is ignored. Internal error
// "DisposeObj" when obj is still attached (nothing is changed then).
void DisposeObj(Handle obj);

// For copy entries: `copy` is a byte copy of `source`; its object slots (from
// the first object slot on) are set to copies of the source's occupants.
void DupObjectSlots(Handle source, Handle copy);

// Fills the Dup and Dispose tables.
void RegisterDupDispose();

}  // namespace lemmabox
