#include "calc/registration.h"

#include "calc/calc_engine.h"
#include "calc/calc_entries.h"
#include "calc/calc_stack.h"

namespace lemmabox {

void RegisterCalc() {
  ResetCalcStack();
  ResetCalcHooks();
  CalcIntegrationSettings() = IntegrationSettings{};
  RegisterCalcTable();
}

}  // namespace lemmabox
