// Generic operations as tables of 95 functions indexed by type code - 0x20.
//
// Each folder fills the entries of its operations in its registration routine,
// called in the start-up order (core/registration.h). An entry left unfilled
// raises the internal error "Un" + the operation's name, so a type that lacks
// an operation is reported, never silently ignored.
//
// The dispatchers that do work around the call (DupObj, DisposeObj, SimpOne,
// EncodeObj, SizeObj, DrawObj, ...) live with the folder that owns the
// operation; the tables themselves are here so that every folder can reach
// every operation without depending on the folder that fills it.
#pragma once

#include <cstdint>

#include "mathobj/object.h"

namespace lemmabox {

// Argument records of operations whose entries need more than objects. Each is
// defined by the folder that owns the operation.
struct UnwrapArgs;      // manip: Isolate and Move Over
struct ExprExportSink;  // the expression export stream
struct TextWriter;      // notebook: the file writer
struct KeyContext;      // editor: the keystroke being applied
struct CursorInfo;      // layout: pointer help
struct LayoutBox;       // layout: width, height and baseline of a sized object
struct SizeContext;     // layout: metrics, size level and bracket depth of a sizing pass
struct DrawContext;     // layout: where and onto which port an object is drawn
struct PlaceContext;    // layout: where a laid-out object lies (highlight, click, pointer help)
struct ClickGesture;    // layout: the press and current points of a mouse gesture
struct Selection;       // mathobj/selection.h

using UnwrapFn = int (*)(UnwrapArgs& args);
using ExprExportFn = void (*)(Handle obj, ExprExportSink& sink);
using TextExportFn = void (*)(Handle obj, TextWriter& writer);
using OrderFn = int (*)(Handle a, Handle b);         // 1 a first, 2 b first, 3 equal
using SimplifyFn = Handle (*)(Handle obj);           // takes ownership, returns the result
using DupFn = Handle (*)(Handle obj);
using DisposeFn = void (*)(Handle obj);
using EncodeFn = void (*)(Handle obj);
using KeyFn = void (*)(KeyContext& context);
using IsConLinFn = int (*)(Handle obj, Handle variable);
using IntegralFn = Handle (*)(Handle variable, Handle obj);
using HiliteFn = void (*)(Handle obj, const PlaceContext& context, int32_t position, Rect& out);
using CommuteFn = int (*)(Handle obj);
using ExpandFn = Handle (*)(Handle obj);
using EquivFn = bool (*)(Handle a, Handle b);
using DerivativeFn = Handle (*)(Handle op, Handle obj);
using SizeFn = void (*)(Handle obj, const SizeContext& context, LayoutBox& out);
using DrawFn = void (*)(Handle obj, const DrawContext& context);
using CursorFn = void (*)(Handle obj, const PlaceContext& context, Point point, CursorInfo& out);
using CollectFn = Handle (*)(Handle obj);
// Returns whether the entry set the selection.
using ClickFn = bool (*)(Handle obj, const PlaceContext& context, const ClickGesture& gesture,
                         Selection& out);
using CalcFn = void (*)(Handle obj);

template <class Fn>
struct OpTable {
  Fn entries[kTypeTableSize];
  Fn Entry(TypeCode code) const { return entries[TypeIndex(code)]; }
  void Set(TypeCode code, Fn fn) { entries[TypeIndex(code)] = fn; }
  // Whether the type has its own entry (not the "Un..." default). Index 0,
  // the space character, never gets an entry, so it always holds the default.
  bool Has(TypeCode code) const { return Entry(code) != entries[0]; }
  void Reset() {
    for (auto& entry : entries) entry = entries[0];
  }
};

// The 23 operations, in their table order.
extern OpTable<UnwrapFn> gUnwrapTable;          // "UnUnWrap"
extern OpTable<ExprExportFn> gExprExportTable;  // "UnExpr"
extern OpTable<TextExportFn> gTextExportTable;  // "UnText"
extern OpTable<OrderFn> gOrderTable;            // "UnOrder"
extern OpTable<SimplifyFn> gSimplifyTable;      // "UnSimp"
extern OpTable<DupFn> gDupTable;                // "UnDup"
extern OpTable<DisposeFn> gDisposeTable;        // "UnDispose"
extern OpTable<EncodeFn> gEncodeTable;          // "UnEncode"
extern OpTable<KeyFn> gKeyTable;                // "UnKey"
extern OpTable<IsConLinFn> gIsConLinTable;      // "UnIsConLin": constancy
extern OpTable<IsConLinFn> gIsConLin2Table;     // "UnIsConLin": linearity
extern OpTable<IntegralFn> gIntegralTable;      // "UnIntegral"
extern OpTable<HiliteFn> gHiliteTable;          // "UnHilite"
extern OpTable<CommuteFn> gCommuteTable;        // "UnCommute"
extern OpTable<ExpandFn> gExpandTable;          // "UnExpand"
extern OpTable<EquivFn> gEquivTable;            // "UnEquiv"
extern OpTable<DerivativeFn> gDerivativeTable;  // "UnDerivative"
extern OpTable<SizeFn> gSizeTable;              // "UnSize"
extern OpTable<DrawFn> gDrawTable;              // "UnSize" (shares the Size default's name)
extern OpTable<CursorFn> gCursorTable;          // "UnCursor"
extern OpTable<CollectFn> gCollectTable;        // "UnCollect"
extern OpTable<ClickFn> gClickTable;            // "UnClick"
extern OpTable<CalcFn> gCalcTable;              // "UndefCalc"

// Sets every entry of every table back to its "Un..." default.
void ResetOpTables();

}  // namespace lemmabox
