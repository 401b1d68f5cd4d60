// Derivations in a typed notebook: finding what to select, choosing menu
// commands, and reading the statements back as the file writer writes them.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "mathobj/slots.h"
#include "notebook/expression_writer.h"
#include "notebook/propositions.h"
#include "shell/commands.h"
#include "shell/menu_ids.h"
#include "support/typing.h"

namespace lemmabox::testing {

// The n-th object of this type in reading order, or null.
inline Handle Find(Handle root, TypeCode type, int n = 0) {
  std::vector<Handle> found;
  WalkTree(
      root,
      [&](Handle h) {
        if (ObjType(h) == type) found.push_back(h);
      },
      [](Handle) {});
  return n < static_cast<int>(found.size()) ? found[n] : nullptr;
}

// The name spelled `spelling`, declared or not, or null.
inline Handle FindName(Handle root, const char* spelling) {
  Handle found = nullptr;
  WalkTree(
      root,
      [&](Handle h) {
        const char* text = ObjType(h) == kUndeclaredName ? ObjText(h)
                           : ObjType(h) == kName         ? DeclNameText(DeclOfName(h))
                                                         : nullptr;
        if (found == nullptr && text != nullptr && std::strcmp(text, spelling) == 0) found = h;
      },
      [](Handle) {});
  return found;
}

// The assumptions and conclusions, in notebook order.
inline std::vector<Handle> StatementProps(Handle container) {
  std::vector<Handle> out;
  for (int i = FirstProp(container); i < ObjCount(container); ++i) {
    Handle prop = ObjSlot(container, i);
    if (prop != nullptr && IsAssumptionOrConclusion(ObjType(prop))) out.push_back(prop);
  }
  return out;
}

inline std::string Script(Handle obj) {
  return obj != nullptr ? ExpressionScript(obj) : std::string("(none)");
}

// Each statement with its kind: "A:x+x", "C:x+x=2*x".
inline std::vector<std::string> Outline(Handle notebook) {
  std::vector<std::string> lines;
  for (Handle prop : StatementProps(notebook))
    lines.push_back(std::string(1, static_cast<char>(ObjType(prop))) + ":" +
                    Script(StatementOf(prop)));
  return lines;
}

inline void TypeAssumptions(TypingSession& s, const std::vector<const char*>& statements) {
  for (size_t i = 0; i < statements.size(); ++i)
    s.Type(i == 0 ? "" : "{Return}").Type(statements[i]);
  s.Commit();
}

inline void Choose(TypingSession& s, MenuCommandId id) {
  s.Commit();
  DispatchMenuCommand(id);
}

}  // namespace lemmabox::testing
