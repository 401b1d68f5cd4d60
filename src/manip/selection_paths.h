// Where a manipulation acted: the selected part of a statement taken out as
// an object of its own, the result put back in its place, and the selection
// path a derivation step keeps so that the step can be replayed on the
// statement as it stands later.
//
// A selection path is a list of 32-bit words written from the statement down
// to the selected object:
//   the code word of the statement (type code << 8 | low byte of its count),
//   for each level below: the index of the child taken, then its code word,
//   -1,
//   the high half of the normalised position word, then its low half
//   (each as a signed 16-bit number).
// Words that a manipulation needs besides (the rule a Transform used, the
// cases of an Isolate) follow the path in the same step.
//
// Finding a path again tolerates changes of the statement and scores them:
// a wrapper that appeared or went away, a term or factor more or less, a
// child count that changed. A score of 31 or more means the selection is no
// longer there (13281).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "mathobj/object.h"
#include "mathobj/selection.h"

namespace lemmabox {

// The path words end the object levels with this word.
constexpr int32_t kPathEnd = -1;
// A located path scoring this much or more is not accepted.
constexpr int kPathScoreLimit = 31;

// The code word of an object on a path.
int32_t PathCodeWord(Handle obj);

// The position word as a path keeps it: the special words -8..-1 stay; a slot
// range covering every operand and a block covering the whole matrix become
// -1; the space-split mark of a character range is dropped.
int32_t NormalisePosition(Handle obj, int32_t position);

// Appends the path from statement down to obj (statement itself or an object
// inside it) with the normalised position to out. Internal error
// "RememberPath" when obj does not lie in statement.
void AppendSelectionPath(std::vector<int32_t>& out, Handle statement, Handle obj, int32_t position);

struct LocatedPath {
  Selection selection;  // the object found and the adapted position word
  int score = 0;
  int wordsUsed = 0;  // path words read, the position halves included
};
// Finds the selection a path describes in statement as it is now. Raises
// 13281 (at the object reached) for a path that cannot be followed or
// scores 31 or more.
LocatedPath LocateSelectionPath(Handle statement, std::span<const int32_t> path);

// The selected part as a new object: a copy of the whole object, the
// operands of a slot range as a new sum, product or list, the cells of a
// matrix block as a matrix, the characters of a name or number as a name or
// number of the same kind (a name is resolved again where the selection
// lies). Null for a caret or an empty range. With check, a product range
// that contains a D-Linear operator but stops before the end raises 13172.
Handle ExtractPart(const Selection& selection, bool check);

struct SplicedPart {
  Handle obj = nullptr;          // what stands where the selection was
  int32_t position = kPosWhole;  // the part of it that is the result
};
// Puts result (which it takes) in place of the selected part of an attached
// object: the whole object is replaced; a caret before or after it multiplies
// the result onto it; a slot range is replaced by the result (the operands of
// a result of the same operator take the range's place one by one); a
// matrix block is replaced cell by cell; anything else is replaced whole.
SplicedPart Splice(const Selection& selection, Handle result);

// The object at the same child indices below otherRoot as obj lies below
// root; null when obj is not inside root or otherRoot has no such object.
Handle CorrespondingPart(Handle root, Handle obj, Handle otherRoot);

}  // namespace lemmabox
