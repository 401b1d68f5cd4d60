// Start-up of the manipulation folder: fills its operation table entries
// (the constancy and linearity tests, the commutativity classes, Simplify
// and the canonical order) and connects the object store's comparisons to
// the notebook settings they depend on.
// Called once, after the notebook's registration.
#pragma once

namespace lemmabox {

void RegisterManip();

}  // namespace lemmabox
