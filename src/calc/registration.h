// Start-up of the calculation engine: fills the Calc operation table and
// puts the engine's hooks and settings to their defaults. Called once, after
// the notebook has registered.
#pragma once

namespace lemmabox {

void RegisterCalc();

}  // namespace lemmabox
