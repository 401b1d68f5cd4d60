#include "manip/registration.h"

#include "manip/commute.h"
#include "manip/conlin.h"
#include "manip/manipulations.h"
#include "manip/simplify.h"
#include "mathobj/equivalence.h"
#include "notebook/document.h"
#include "notebook/notebook_record.h"

namespace lemmabox {
namespace {

// The notebook that holds the integral decides; a detached one follows the
// current notebook.
bool ZeroIntegralsDiffer(Handle integral) {
  NotebookRecord* record = NotebookRecordFor(integral);
  if (record == nullptr) {
    Handle current = CurrentNotebook();
    if (current == nullptr) return false;
    record = &NotebookRecordOf(current);
  }
  return record->style.zeroIntegralsDiffer != 0;
}

}  // namespace

void RegisterManip() {
  RegisterCommute();
  RegisterConLin();
  RegisterSimplify();
  gEquivalenceHooks.indefiniteZeroIntegralsDiffer = &ZeroIntegralsDiffer;
  RegisterManipulations();
}

}  // namespace lemmabox
