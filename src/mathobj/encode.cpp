#include "mathobj/encode.h"

#include "mathobj/constructors.h"
#include "mathobj/numbers.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "shell/failure.h"
#include "shell/interrupt.h"

namespace lemmabox {
namespace {

// The commutativity class from which an object applies to what follows it.
constexpr int kFunctionLikeClass = 5;

bool gFinalising = false;
bool gQuiet = false;
bool gAutoDeclare = true;

void InvalidateUpward(Handle obj) {
  for (Handle h = obj; h != nullptr; h = ObjParent(h)) ClearFlag(h, kFlagSizeValid);
}

void Nothing(Handle) {}
bool NobodyToAsk(Handle) {
  return false;
}
std::span<Selection> NoSelections() {
  return {};
}

constexpr EncodeHooks kDefaults = {
    .resolveName = &Nothing,
    .declareName = &NobodyToAsk,
    .refreshDisplay = &Nothing,
    .markPendingEdits = &Nothing,
    .selectName = &Nothing,
    .relayout = &InvalidateUpward,
    .invalidateSizes = &InvalidateUpward,
    .tableFollowUp = &Nothing,
    .followUp = &Nothing,
    .selectionList = &NoSelections,
};

// Selections on an object that is about to go away move to what takes its place.
void RetargetSelections(Handle from, Handle to, int32_t position) {
  for (Selection& selection : gEncodeHooks.selectionList()) {
    if (selection.obj != from) continue;
    selection.obj = to;
    selection.position = position;
  }
}

void Relayout(Handle obj) {
  if (!gQuiet) gEncodeHooks.relayout(obj);
}

// --- Encode entries ---

// Expressions with operands and notebook entries: each object slot in order.
// An operand may replace itself, or splice itself into obj, while it is
// interpreted, so the count is read afresh each time.
void EncodeSlots(Handle obj) {
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) {
    if (Handle child = ObjSlot(obj, i)) EncodeObj(child);
  }
}

void EncodeName(Handle name) {
  const EncodeHooks& hooks = gEncodeHooks;
  hooks.resolveName(name);
  if (ObjType(name) != kUndeclaredName || !gAutoDeclare) return;
  if (!gFinalising) {
    hooks.markPendingEdits(name);
    return;
  }
  if (hooks.declareName(name)) {
    if (!gQuiet) hooks.refreshDisplay(name);
    hooks.markPendingEdits(name);
    hooks.resolveName(name);
  } else {
    gAutoDeclare = false;
    hooks.selectName(name);
  }
}

void EncodeNumber(Handle number) {
  if (!gFinalising) return;
  ResolveNumberText(number);
  if (!gQuiet) {
    gEncodeHooks.relayout(number);
    CheckInterrupt();
  }
}

// Explicit parentheses only group while typing; once the edit is committed
// they give way to their content.
void EncodeParens(Handle parens) {
  if (!gFinalising) return;
  if (Handle content = ObjSlot(parens, 0)) EncodeObj(content);
  Handle parent = ObjParent(parens);
  if (parent == nullptr) return;  // nothing holds it that could take the content
  Handle content = TakeSlot(parens, 0);
  RetargetSelections(parens, content ? content : parent, kPosWhole);
  ReplaceInParent(parens, content);
  if (content == nullptr) return;
  if (gQuiet)
    gEncodeHooks.invalidateSizes(content);
  else
    gEncodeHooks.relayout(content);
}

// f x, with f function-like and x not, is the application f(x). Pairs are
// taken from the last to the first, so "sin cos x" nests as sin(cos(x)).
void EncodeProduct(Handle product) {
  EncodeSlots(product);
  bool changed = false;
  for (int k = ObjCount(product) - 2; k >= 0; --k) {
    if (!IsFunctionLike(ObjSlot(product, k)) || IsFunctionLike(ObjSlot(product, k + 1))) continue;
    changed = true;
    if (ObjCount(product) == 2) {
      Hdr(product).type = kApply;
      break;
    }
    Handle function = TakeSlot(product, k);
    Handle argument = TakeSlot(product, k + 1);
    DeleteSlots(product, k + 1, k + 2);
    PutSlot(product, k, NewObj2(kApply, function, argument));
  }
  if (changed) Relayout(product);
}

// An application whose function is not function-like (a variable before a
// parenthesised expression) is a product after all, and joins the product
// around it when there is one.
void EncodeApply(Handle apply) {
  EncodeSlots(apply);
  if (ObjCount(apply) != 2) return;
  if (IsFunctionLike(ObjSlot(apply, 0)) && !IsFunctionLike(ObjSlot(apply, 1))) return;
  Hdr(apply).type = kProduct;
  Handle parent = ObjParent(apply);
  if (parent == nullptr || ObjType(parent) != kProduct) {
    Relayout(apply);
    return;
  }
  int i = ObjSlotIndex(apply);
  Handle first = TakeSlot(apply, 0);
  Handle second = TakeSlot(apply, 1);
  RetargetSelections(apply, parent, PackRange(i, i + 2));
  PutSlot(parent, i, first);  // disposes the emptied application
  InsertSlot(parent, i + 1, second);
  Relayout(parent);
}

// A declared name is never interpreted (it must not resolve to its own
// declaration); only parentheses around it are removed.
void EncodeDeclaration(Handle decl) {
  while (ObjCount(decl) >= 1 && ObjSlot(decl, 0) != nullptr &&
         ObjType(ObjSlot(decl, 0)) == kParens) {
    Handle parens = ObjSlot(decl, 0);
    Handle content = TakeSlot(parens, 0);
    RetargetSelections(parens, content ? content : decl, kPosWhole);
    PutSlot(decl, 0, content);
  }
}

// A table's name is "f" or "y(x)"; typed as "y x" it is the application y(x)
// whatever y's class, so its parts are interpreted separately.
void EncodeTable(Handle table) {
  Handle name = ObjCount(table) >= 1 ? ObjSlot(table, 0) : nullptr;
  if (name != nullptr && ObjType(name) == kProduct && ObjCount(name) == 2) Hdr(name).type = kApply;
  if (name != nullptr && ObjType(name) == kApply) {
    EncodeSlots(name);
  } else if (name != nullptr) {
    EncodeObj(name);
  }
  gEncodeHooks.tableFollowUp(table);
}

// A comment's body is text, not mathematics; the comment folder interprets
// whatever it embeds.
void EncodeComment(Handle) {}

EncodeFn EncodeEntryFor(TypeCode type) {
  switch (type) {
    case kUndeclaredName:
      return &EncodeName;
    case kNumberText:
      return &EncodeNumber;
    case kParens:
      return &EncodeParens;
    case kProduct:
      return &EncodeProduct;
    case kApply:
      return &EncodeApply;
    case kDeclaration:
      return &EncodeDeclaration;
    case kTable:
      return &EncodeTable;
    case kComment:
      return &EncodeComment;
    default:
      return &EncodeSlots;
  }
}

class FinalisingRun {
 public:
  explicit FinalisingRun(bool finalising) { gFinalising = finalising; }
  ~FinalisingRun() { gFinalising = false; }
  FinalisingRun(const FinalisingRun&) = delete;
  FinalisingRun& operator=(const FinalisingRun&) = delete;
};

bool IsRangePosition(int32_t position) {
  return position < -8 || position > -1;
}

}  // namespace

