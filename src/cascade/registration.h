// Start-up of the cascade: connects the notebook model, the editor, Undo and
// the layout to the cascade (what changed, the idle step, clicks on the
// icons of stale conclusions) and registers the cascade's commands. Called
// once, after every folder below it registered.
#pragma once

namespace lemmabox {

void RegisterCascade();

}  // namespace lemmabox
