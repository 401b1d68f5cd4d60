// Start-up of the notebook model: fills the object store's and the
// interpreter's hooks with the notebook's answers (scopes, predefined names,
// name resolution, the Declare Name question, the follow-up pass, the Dup and
// Dispose extras of conclusions and theories) and gives the menus the
// current notebook's preferences. Called once, right after RegisterMathObj.
#pragma once

namespace lemmabox {

void RegisterNotebook();

}  // namespace lemmabox