EncodeHooks gEncodeHooks = kDefaults;

void ResetEncodeHooks() {
  gEncodeHooks = kDefaults;
}

void EncodeObj(Handle obj) {
  if (obj == nullptr || !IsTypeCode(ObjType(obj))) InternalError("EncodeObj");
  gEncodeTable.Entry(ObjType(obj))(obj);
}

void EncodeCommit(Handle obj, bool finalising) {
  FinalisingRun run(finalising);
  if (finalising) {
    for (Selection& selection : gEncodeHooks.selectionList()) {
      while (selection.obj != nullptr && ObjType(selection.obj) == kParens &&
             ObjCount(selection.obj) >= 1 && ObjSlot(selection.obj, 0) != nullptr) {
        selection.obj = ObjSlot(selection.obj, 0);
        selection.position = kPosWhole;
      }
    }
  }
  EncodeObj(obj);
  for (Selection& selection : gEncodeHooks.selectionList()) {
    if (selection.obj != nullptr && ObjType(selection.obj) == kApply &&
        IsRangePosition(selection.position))
      selection.position = kPosWhole;
  }
  gEncodeHooks.followUp(obj);
}

bool EncodeFinalising() {
  return gFinalising;
}
bool EncodeQuiet() {
  return gQuiet;
}

QuietEncoding::QuietEncoding() : saved_(gQuiet) {
  gQuiet = true;
}
QuietEncoding::~QuietEncoding() {
  gQuiet = saved_;
}

bool AutoDeclareOn() {
  return gAutoDeclare;
}
void SetAutoDeclare(bool on) {
  gAutoDeclare = on;
}

bool IsFunctionLike(Handle obj) {
  if (obj == nullptr) return false;
  TypeCode type = ObjType(obj);
  if (!IsTypeCode(type) || !gCommuteTable.Has(type)) return false;
  return gCommuteTable.Entry(type)(obj) >= kFunctionLikeClass;
}

void RegisterEncode() {
#define LEMMABOX_REGISTER_TYPE(name, code, ...) gEncodeTable.Set(code, EncodeEntryFor(code));
  LEMMABOX_TYPES(LEMMABOX_REGISTER_TYPE)
#undef LEMMABOX_REGISTER_TYPE
}

}  // namespace lemmabox
