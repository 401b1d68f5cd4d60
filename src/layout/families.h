// The layout of each family of types, kept together: its Size, Draw,
// Highlight, Click and Cursor entries side by side in one source. Each
// family fills its entries of the operation tables here.
#pragma once

#include "layout/context.h"

namespace lemmabox {

void RegisterOperandListLayout();  // * + - : relations c d  (operand_list.cpp)
void RegisterLeafLayout();         // ' v n i r ? wildcard   (leaves.cpp)
void RegisterScriptLayout();       // / ^ _ % p              (scripts.cpp)
void RegisterEnclosureLayout();    // ( ; { | ! a f #        (enclosures.cpp)
void RegisterBigOperatorLayout();  // j ) s x l              (big_operators.cpp)
void RegisterMatrixLayout();       // m                      (matrix.cpp)
void RegisterEntryLayout();        // notebook entries: highlight, click, cursor (entries.cpp)
void RegisterRowLayout();          // M T B: theories and their rows       (rows.cpp)
void RegisterStatementLayout();    // A C: statement rows                  (statement_rows.cpp)
void RegisterSentenceLayout();     // V I H and the plots L X R O D S      (sentence_entries.cpp)
void RegisterCommentLayout();      // Q                                    (comment_layout.cpp)
void RegisterPlaceholderLayout();  // N G Z until their own layouts        (placeholders.cpp)

// The operand-list layout, shared by the one-row matrix.
void SizeOperandList(Handle obj, const SizeContext& ctx, LayoutBox& out);
void DrawOperandList(Handle obj, const DrawContext& ctx);
// The x offset of slot boundary k (0..count) from the object's left edge.
int32_t OperandBoundary(const PlaceContext& ctx, Handle obj, int32_t k);

}  // namespace lemmabox
