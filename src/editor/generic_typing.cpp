// Generic typing: what a code does at a selection whose type has nothing
// particular to do with it. New names, numbers and question marks, operators,
// closing brackets, templates from the palette, declared names, wildcards
// and new matrices.
#include "editor/editing.h"
#include "editor/positions.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

Handle Q() {
  return NewQuestionMark();
}

bool NeedsDifferential(CommandCode code) {
  return code == kCmdTemplateDefiniteIntegral || code == kCmdTemplateIndefiniteIntegral;
}

// The template of a palette code made around S (and the differential d for
// the integrals); null for a code that is not one.
Handle MakeTemplate(CommandCode code, Handle s, Handle d) {
  switch (code) {
    case kCmdTemplateAbsoluteValue:
      return NewAbs(s);
    case kCmdTemplatePower:
      return NewPower(s, Q());
    case kCmdTemplateSubscript:
      return NewIndex(s, Q());
    case kCmdTemplateQuotient:
    case kCmdTemplateQuotientAlt:
      return NewQuotient(s, Q());
    case kCmdTemplateSquareRoot:
    case kCmdTemplateSquareRootAlt:
      return NewSqrt(s);
    case kCmdTemplateDefiniteIntegral: {
      Handle integral = NewObjN(kIntegral, 3);
      PutSlot(integral, 0, NewProduct(s, d, Q()));
      PutSlot(integral, 1, Q());
      PutSlot(integral, 2, Q());
      return integral;
    }
    case kCmdTemplateEvaluateAt: {
      Handle at = NewObjN(kEvalAt, 3);
      PutSlot(at, 0, s);
      PutSlot(at, 1, NewEquation(Q(), NewInteger(-1)));
      PutSlot(at, 2, NewEquation(Q(), NewOne()));
      return at;
    }
    case kCmdTemplateIndefiniteIntegral:
      return NewObj1(kIntegral, NewProduct(s, d, Q()));
    case kCmdTemplateConditional: {
      Handle cases = NewMatrix(2, 2);
      PutSlot(cases, 0, s);
      PutSlot(cases, 1, NewObj2(kLess, Q(), NewZero()));
      PutSlot(cases, 2, Q());
      PutSlot(cases, 3, NewObj2(kGreaterEqual, Q(), NewZero()));
      return NewObj1(kConditional, cases);
    }
    case kCmdTemplateGreaterOrEqual:
      return NewObj2(kGreaterEqual, s, Q());
    case kCmdTemplateNotEqual:
      return NewObj2(kNotEqual, s, Q());
    case kCmdTemplateLessOrEqual:
      return NewObj2(kLessEqual, s, Q());
    case kCmdTemplateCrossProduct:
      return NewObj2(kCross, s, Q());
    case kCmdTemplateDotProduct:
      return NewObj2(kDot, s, Q());
    case kCmdTemplateAdjoint:
      return NewObj1(kAdjoint, s);
    case kCmdTemplateDerivative:
      return NewProduct(NewObj1(kPartial, Q()), s);
    case kCmdTemplateSummation: {
      Handle sum = NewObjN(kSummation, 3);
      PutSlot(sum, 0, s);
      PutSlot(sum, 1, Q());
      PutSlot(sum, 2, Q());
      return sum;
    }
    case kCmdTemplateIteratedProduct: {
      Handle product = NewObjN(kPiProduct, 4);
      PutSlot(product, 0, s);
      for (int i = 1; i < 4; ++i) PutSlot(product, i, Q());
      return product;
    }
    case kCmdTemplateNegation:
      return NewNegation(s);
    case kCmdTemplateDifference:
      return NewDifference(s, Q());
    case kCmdTemplateLimit: {
      Handle limit = NewObjN(kLimit, 3);
      PutSlot(limit, 0, s);
      PutSlot(limit, 1, Q());
      PutSlot(limit, 2, Q());
      return limit;
    }
    case kCmdTemplateFunctionReference:
      return NewObj2(kForAll, s, Q());
    default:
      return nullptr;
  }
}

Handle FirstQuestionIn(Handle obj) {
  if (obj == nullptr) return nullptr;
  if (ObjType(obj) == kQuestion) return obj;
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i)
    if (Handle found = FirstQuestionIn(ObjSlot(obj, i))) return found;
  return nullptr;
}

bool InsertPaletteTemplate(const Selection& selection, CommandCode code) {
  // The differential is looked up first: it may fail when nothing declares d.
  Handle d = NeedsDifferential(code) ? NewPredefinedName(kKeyDifferential) : nullptr;
  Handle s = ExtractSelection(selection);
  const bool placeholder = s == nullptr || ObjType(s) == kQuestion;
  if (s == nullptr) s = NewQuestionMark();
  Handle made = MakeTemplate(code, s, d);
  if (made == nullptr) {
    DisposeObj(s);
    return false;
  }
  // The caret: on S when it stands for nothing yet; else on the template's
  // only slot, or its second (at the question mark there when it holds one).
  Handle caret = s;
  if (!placeholder) {
    Handle slot = ObjSlot(made, ObjCount(made) == 1 ? 0 : 1);
    Handle question = FirstQuestionIn(slot);
    caret = question != nullptr ? question : slot;
  }
  InsertAtSelection(made, selection, caret, kPosWhole);
  return true;
}

