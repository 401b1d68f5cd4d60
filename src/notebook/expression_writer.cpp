#include "notebook/expression_writer.h"

#include <charconv>
#include <cstdio>
#include <cstring>

#include "mathobj/optables.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"
#include "shell/charset.h"
#include "shell/failure.h"

namespace lemmabox {
namespace {

// --- Words of the function-call form ---

struct CallWord {
  TypeCode type;
  const char* word;
  int operands;  // what typing the word gives
};

// The writer's word for each type written as a call. Limit and ForAll are not
// in the op-name table; typing them reads them back all the same.
constexpr CallWord kCallWords[] = {
    {kSqrt, "sqrt", 1},           {kAbs, "abs", 1},
    {kPartial, "Diff", 1},        {kSummation, "Summation", 3},
    {kPiProduct, "PiProduct", 4}, {kLimit, "Limit", 3},
    {kForAll, "ForAll", 2},       {kIntegral, "Integral", 1},
    {kEvalAt, "EvaluateAt", 2},   {kConditional, "Conditional", 1},
};

// --- Parentheses ---

bool DelimitsOperands(TypeCode parent) {
  switch (parent) {
    case kPartial:
    case kSummation:
    case kEvalAt:
    case kConditional:
    case kQuotient:
    case kAbs:
    case kSqrt:
      return true;
    default:
      return false;
  }
}

// --- Writers ---

void WriteNameCharacters(const char* text, TextWriter& w) {
  for (const char* p = text; *p != '\0'; ++p) {
    auto c = static_cast<uint8_t>(*p);
    if (c < 0x80) {
      w.Put(static_cast<char>(c));
      continue;
    }
    char letter = TypingLetterForSymbol(c);
    if (letter == 0) InternalError("txSym");
    w.Put('\'');
    w.Put(letter);
  }
}

void WriteSeparated(Handle obj, std::string_view separator, TextWriter& w) {
  for (int i = FirstObjSlot(obj); i < ObjCount(obj); ++i) {
    if (i > FirstObjSlot(obj)) w.Put(separator);
    WriteOperand(obj, ObjSlot(obj, i), w);
  }
}

void WriteSum(Handle sum, TextWriter& w) {
  if (ObjCount(sum) == 0) {
    w.Put('0');
    return;
  }
  for (int i = 0; i < ObjCount(sum); ++i) {
    Handle term = ObjSlot(sum, i);
    if (term != nullptr && ObjType(term) == kNegation && ObjCount(term) == 1) {
      // a - b rather than a + -b: the minus stands for the negation itself.
      w.ContinueLineIfDue();
      w.Put('-');
      WriteOperand(term, ObjSlot(term, 0), w);
      continue;
    }
    if (i > 0) w.Put('+');
    WriteOperand(sum, term, w);
  }
}

void WriteOwnCharacter(Handle obj, TextWriter& w) {
  const char separator = static_cast<char>(ObjType(obj));
  WriteSeparated(obj, std::string_view(&separator, 1), w);
}

void WriteRelationPair(Handle obj, TextWriter& w) {
  const char* op = ObjType(obj) == kLessEqual ? "<=" : ObjType(obj) == kNotEqual ? "<>" : ">=";
  WriteSeparated(obj, op, w);
}

void WriteRange(Handle obj, TextWriter& w) {
  WriteSeparated(obj, "...", w);
}

void WriteNegation(Handle obj, TextWriter& w) {
  w.Put('-');
  WriteOperand(obj, ObjSlot(obj, 0), w);
}

void WriteFactorial(Handle obj, TextWriter& w) {
  WriteOperand(obj, ObjSlot(obj, 0), w);
  w.Put('!');
}

void WriteAdjoint(Handle obj, TextWriter& w) {
  WriteOperand(obj, ObjSlot(obj, 0), w);
  w.Put("^*");
}

void WriteVectorProduct(Handle obj, TextWriter& w) {
  WriteSeparated(obj, ObjType(obj) == kCross ? "*#" : "*@", w);
}

void WriteIndex(Handle obj, TextWriter& w) {
  WriteSeparated(obj, "_", w);
}

void WriteApply(Handle obj, TextWriter& w) {
  WriteObj(ObjSlot(obj, 0), w);
  w.Put('(');
  WriteObj(ObjSlot(obj, 1), w);
  w.Put(')');
}

void WriteParens(Handle obj, TextWriter& w) {
  WriteObj(ObjSlot(obj, 0), w);
}

// name(first:second:...): typing the word opens the first operand in
// brackets of its own, so it is written bare; ':' moves to the next slot.
void WriteCall(Handle obj, TextWriter& w) {
  w.Put(FunctionCallName(ObjType(obj)));
  w.Put('(');
  for (int i = 0; i < ObjCount(obj); ++i) {
    if (i == 0) {
      WriteObj(ObjSlot(obj, 0), w);
    } else {
      w.Put(':');
      WriteOperand(obj, ObjSlot(obj, i), w);
    }
  }
  w.Put(')');
}

void WriteMatrix(Handle m, TextWriter& w) {
  const bool enclose = ObjParent(m) == nullptr;
  if (enclose) w.Put('(');
  const int rows = MatrixRows(m);
  const int cols = MatrixCols(m);
  for (int r = 0; r < rows; ++r) {
    if (r > 0) w.Put(';');
    for (int c = 0; c < cols; ++c) {
      if (c > 0) w.Put(',');
      WriteOperand(m, MatrixElement(m, r, c), w);
    }
  }
  if (enclose) w.Put(')');
}

void WriteNumberText(Handle obj, TextWriter& w) {
  const char* text = ObjText(obj);
  if (text[0] == '.') w.Put('0');
  for (const char* p = text; *p != '\0' && p < text + kTextFieldSize; ++p) {
    w.Put(static_cast<uint8_t>(*p) == kCharExponent ? 'E' : *p);
  }
}

void WriteInteger(Handle obj, TextWriter& w) {
  char text[16];
  std::snprintf(text, sizeof text, "%ld", static_cast<long>(IntegerValue(obj)));
  w.Put(text);
}

// The shortest text that reads back as the same value, kept recognisable as
// a real (a '.' or an exponent) so that it does not come back an integer.
void WriteReal(Handle obj, TextWriter& w) {
  char text[40];
  auto [end, error] = std::to_chars(text, text + sizeof text - 2, RealValue(obj));
  if (error != std::errc()) {
    w.Put('?');
    return;
  }
  *end = '\0';
  if (std::strpbrk(text, ".e") == nullptr) {
    *end++ = '.';
    *end = '\0';
  }
  w.Put(text);
}

void WriteUndeclaredName(Handle obj, TextWriter& w) {
  char text[kTextFieldSize + 1];
  std::memcpy(text, ObjText(obj), kTextFieldSize);
  text[kTextFieldSize] = '\0';
  WriteNameCharacters(text, w);
}

void WriteDeclaredName(Handle obj, TextWriter& w) {
  Handle decl = DeclOfName(obj);
  if (decl == nullptr || ObjType(decl) != kDeclaration) {
    w.Put('?');
    return;
  }
  // A declaration whose name is not a plain word names nothing that can be
  // typed: the name stands for a placeholder, as in a saved copy.
  const char* text = DeclNameText(decl);
  if (text != nullptr) {
    WriteNameCharacters(text, w);
  } else {
    w.Put('?');
  }
}

void WriteQuestionMark(Handle, TextWriter& w) {
  w.Put('?');
}

void WriteWildcard(Handle obj, TextWriter& w) {
  w.Put('?');
  w.Put(WildcardKind(obj));
}

}  // namespace

TextWriter::TextWriter(std::string& text, bool continueLines)
    : out(text),
      breakPosition(text.size() + kLineContinuationWidth),
      continueLines(continueLines) {}

void TextWriter::ContinueLineIfDue() {
  if (!continueLines || out.size() <= breakPosition) return;
  out.append("~\n ");
  ResetBreak();
}

void WriteObj(Handle obj, TextWriter& writer) {
  if (obj == nullptr) {
    // An empty slot types as the placeholder it reads back as.
    writer.Put('?');
    return;
  }
  writer.ContinueLineIfDue();
  gTextExportTable.Entry(ObjType(obj))(obj, writer);
}

void WriteOperand(Handle parent, Handle operand, TextWriter& writer) {
  if (operand == nullptr || !OperandNeedsParentheses(parent, operand)) {
    WriteObj(operand, writer);
    return;
  }
  writer.Put('(');
  WriteObj(operand, writer);
  writer.Put(')');
}

bool ShownInBrackets(Handle parent, Handle child) {
  const TypeCode c = ObjType(child);
  const TypeCode p = parent ? ObjType(parent) : 0;
  if (c == kMatrix) return p != kParens && p != kConditional;
  if (c == kForAll) return p != kParens;
  if (parent == nullptr) return false;
  if (c == kParens) return true;  // parentheses the user typed are always shown
  if (IsPropositionType(p) || DelimitsOperands(p)) return false;
  const int slot = ObjSlotIndex(child);
  if ((p == kPower || p == kIndex || p == kPiProduct || p == kIntegral) && slot != 0) return false;
  if (p == kApply && slot == 1) return true;
  return BindingStrength(c) <= BindingStrength(p);
}

bool OperandNeedsParentheses(Handle parent, Handle operand) {
  if (parent != nullptr && ObjType(parent) == kList) {
    // The elements of an internal list are typed as those of a row.
    const TypeCode c = ObjType(operand);
    return c == kMatrix || c == kForAll || c == kParens ||
           BindingStrength(kMatrix) >= BindingStrength(c);
  }
  if (ShownInBrackets(parent, operand)) return true;
  if (parent == nullptr) return false;
  const TypeCode p = ObjType(parent);
  const TypeCode c = ObjType(operand);
  if (IsPropositionType(p)) return false;
  if (BindingStrength(p) >= BindingStrength(c)) return true;
  if (c == kApply && (p == kQuotient || p == kSummation)) return true;
  // Typed "*#" or "*@" takes only the last factor before it, so a product on
  // the left of a cross or dot product must keep its brackets.
  return c == kProduct && (p == kCross || p == kDot) && ObjSlotIndex(operand) == 0;
}

void AppendExpressionScript(std::string& out, Handle expr, bool continueLines) {
  TextWriter writer(out, continueLines);
  WriteObj(expr, writer);
}

std::string ExpressionScript(Handle expr) {
  std::string text;
  AppendExpressionScript(text, expr, false);
  return text;
}

const char* FunctionCallName(TypeCode type) {
  for (const CallWord& word : kCallWords)
    if (word.type == type) return word.word;
  return nullptr;
}

TypeCode FunctionCallType(const char* word, int* operands) {
  if (word == nullptr) return 0;
  if (const OpName* op = OpNameByName(word)) {
    if (operands) *operands = op->operands;
    return op->type;
  }
  for (const CallWord& call : kCallWords) {
    if (std::strcmp(call.word, word) != 0) continue;
    if (operands) *operands = call.operands;
    return call.type;
  }
  return 0;
}

char TypingLetterForSymbol(uint8_t c) {
  for (int letter = 'A'; letter <= 'z'; ++letter) {
    if (GreekForLatin(static_cast<char>(letter)) == c) return static_cast<char>(letter);
  }
  // A second code for a character typing gives under another code (the second
  // nabla) is written as that character.
  uint8_t typed = ProgramCharFromUnicode(UnicodeFromProgramChar(c));
  if (typed != 0 && typed != c) return TypingLetterForSymbol(typed);
  return 0;
}

void RegisterExpressionWriter() {
  OpTable<TextExportFn>& t = gTextExportTable;
  t.Set(kSum, &WriteSum);
  for (TypeCode own : {kProduct, kList, kQuotient, kLess, kEquals, kGreater, kPower})
    t.Set(own, &WriteOwnCharacter);
  for (TypeCode pair : {kLessEqual, kNotEqual, kGreaterEqual}) t.Set(pair, &WriteRelationPair);
  t.Set(kRange, &WriteRange);
  t.Set(kNegation, &WriteNegation);
  t.Set(kFactorial, &WriteFactorial);
  t.Set(kAdjoint, &WriteAdjoint);
  t.Set(kCross, &WriteVectorProduct);
  t.Set(kDot, &WriteVectorProduct);
  t.Set(kIndex, &WriteIndex);
  t.Set(kApply, &WriteApply);
  t.Set(kParens, &WriteParens);
  for (const CallWord& word : kCallWords) t.Set(word.type, &WriteCall);
  t.Set(kMatrix, &WriteMatrix);
  t.Set(kNumberText, &WriteNumberText);
  t.Set(kInteger, &WriteInteger);
  t.Set(kReal, &WriteReal);
  t.Set(kUndeclaredName, &WriteUndeclaredName);
  t.Set(kName, &WriteDeclaredName);
  t.Set(kQuestion, &WriteQuestionMark);
  t.Set(kWildcard, &WriteWildcard);
}

}  // namespace lemmabox
