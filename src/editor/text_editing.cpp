// Editing the text of names and numbers: inserting and deleting characters,
// Greek letters after an apostrophe, splitting at a space, exponents, and a
// function name followed by an opening bracket.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "editor/editing.h"
#include "editor/editor_hooks.h"
#include "editor/positions.h"
#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/handles.h"
#include "mathobj/numbers.h"
#include "mathobj/slots.h"
#include "notebook/expression_writer.h"
#include "notebook/names.h"
#include "notebook/propositions.h"
#include "shell/charset.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

constexpr int kLongestText = kTextFieldSize - 1;

// Rewrites obj's text in place (its payload has room for 32 bytes).
void StoreText(Handle obj, const std::string& text) {
  std::memset(ObjPayload(obj), 0, kTextFieldSize);
  std::memcpy(ObjText(obj), text.data(), std::min<size_t>(text.size(), kLongestText));
  ClearFlag(obj, kFlagSizeValid);
}

// Turns obj (of any leaf type) into a text object of this type, in place.
void BecomeText(Handle obj, TypeCode type, const std::string& text) {
  ResizeObjHandle(obj, kObjHeaderSize + kTextFieldSize);
  Hdr(obj).type = type;
  Hdr(obj).count = 0;
  StoreText(obj, text);
}

Handle NewTextLike(Handle obj, const std::string& text) {
  return ObjType(obj) == kNumberText ? NewNumberText(text.c_str())
                                     : NewUndeclaredName(text.c_str());
}

bool IsTheDeclaredName(Handle obj) {
  Handle parent = ObjParent(obj);
  while (parent != nullptr && (ObjType(parent) == kParens || ObjType(parent) == kApply))
    parent = ObjParent(parent);
  return parent != nullptr && ObjType(parent) == kDeclaration;
}

// --- Inserting ---

bool NumberTakes(const std::string& text, Range range, CommandCode code) {
  const std::string rest = text.substr(0, range.start) + text.substr(range.end);
  const bool hasExponent = rest.find(static_cast<char>(kCharExponent)) != std::string::npos;
  if (code >= '0' && code <= '9') return true;
  if (code == '.') return rest.find('.') == std::string::npos && !hasExponent;
  if (code == 'e' || code == 'E') return range.start > 0 && !hasExponent;
  if (code == '+' || code == '-')
    return range.start > 0 && static_cast<uint8_t>(text[range.start - 1]) == kCharExponent;
  return false;
}

// A name holds letters, digits after its first character, and apostrophes
// (primes, and before a Latin letter a Greek one); a digit before it is a
// number multiplying it.
bool NameTakes(CommandCode code, Range range) {
  const int cls = ClassOfCode(code);
  return cls == kCharLetter || code == '\'' || (cls == kCharDigit && range.start > 0);
}

void InsertCharacter(Handle obj, std::string text, Range range, CommandCode code) {
  auto c = static_cast<uint8_t>(code);
  if (ObjType(obj) == kNumberText && (c == 'e' || c == 'E')) c = kCharExponent;
  if (ObjType(obj) == kUndeclaredName && range.start > 0 && text[range.start - 1] == '\'' &&
      c < 0x80) {
    // An apostrophe and a Latin letter make a Greek letter.
    if (uint8_t greek = GreekForLatin(static_cast<char>(c))) {
      c = greek;
      range.start -= 1;
    }
  }
  const int kept = static_cast<int>(text.size()) - (range.end - range.start);
  if (kept >= kLongestText) {
    Caret(obj, kPosWhole);
    Raise(kMsgNameTooLong);
  }
  SaveForUndo(obj);
  text.replace(range.start, range.end - range.start, 1, static_cast<char>(c));
  StoreText(obj, text);
  Changed(obj);
  Caret(obj, PackRange(range.start + 1, range.start + 1));
}

// --- Deleting ---

void DeleteCharacters(Handle obj, std::string text, Range range) {
  if (range.Empty()) {
    if (range.start == 0) {
      Caret(obj, PackRange(0, 0));
      return;
    }
    range.start -= 1;
  }
  text.erase(range.start, range.end - range.start);
  int caret = range.start;
  if (text.empty() && !IsTheDeclaredName(obj)) {
    Caret(ReplaceObj(obj, NewQuestionMark()), kPosWhole);
    return;
  }
  if (ObjType(obj) == kNumberText && !text.empty() &&
      static_cast<uint8_t>(text[0]) == kCharExponent) {
    // A number cannot start with its exponent: 1 stands in for the mantissa.
    text.insert(text.begin(), '1');
    caret += 1;
  }
  SaveForUndo(obj);
  StoreText(obj, text);
  Changed(obj);
  Caret(obj, PackRange(caret, caret));
}

// --- Splitting at a space ---

