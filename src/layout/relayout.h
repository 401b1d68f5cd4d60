// Keeping cached layouts up to date after edits and font changes.
#pragma once

#include "layout/context.h"

namespace lemmabox {

// obj's box in absolute coordinates: its box offset by the top-left corners
// of its ancestors (the root's box places the whole tree).
Rect AbsoluteBox(Handle obj);
// The same, widened by obj's automatic brackets.
Rect AbsoluteBoxWithParens(const LayoutMetrics& m, Handle obj);

// Clears obj's `drawn` bit and asks the windows that show it to redraw area.
void MarkAreaForRedraw(Handle obj, const Rect& area);

// Quiet invalidation: clears `sizeValid` on obj and every ancestor, and drops
// the cached image of the notebook entry that holds obj. Nothing is laid out.
void InvalidateSizes(Handle obj);

// After an edit of obj inside a displayed notebook: marks obj's area for
// redrawing, invalidates the sizes up the parent chain, lays the notebook out
// again and marks for redrawing only what moved or changed size. A chain of
// more than 30 objects refreshes the whole display instead. Without a
// display only the sizes are invalidated.
void IncrementalRelayout(Handle obj);

// After a font change: clears `sizeValid` and `drawn` on every object of the
// tree, forgets the measured names of its declarations and the layout of its
// comments, and empties the image cache.
void InvalidateAll(Handle root);
// The same for every open notebook (after the notebook font changed).
void InvalidateOpenNotebooks();

// Clears `sizeValid` on every object of a tree (before laying a copy out for
// another port).
void InvalidateTree(Handle obj);

}  // namespace lemmabox
