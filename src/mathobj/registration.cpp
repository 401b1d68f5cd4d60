#include "mathobj/registration.h"


#include "mathobj/dup_dispose.h"
#include "mathobj/encode.h"
#include "mathobj/equivalence.h"
#include "shell/memory.h"

namespace lemmabox {

void RegisterMathObj() {
  InitObjectHeap();
  RegisterDupDispose();
  RegisterEncode();
  RegisterEquivalence();
}

}  // namespace lemmabox
