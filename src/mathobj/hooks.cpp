#include "mathobj/hooks.h"

#include "mathobj/dup_dispose.h"
#include "mathobj/handles.h"
#include "mathobj/object.h"
#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {
namespace {

Handle NoScope() {
  return nullptr;
}

Handle NoPredefinedName(int) {
  // Only a notebook can declare the name or resolve its spelling.
  Raise(kMsgNeedPredefinedName);
}

int NoPredefinedKey(Handle) {
  return 0;
}

void Nothing(Handle) {}
void NothingToCopy(Handle, Handle) {}

void CopyCommentSlots(Handle source, Handle copy) {
  DupObjectSlots(source, copy);
}

Handle& PictureOf(Handle picture) {
  return *reinterpret_cast<Handle*>(ObjPayload(picture));
}

void CopyPictureBlock(Handle source, Handle copy) {
  PictureOf(copy) = CopyObjHandle(PictureOf(source));
}

void FreePictureBlock(Handle picture) {
  ReleaseObjHandle(PictureOf(picture));
  PictureOf(picture) = nullptr;
}

constexpr ObjStoreHooks kDefaults = {
    .currentScope = &NoScope,
    .predefinedName = &NoPredefinedName,
    .predefinedKeyOf = &NoPredefinedKey,
    .copyDerivation = &NothingToCopy,
    .freeDerivation = &Nothing,
    .copyComment = &CopyCommentSlots,
    .freeComment = &Nothing,
    .copyPicture = &CopyPictureBlock,
    .freePicture = &FreePictureBlock,
    .copyGridData = &NothingToCopy,
    .freeGridData = &Nothing,
    .dropCachedImage = &Nothing,
    .theoryGoesAway = &Nothing,
    .graphGoesAway = &Nothing,
};

}  // namespace

ObjStoreHooks gObjStoreHooks = kDefaults;

void ResetObjStoreHooks() {
  gObjStoreHooks = kDefaults;
}

}  // namespace lemmabox
