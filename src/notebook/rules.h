// The user's transformation rules: "Upon Simplify transform ?a*0 into 0".
//
// A rule applies to the manipulation its pop-up names (1 Simplify, 2 Expand,
// 3 Transform). Rules are looked for in the theory that answers for the
// expression (the look-up scope) and the theories around it, innermost
// first, each theory's rules in proposition order.
#pragma once

#include <vector>

#include "mathobj/object.h"

namespace lemmabox {

struct TransformMatch {
  Handle rule = nullptr;
  Handle result = nullptr;  // owned by the caller
};

// Matches expr against the pattern of every rule for `manipulation` (against
// the replacement, producing the pattern, when the number is negated: the
// rule used backwards). Each match gives a copy of the other side with the
// wildcards bound, and the rule becomes a contingency of the conclusion being
// derived. With firstOnly the search stops at the first match. Internal
// error "LookupTrans" for a manipulation that has no rules.
std::vector<TransformMatch> LookupTrans(Handle expr, int manipulation, bool firstOnly = false);
// The result of the first rule that matches, or null.
Handle ApplyFirstRule(Handle expr, int manipulation);
// The Transform manipulation's choice: none gives null; one is taken; among
// several the user chooses from a list shown four at a time (null when the
// user cancels). The results not chosen are disposed.
Handle ChooseTransformation(std::vector<TransformMatch>& matches);

// How many results the choice list shows at a time.
constexpr int kTransformChoicesPerPage = 4;

}  // namespace lemmabox
