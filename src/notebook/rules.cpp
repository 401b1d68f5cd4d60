#include "notebook/rules.h"

#include <string>

#include "mathobj/dup_dispose.h"
#include "mathobj/equivalence.h"
#include "notebook/derivation.h"
#include "notebook/knowledge.h"
#include "notebook/notebook_hooks.h"
#include "notebook/propositions.h"
#include "platform/platform.h"
#include "shell/charset.h"
#include "shell/failure.h"
#include "shell/interrupt.h"

namespace lemmabox {

std::vector<TransformMatch> LookupTrans(Handle expr, int manipulation, bool firstOnly) {
  int number = manipulation < 0 ? -manipulation : manipulation;
  if (number < kRuleSimplify || number > kRuleTransform || expr == nullptr)
    InternalError("LookupTrans");
  bool backwards = manipulation < 0;
  std::vector<TransformMatch> matches;
  for (Handle theory = KnowledgeScopeFor(expr); theory != nullptr; theory = ParentTheory(theory)) {
    for (int i = FirstProp(theory); i < ObjCount(theory); ++i) {
      Handle rule = ObjSlot(theory, i);
      if (rule == nullptr || ObjType(rule) != 'H' || RulePopup(rule).item != number) continue;
      Handle from = ObjSlot(rule, backwards ? 1 : 0);
      Handle to = ObjSlot(rule, backwards ? 0 : 1);
      if (from == nullptr || to == nullptr) continue;
      CheckInterrupt();
      Handle result = ApplyRule(expr, from, to);
      if (result == nullptr) continue;
      NoteConsulted(rule);
      matches.push_back({rule, result});
      if (firstOnly) return matches;
    }
  }
  return matches;
}

Handle ApplyFirstRule(Handle expr, int manipulation) {
  std::vector<TransformMatch> matches = LookupTrans(expr, manipulation, true);
  return matches.empty() ? nullptr : matches.front().result;
}

Handle ChooseTransformation(std::vector<TransformMatch>& matches) {
  if (matches.empty()) return nullptr;
  int chosen = 0;
  if (matches.size() > 1) {
    std::vector<std::string> items;
    for (const TransformMatch& match : matches)
      items.push_back(ProgramTextToUtf8(gNotebookDisplay.describe(match.result)));
    chosen = CurrentPlatform().ChooseFromList("Transform", items, kTransformChoicesPerPage);
  }
  Handle result = nullptr;
  for (int i = 0; i < static_cast<int>(matches.size()); ++i) {
    if (i == chosen)
      result = matches[i].result;
    else
      DisposeObj(matches[i].result);
    matches[i].result = nullptr;
  }
  return result;
}

}  // namespace lemmabox
