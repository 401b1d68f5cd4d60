// The expression writer: the typing script of an expression, that is, the
// characters that rebuild it when they are typed into the editor. Notebook
// files, the clipboard and the command-line tool all write expressions this
// way, and the editor reads them back by typing them.
//
// Every expression type has its writer in the Text export table; WriteObj
// dispatches through it. The notebook file writer adds the writers of the
// notebook entries to the same table and drives the same TextWriter.
//
// Reading a script back happens with the bracket boundaries of the editor off
// (the way Fortranish typing works), so a writer puts parentheses wherever
// typing the bare operand would build a different tree: where the display
// shows brackets, where the parent binds at least as tightly as the operand,
// and around a function application under a division or a summation.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "mathobj/object.h"

namespace lemmabox {

// Long scripts are continued on a new line ("~\n ") before the next object
// once this many characters were written since the last break.
constexpr size_t kLineContinuationWidth = 60;

struct TextWriter {
  explicit TextWriter(std::string& text, bool continueLines = true);

  void Put(char c) { out.push_back(c); }
  void Put(std::string_view text) { out.append(text); }
  // The break position moves to 60 characters past the current end.
  void ResetBreak() { breakPosition = out.size() + kLineContinuationWidth; }
  // Writes "~\n " when the text has passed the break position.
  void ContinueLineIfDue();

  std::string& out;
  size_t breakPosition;
  bool continueLines;
};

// Writes obj by its type's writer, after the line-continuation check.
// Internal error "UnText" for a type without a writer.
void WriteObj(Handle obj, TextWriter& writer);
// Writes operand as part of parent, in parentheses when it needs them.
void WriteOperand(Handle parent, Handle operand, TextWriter& writer);

// Whether the display shows child inside automatic brackets in parent (null
// parent: a detached child).
bool ShownInBrackets(Handle parent, Handle child);
// Whether the writer puts operand in parentheses inside parent.
bool OperandNeedsParentheses(Handle parent, Handle operand);

// Appends the typing script of expr to out, the break position starting 60
// characters past the current end.
void AppendExpressionScript(std::string& out, Handle expr, bool continueLines = true);
// The script of expr on one line (no continuations), as tests and the
// command-line tool show it.
std::string ExpressionScript(Handle expr);

// The name under which the function-call form writes an operator type ("sqrt",
// "Integral" ...), or nullptr for a type written otherwise.
const char* FunctionCallName(TypeCode type);
// The operator type typed by a function-call word, and how many operands it
// gets when typed: the op-name table first, then the writer's own words (so
// that every word the writer uses reads back). 0 when the word is neither.
TypeCode FunctionCallType(const char* word, int* operands);

// The character that, typed after an apostrophe inside a name, gives the
// name-alphabet byte c; 0 when there is none.
char TypingLetterForSymbol(uint8_t c);

// Fills the Text export entries of every expression type.
void RegisterExpressionWriter();

}  // namespace lemmabox
