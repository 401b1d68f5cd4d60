#include "mathobj/optables.h"

#include "shell/failure.h"

namespace lemmabox {
namespace {

// The default entry of each table: the type has no such operation.
int UnUnwrap(UnwrapArgs&) { InternalError("UnUnWrap"); }
void UnExpr(Handle, ExprExportSink&) { InternalError("UnExpr"); }
void UnText(Handle, TextWriter&) { InternalError("UnText"); }
int UnOrder(Handle, Handle) { InternalError("UnOrder"); }
Handle UnSimp(Handle) { InternalError("UnSimp"); }
Handle UnDup(Handle) { InternalError("UnDup"); }
void UnDispose(Handle) { InternalError("UnDispose"); }
void UnEncode(Handle) { InternalError("UnEncode"); }
void UnKey(KeyContext&) { InternalError("UnKey"); }
int UnIsConLin(Handle, Handle) { InternalError("UnIsConLin"); }
int UnIsConLin2(Handle, Handle) { InternalError("UnIsConLin"); }
Handle UnIntegral(Handle, Handle) { InternalError("UnIntegral"); }
void UnHilite(Handle, const PlaceContext&, int32_t, Rect&) { InternalError("UnHilite"); }
int UnCommute(Handle) { InternalError("UnCommute"); }
Handle UnExpand(Handle) { InternalError("UnExpand"); }
bool UnEquiv(Handle, Handle) { InternalError("UnEquiv"); }
Handle UnDerivative(Handle, Handle) { InternalError("UnDerivative"); }
void UnSize(Handle, const SizeContext&, LayoutBox&) { InternalError("UnSize"); }
void UnDraw(Handle, const DrawContext&) { InternalError("UnSize"); }
void UnCursor(Handle, const PlaceContext&, Point, CursorInfo&) { InternalError("UnCursor"); }
Handle UnCollect(Handle) { InternalError("UnCollect"); }
bool UnClick(Handle, const PlaceContext&, const ClickGesture&, Selection&) {
  InternalError("UnClick");
}
void UndefCalc(Handle) { InternalError("UndefCalc"); }

template <class Fn>
void Fill(OpTable<Fn>& table, Fn fn) {
  for (auto& entry : table.entries) entry = fn;
}

}  // namespace

#define LEMMABOX_DEFINE_TABLE(Fn, table, def) OpTable<Fn> table = [] { OpTable<Fn> t{}; Fill(t, &def); return t; }();
LEMMABOX_DEFINE_TABLE(UnwrapFn, gUnwrapTable, UnUnwrap)
LEMMABOX_DEFINE_TABLE(ExprExportFn, gExprExportTable, UnExpr)
LEMMABOX_DEFINE_TABLE(TextExportFn, gTextExportTable, UnText)
LEMMABOX_DEFINE_TABLE(OrderFn, gOrderTable, UnOrder)
LEMMABOX_DEFINE_TABLE(SimplifyFn, gSimplifyTable, UnSimp)
LEMMABOX_DEFINE_TABLE(DupFn, gDupTable, UnDup)
LEMMABOX_DEFINE_TABLE(DisposeFn, gDisposeTable, UnDispose)
LEMMABOX_DEFINE_TABLE(EncodeFn, gEncodeTable, UnEncode)
LEMMABOX_DEFINE_TABLE(KeyFn, gKeyTable, UnKey)
LEMMABOX_DEFINE_TABLE(IsConLinFn, gIsConLinTable, UnIsConLin)
LEMMABOX_DEFINE_TABLE(IsConLinFn, gIsConLin2Table, UnIsConLin2)
LEMMABOX_DEFINE_TABLE(IntegralFn, gIntegralTable, UnIntegral)
LEMMABOX_DEFINE_TABLE(HiliteFn, gHiliteTable, UnHilite)
LEMMABOX_DEFINE_TABLE(CommuteFn, gCommuteTable, UnCommute)
LEMMABOX_DEFINE_TABLE(ExpandFn, gExpandTable, UnExpand)
LEMMABOX_DEFINE_TABLE(EquivFn, gEquivTable, UnEquiv)
LEMMABOX_DEFINE_TABLE(DerivativeFn, gDerivativeTable, UnDerivative)
LEMMABOX_DEFINE_TABLE(SizeFn, gSizeTable, UnSize)
LEMMABOX_DEFINE_TABLE(DrawFn, gDrawTable, UnDraw)
LEMMABOX_DEFINE_TABLE(CursorFn, gCursorTable, UnCursor)
LEMMABOX_DEFINE_TABLE(CollectFn, gCollectTable, UnCollect)
LEMMABOX_DEFINE_TABLE(ClickFn, gClickTable, UnClick)
LEMMABOX_DEFINE_TABLE(CalcFn, gCalcTable, UndefCalc)
#undef LEMMABOX_DEFINE_TABLE

void ResetOpTables() {
  auto reset = [](auto& table) { table.Reset(); };
  reset(gUnwrapTable);
  reset(gExprExportTable);
  reset(gTextExportTable);
  reset(gOrderTable);
  reset(gSimplifyTable);
  reset(gDupTable);
  reset(gDisposeTable);
  reset(gEncodeTable);
  reset(gKeyTable);
  reset(gIsConLinTable);
  reset(gIsConLin2Table);
  reset(gIntegralTable);
  reset(gHiliteTable);
  reset(gCommuteTable);
  reset(gExpandTable);
  reset(gEquivTable);
  reset(gDerivativeTable);
  reset(gSizeTable);
  reset(gDrawTable);
  reset(gCursorTable);
  reset(gCollectTable);
  reset(gClickTable);
  reset(gCalcTable);
}

}  // namespace lemmabox
