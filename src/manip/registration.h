// Start-up of the manipulation folder: fills its operation table entries
// (the constancy and linearity tests, the commutativity classes, Simplify
// and the canonical order), connects the object store's comparisons to the
// notebook settings they depend on, fills the table of manipulations and
// registers the Manipulate command.
// Called once, after the notebook's registration.
#pragma once

namespace lemmabox {

void RegisterManip();

}  // namespace lemmabox
