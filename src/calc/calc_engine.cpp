#include "calc/calc_engine.h"

#include <array>
#include <cstdint>

#include "calc/calc_stack.h"
#include "mathobj/optables.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

[[gnu::noinline]] uintptr_t FramePosition() {
  return reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
}

struct EngineState {
  bool allowWorking = true;
  uintptr_t stackBase = 0;
  bool wildcardsInUse = false;
  Handle current = nullptr;
  std::array<size_t, kWildcardSlotCount> wildcards{};
};
EngineState gEngine;

IntegrationSettings gIntegrationSettings;

void NoTable(Handle, Handle) {
  RaiseAtCalcObj(kMsgNoValueForVariable);
}
double NoGraph(int, Handle) {
  return UndefinedValue();
}

// Runs the typed pop of an entry point around one evaluation.
template <class Pop>
auto Evaluate(Handle obj, Pop&& pop) {
  BeginCalc(true);
  Handle saved = gEngine.current;
  gEngine.current = obj;
  CalcObj(obj);
  auto result = [&] {
    try {
      return pop();
    } catch (const Failure& failure) {
      if (OffendingObject() == nullptr) RaiseAtObject(failure.message, obj);
      throw;
    }
  }();
  EndCalc();
  gEngine.current = saved;
  return result;
}

}  // namespace

CalcHooks gCalcHooks{NoTable, NoGraph};

void ResetCalcHooks() {
  gCalcHooks = CalcHooks{NoTable, NoGraph};
}

IntegrationSettings& CalcIntegrationSettings() {
  return gIntegrationSettings;
}

void BeginCalc(bool allowWorkingStatements) {
  ResetCalcStack();
  gEngine.allowWorking = allowWorkingStatements;
  gEngine.stackBase = FramePosition();
  if (gEngine.wildcardsInUse) {
    gEngine.wildcards.fill(0);
    gEngine.wildcardsInUse = false;
  }
  // A highlight left by an earlier failure must not be taken for this one's.
  ClearOffendingObject();
}

void CalcObj(Handle obj) {
  if (obj == nullptr) RaiseAtCalcObj(kMsgCannotCalculate);
  TypeCode type = ObjType(obj);
  if (!IsTypeCode(type)) InternalError("UndefCalc");
  Handle saved = gEngine.current;
  gEngine.current = obj;
  try {
    gCalcTable.Entry(type)(obj);
  } catch (const Failure& failure) {
    // The innermost object under evaluation is where the failure happened.
    if (OffendingObject() == nullptr) RaiseAtObject(failure.message, obj);
    throw;
  }
  gEngine.current = saved;
}

void EndCalc() {
  if (!CalcStackEmpty()) InternalError("EndCalc");
}

bool WorkingStatementsAllowed() {
  return gEngine.allowWorking;
}

bool CalcRecursionTooDeep() {
  uintptr_t here = FramePosition();
  if (gEngine.stackBase == 0) gEngine.stackBase = here;
  // The stack grows downward.
  return here < gEngine.stackBase && gEngine.stackBase - here > kCalcRecursionLimit;
}

Handle CurrentCalcObj() {
  return gEngine.current;
}

void RaiseAtCalcObj(MessageNumber n) {
  if (gEngine.current != nullptr) RaiseAtObject(n, gEngine.current);
  Raise(n);
}

double CalcReal(Handle obj) {
  return Evaluate(obj, [] { return PopReal(); });
}

int32_t CalcInt(Handle obj) {
  return Evaluate(obj, [] { return PopInt(); });
}

std::complex<double> CalcComplex(Handle obj) {
  return Evaluate(obj, [] { return PopComplex(); });
}

void Calc2Vector(Handle obj, double& x, double& y) {
  Evaluate(obj, [&] {
    Pop2Vector(x, y);
    return 0;
  });
}

void Calc3Vector(Handle obj, double& x, double& y, double& z) {
  Evaluate(obj, [&] {
    Pop3Vector(x, y, z);
    return 0;
  });
}

size_t WildcardSlot(int letter) {
  int i = letter - 'a';
  return i >= 0 && i < kWildcardSlotCount ? gEngine.wildcards[i] : 0;
}

void SetWildcardSlot(int letter, size_t position) {
  int i = letter - 'a';
  if (i < 0 || i >= kWildcardSlotCount) InternalError("SetWildcardSlot");
  gEngine.wildcards[i] = position;
  gEngine.wildcardsInUse = true;
}

}  // namespace lemmabox
