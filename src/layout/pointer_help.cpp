#include "layout/pointer_help.h"

#include <algorithm>

#include "layout/highlight.h"
#include "layout/hooks.h"
#include "mathobj/optables.h"
#include "mathobj/predefined.h"
#include "mathobj/slots.h"
#include "notebook/propositions.h"
#include "shell/failure.h"
#include "shell/strings.h"

namespace lemmabox {
namespace {

// Shrinks `area` so that it keeps containing the point but no longer meets
// `box`, which does not contain the point: on each axis where the point lies
// outside the box, the area's edge comes back to the box's nearer edge.
void CutAway(Rect& area, const Rect& box, Point point) {
  if (point.x < box.left) area.right = std::min(area.right, box.left);
  if (point.x >= box.right) area.left = std::max(area.left, box.right);
  if (point.y < box.top) area.bottom = std::min(area.bottom, box.top);
  if (point.y >= box.bottom) area.top = std::max(area.top, box.bottom);
}

Rect Intersect(const Rect& a, const Rect& b) {
  return Rect{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
              std::min(a.bottom, b.bottom)};
}

bool Shown(Handle obj) {
  return obj && !HasFlag(obj, kFlagHidden);
}

int32_t ExpressionHelpId(Handle obj) {
  switch (ObjType(obj)) {
    case kEquals:
      return kStrHelpEquation;
    case kLess:
    case kGreater:
    case kLessEqual:
    case kNotEqual:
    case kGreaterEqual:
      return kStrHelpInequality;
    case kSum:
      return kStrHelpSum;
    case kIntegral:
      return kStrHelpIntegral;
    case kSummation:
      return kStrHelpSummation;
    case kPiProduct:
      return kStrHelpIteratedProduct;
    case kNegation:
      return kStrHelpNegation;
    case kQuestion:
      return kStrHelpQuestionMark;
    case kConditional:
      return kStrHelpConditional;
    case kWildcard:
      return kStrHelpWildcard;
    case kEvalAt:
      return kStrHelpEvaluateAt;
    case kForAll:
      return kStrHelpForAll;
    case kLimit:
      return kStrHelpLimit;
    case kMatrix: {
      Handle parent = ObjParent(obj);
      return parent && ObjType(parent) == kConditional ? kStrHelpConditional : kStrHelpMatrix;
    }
    case kInteger:
    case kNumberText:
    case kReal:
      return kStrHelpNumber;
    case kUndeclaredName:
    case kName:
      return NameHelpId(obj);
    case kApply: {
      Handle parent = ObjParent(obj);
      if (parent && ObjType(parent) == kTable && ObjSlotIndex(obj) == 0) return kStrHelpTableName;
      Handle function = ObjSlot(obj, 0);
      return function && (ObjType(function) == kName || ObjType(function) == kUndeclaredName)
                 ? NameHelpId(function)
                 : 0;
    }
    default:
      return kStrHelpOperator;
  }
}

}  // namespace

int32_t NameHelpId(Handle name) {
  if (ObjType(name) == kUndeclaredName) {
    Handle parent = ObjParent(name);
    return parent && ObjType(parent) == kDeclaration && ObjSlotIndex(name) == 0
               ? kStrHelpNameBeingDeclared
               : kStrHelpUndeclaredName;
  }
  Handle declaration = DeclOfName(name);
  if (!declaration) return kStrHelpUndeclaredName;
  if (const int key = DeclKey(declaration)) {
    const PredefinedName* record = PredefinedByKey(key);
    return record && record->Class() == kNameFunction ? kStrHelpPredefinedFunction
                                                      : kStrHelpPredefinedName;
  }
  switch (DeclClass(declaration)) {
    case kNameConstant:
      return kStrHelpConstant;
    case kNameVariable:
      return kStrHelpVariable;
    case kNameMLinearOperator:
    case kNameDLinearOperator:
      return kStrHelpOperatorName;
    case kNameFunction:
      return gLayoutHooks.tabulatedFunction(declaration) ? kStrHelpTableFunction : kStrHelpFunction;
    default:
      return 0;
  }
}

void CursorExpression(Handle obj, const PlaceContext&, Point, CursorInfo& out) {
  out.helpId = ExpressionHelpId(obj);
  const uint8_t shape = ShapeBits(ObjType(obj));
  out.cursorKind =
      (shape & kShapeLeaf) != 0 && ObjType(obj) != kQuestion ? kCursorText : kCursorArrow;
}

CursorInfo PointerHelp(const LayoutEnv* env, Handle root, Point origin, Point point,
                       const Rect& window, const PickupState& pickup) {
  if (!env) InternalError("nb:cursor");
  CursorInfo info;
  info.sensitive = window;
  if (pickup.armed) {
    for (const Selection& selection : pickup.selections) {
      HighlightShape shape = SelectionHighlight(*env, selection);
      if (!shape.shown || !shape.rect.Contains(point)) continue;
      info.obj = selection.obj;
      info.cursorKind = kCursorDragCopy;
      info.helpId = IsPropositionType(ObjType(selection.obj)) ? kStrHelpSelectedProposition
                                                              : kStrHelpSelectedExpression;
      info.sensitive = Intersect(window, shape.rect);
      return info;
    }
  }
  PlaceContext top;
  top.env = env;
  top.box = Rect{origin.x, origin.y, origin.x, origin.y};
  if (!Shown(root)) return info;
  PlaceContext ctx = top.Child(root);
  if (!ctx.box.Contains(point)) {
    CutAway(info.sensitive, ctx.box, point);
    return info;
  }
  Handle hit = root;
  for (bool deeper = true; deeper;) {
    deeper = false;
    for (int i = FirstObjSlot(hit); i < ObjCount(hit); ++i) {
      Handle child = ObjSlot(hit, i);
      if (!Shown(child)) continue;
      PlaceContext childCtx = ctx.Child(child);
      if (childCtx.box.Contains(point)) {
        hit = child;
        ctx = childCtx;
        deeper = true;
        break;
      }
      CutAway(info.sensitive, childCtx.box, point);
    }
  }
  info.obj = hit;
  info.sensitive = Intersect(info.sensitive, ctx.box);
  gCursorTable.Entry(ObjType(hit))(hit, ctx, point, info);
  return info;
}

}  // namespace lemmabox