void SplitText(Handle obj, const std::string& text, Range range) {
  const int length = static_cast<int>(text.size());
  const bool caretInside = range.Empty() && range.start > 0 && range.start < length;
  const bool rangeInside = !range.Empty() && range.start > 0 && range.end < length;
  if (ObjType(obj) == kWildcard || (!caretInside && !rangeInside)) {
    Caret(obj, PackRange(range.start, range.end | kSpaceSplitMark));
    return;
  }
  Handle parent = ObjParent(obj);
  const bool intoProduct = parent != nullptr && ObjType(parent) == kProduct;
  if (intoProduct) CheckRoomFor(parent, rangeInside ? 2 : 1);
  std::vector<Handle> parts;
  parts.push_back(NewTextLike(obj, text.substr(0, range.start)));
  if (rangeInside) parts.push_back(NewTextLike(obj, text.substr(range.start, range.Size())));
  parts.push_back(NewTextLike(obj, text.substr(range.end)));
  Handle selected = parts[rangeInside ? 1 : 0];
  if (intoProduct) {
    // In a product the parts become factors of their own.
    const int slot = ObjSlotIndex(obj);
    SaveForUndo(parent);
    PutSlot(parent, slot, parts[0]);
    for (size_t i = 1; i < parts.size(); ++i)
      InsertSlot(parent, slot + static_cast<int>(i), parts[i]);
    Changed(parent);
  } else {
    Handle product = NewObjN(kProduct, static_cast<int>(parts.size()));
    for (size_t i = 0; i < parts.size(); ++i) PutSlot(product, static_cast<int>(i), parts[i]);
    ReplaceObj(obj, product);
  }
  Caret(selected, kPosWhole);
}

// --- An opening bracket after a name ---

bool OpenAfterName(Handle name, const std::string& text) {
  Handle decl = VarLookup(OwningScope(name), text.c_str());
  if (decl != nullptr && DeclRecordOf(decl) != nullptr && DeclClass(decl) == kNameFunction) {
    Handle question = NewQuestionMark();
    Handle application = NewObj2(kApply, DupObj(name), NewObj1(kParens, question));
    ReplaceObj(name, application);
    Caret(question, kPosWhole);
    return true;
  }
  int operands = 0;
  const TypeCode type = FunctionCallType(text.c_str(), &operands);
  if (type == 0 || operands < 1) return false;
  // Typed linearly (a script, Fortranish) every operand there is comes
  // after the word, ':' adding the optional ones; typed as on paper, the
  // operator opens with all its slots to fill.
  if (Command().fortranish && FewestSlots(type) > 0) operands = FewestSlots(type);
  // The word of an operator: the operator, its first operand opened in
  // brackets of its own.
  Handle op = NewObjN(type, operands);
  Handle question = NewQuestionMark();
  PutSlot(op, 0, NewObj1(kParens, question));
  for (int i = 1; i < operands; ++i) PutSlot(op, i, NewQuestionMark());
  ReplaceObj(name, op);
  Caret(question, kPosWhole);
  return true;
}

}  // namespace

void MakeEditableText(KeyContext& context) {
  Handle obj = context.selection.obj;
  switch (ObjType(obj)) {
    case kName: {
      Handle decl = DeclOfName(obj);
      const char* spelling =
          decl != nullptr && ObjType(decl) == kDeclaration ? DeclNameText(decl) : nullptr;
      if (spelling == nullptr) {
        // The declaration must be mended first: its name is selected.
        if (decl != nullptr && ObjType(decl) == kDeclaration && ObjCount(decl) >= 1 &&
            ObjSlot(decl, 0) != nullptr)
          Caret(ObjSlot(decl, 0), kPosWhole);
        Raise(kMsgDeclarationProblem);
      }
      const std::string text = spelling;
      SaveForUndo(obj);
      BecomeText(obj, kUndeclaredName, text);
      break;
    }
    case kInteger:
      SaveForUndo(obj);
      IntegerToNumberText(obj);
      break;
    case kReal: {
      const std::string text = gEditorHooks.numberText(obj);
      SaveForUndo(obj);
      BecomeText(obj, kNumberText, text);
      break;
    }
    default:
      return;
  }
  Changed(obj);
}

bool EditText(KeyContext& context) {
  const Selection selection = context.selection;
  Handle obj = selection.obj;
  const TypeCode type = ObjType(obj);
  if (type != kUndeclaredName && type != kNumberText && type != kWildcard) return false;
  const std::string text = EditableText(obj);
  const int length = static_cast<int>(text.size());
  const Range range = RangeOf(obj, selection.position);
  const CommandCode code = context.code;
  if (code == ' ') {
    SplitText(obj, text, range);
    return true;
  }
  if (type == kWildcard) return false;
  if (IsDeleteCode(code)) {
    DeleteCharacters(obj, text, range);
    return true;
  }
  const bool atEnd = range.Empty() && range.start == length;
  if (type == kUndeclaredName && (code == '(' || code == '[' || code == '{') && atEnd &&
      OpenAfterName(obj, text))
    return true;
  if (type == kNumberText && code == '.' && atEnd && length > 1 && text.back() == '.') {
    // "1.." starts the dots of a range: the point belongs to them.
    SaveForUndo(obj);
    StoreText(obj, text.substr(0, length - 1));
    Changed(obj);
    InsertOperatorAt({obj, PackRange(length - 1, length - 1)}, '.');
    return true;
  }
  const bool takes = type == kNumberText ? NumberTakes(text, range, code) : NameTakes(code, range);
  if (!takes) return false;
  // After a space at either end the character starts an object of its own.
  const bool marked =
      IsRangePosition(selection.position) && (RangeEnd(selection.position) & kSpaceSplitMark) != 0;
  if (marked && range.Empty() && (range.start == 0 || range.start == length)) return false;
  InsertCharacter(obj, text, range, code);
  return true;
}

}  // namespace lemmabox