// The n-th name declared by the user in the theory of obj (from 0).
Handle NthUserDeclaration(Handle obj, int n) {
  Handle theory = OwningScope(obj);
  if (theory != nullptr && IsContainerType(ObjType(theory))) {
    for (int i = FirstProp(theory); i < ObjCount(theory); ++i) {
      Handle prop = ObjSlot(theory, i);
      if (prop == nullptr || ObjType(prop) != kDeclaration || !IsUserDefinedDecl(prop)) continue;
      if (n-- == 0) return prop;
    }
  }
  InternalError("NthUserDeclaration");
}

void InsertPaletteName(const Selection& selection, CommandCode code) {
  Handle decl = NthUserDeclaration(selection.obj, static_cast<int>(code & 0xFF));
  Handle declared = DeclNameObj(decl);
  Handle name = declared != nullptr ? DupObj(declared) : NewQuestionMark();
  if ((code & 0xFF00) == kCmdPaletteNameBase) {
    InsertAtSelection(name, selection, name, kPosCaretAfter);
    return;
  }
  Handle argument = ExtractSelection(selection);
  if (argument == nullptr) argument = NewQuestionMark();
  InsertAtSelection(NewObj2(kApply, name, argument), selection, argument, kPosWhole);
}

// A matrix of R rows and C columns around the selected object, which takes
// its first cell.
void InsertMatrix(const Selection& selection, CommandCode code) {
  const int rows = static_cast<int>((code >> 4) & 0xF);
  const int cols = static_cast<int>(code & 0xF);
  Handle obj = selection.obj;
  if (rows == 0 || cols == 0 || IsPropositionType(ObjType(obj))) {
    Caret(obj, selection.position);
    return;
  }
  SaveForUndo(obj);
  Handle parent = ObjParent(obj);
  const int slot = ObjSlotIndex(obj);
  const bool placeholder = ObjType(obj) == kQuestion;
  Handle matrix = NewMatrix(rows, cols);
  PutSlot(matrix, 0, TakeSlot(parent, slot));
  for (int i = 1; i < rows * cols; ++i) PutSlot(matrix, i, NewQuestionMark());
  PutSlot(parent, slot, matrix);
  Changed(matrix);
  Caret(placeholder || rows * cols == 1 ? obj : ObjSlot(matrix, 1), kPosWhole);
}

}  // namespace

bool InsertTemplate(KeyContext& context) {
  const CommandCode code = context.code;
  const Selection& selection = context.selection;
  if (code >= 0x4000 && code <= 0x4FFF) return InsertPaletteTemplate(selection, code);
  const CommandCode family = code & 0xFF00;
  if (family == kCmdWildcardBase) {
    const char kind = static_cast<char>(code & 0xFF);
    if (kind == 0) return false;
    Handle wildcard = NewWildcard(kind);
    InsertAtSelection(wildcard, selection, wildcard, kPosCaretAfter);
    return true;
  }
  if (family == kCmdPaletteNameBase || family == kCmdPaletteFunctionBase) {
    InsertPaletteName(selection, code);
    return true;
  }
  return false;
}

void InsertAtSelection(Handle obj, const Selection& selection, Handle caret, int32_t position) {
  Handle target = selection.obj;
  try {
    if (IsOperandListType(ObjType(target)) && IsRangePosition(selection.position)) {
      const Range range = RangeOf(target, selection.position);
      if (range.start == 0 && range.end == ObjCount(target)) {
        ReplaceObj(target, obj);
      } else {
        DeleteOperands(target, range.start, range.end);
        InsertOperand(target, range.start, obj);
      }
    } else if (const int side = SideOf(selection); side == 0) {
      ReplaceObj(target, obj);
    } else {
      // Beside an object a new one multiplies it.
      ClimbAndAttach(selection, kProduct, false, obj, side < 0);
    }
  } catch (...) {
    DisposeIfDetached(obj);
    throw;
  }
  Caret(caret, position);
}

void GenericTyping(KeyContext& context) {
  const CommandCode code = context.code;
  const Selection selection = context.selection;
  if (InsertTemplate(context)) return;
  const int cls = ClassOfCode(code);
  if (cls == kCharLetter || code == '\'') {
    // An apostrophe starts a name too: the letter after it makes it Greek.
    const char text[2] = {static_cast<char>(code), 0};
    Handle name = NewUndeclaredName(text);
    InsertAtSelection(name, selection, name, PackRange(1, 1));
    return;
  }
  if (cls == kCharDigit) {
    const char text[2] = {static_cast<char>(code), 0};
    Handle number = NewNumberText(text);
    InsertAtSelection(number, selection, number, PackRange(1, 1));
    return;
  }
  if (code == '?') {
    // A question mark being typed has the caret after its "?", as any text.
    Handle question = NewQuestionMark();
    InsertAtSelection(question, selection, question, PackRange(1, 1));
    return;
  }
  if (cls == kCharOperator) {
    InsertOperator(context);
    return;
  }
  if (cls == kCharClosing) {
    LeaveBrackets(selection);
    return;
  }
  if ((code & 0xFF00) == kCmdMatrixBase) {
    InsertMatrix(selection, code);
    return;
  }
  if (Navigate(context) || MatrixCommand(context)) return;
  Caret(selection.obj, selection.position);
}

}  // namespace lemmabox
