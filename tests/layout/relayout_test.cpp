// Keeping layouts current: invalidation, incremental re-layout with its
// redraw areas, invalidating everything after a font change, and the cache
// of rendered entry images.
#include "layout/relayout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "layout/hooks.h"
#include "layout/image_cache.h"
#include "layout/size_obj.h"
#include "layout_fixture.h"
#include "mathobj/constructors.h"
#include "mathobj/optables.h"
#include "mathobj/slots.h"
#include "mathobj/tree_text.h"
#include "notebook/document.h"
#include "notebook/outline.h"
#include "notebook/propositions.h"

namespace lemmabox::testing {
namespace {

// What the display hooks were asked to do.
struct DisplayLog {
  const LayoutEnv* env = nullptr;
  Handle root = nullptr;
  std::vector<Rect> areas;
  int refreshes = 0;
};
DisplayLog* gLog = nullptr;

// A stand-in for the rows: an assumption holds its statement 10 units in.
void SizeTestRow(Handle entry, const SizeContext& ctx, LayoutBox& out) {
  Handle statement = ObjSlot(entry, 0);
  const LayoutBox box = SizeAtLevel(statement, *ctx.env, kLevelMain);
  PlaceChild(statement, 10, 2);
  out = LayoutBox{box.width + 20, box.height + 4, box.baseline + 2};
}

class RelayoutTest : public LayoutTest {
 protected:
  void SetUp() override {
    LayoutTest::SetUp();
    savedRowSize_ = gSizeTable.Entry(kAssumption);
    gSizeTable.Set(kAssumption, SizeTestRow);
    log.env = env.get();
    gLog = &log;
    gLayoutHooks.displayOf = [](Handle, DisplayTarget& out) {
      if (!gLog->root) return false;
      out = DisplayTarget{gLog->env, gLog->root};
      return true;
    };
    gLayoutHooks.invalidateArea = [](Handle, const Rect& area) { gLog->areas.push_back(area); };
    gLayoutHooks.refreshNotebook = [](Handle) { ++gLog->refreshes; };
  }
  void TearDown() override {
    ResetLayoutHooks();
    gLog = nullptr;
    gSizeTable.Set(kAssumption, savedRowSize_);
    LayoutTest::TearDown();
  }
  // A shown row holding the expression; the row is the display's root.
  Handle ShowRow(const char* tree) {
    Handle row = Own(NewAssumption(Build(tree)));
    Hdr(row).box = Rect{0, 100, 0, 100};
    SizeAtLevel(row, *env, kLevelMain);
    PlaceChild(row, 0, 100);
    log.root = row;
    return row;
  }
  static bool Covers(const Rect& outer, const Rect& inner) {
    return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
           outer.bottom >= inner.bottom;
  }
  bool AnyCovers(const Rect& r) const {
    for (const Rect& area : log.areas)
      if (Covers(area, r)) return true;
    return false;
  }

  DisplayLog log;

 private:
  SizeFn savedRowSize_ = nullptr;
};

TEST_F(RelayoutTest, QuietInvalidationClearsThePathAndDropsTheImage) {
  Handle row = ShowRow("+(a,/(b,c))");
  Handle b = At(row, {0, 1, 0});
  Handle a = At(row, {0, 0});
  struct Counting : CachedImage {
    explicit Counting(int* gone) : gone(gone) {}
    ~Counting() override { ++*gone; }
    bool IsStale() const override { return false; }
    int* gone;
  };
  int gone = 0;
  InsertCachedImage(row, std::make_unique<Counting>(&gone));
  InvalidateSizes(b);
  for (Handle h : {b, ObjParent(b), ObjSlot(row, 0), row}) EXPECT_FALSE(HasFlag(h, kFlagSizeValid));
  EXPECT_TRUE(HasFlag(a, kFlagSizeValid)) << "off the path";
  EXPECT_EQ(1, gone);
  EXPECT_EQ(nullptr, LookupCachedImage(row));
  EXPECT_TRUE(log.areas.empty()) << "nothing is redrawn";
}

TEST_F(RelayoutTest, ChangedLeafRedrawsWhatMoved) {
  Handle row = ShowRow("+(a,/(b,c),d)");
  Handle sum = ObjSlot(row, 0);
  Handle b = At(sum, {1, 0});
  Handle d = ObjSlot(sum, 2);
  const Rect oldB = AbsoluteBox(b);
  const Rect oldD = AbsoluteBox(d);
  std::strcpy(ObjText(b), "bbbbbb");
  IncrementalRelayout(b);
  ASSERT_GE(log.areas.size(), 2u);
  EXPECT_EQ(oldB, log.areas[0]) << "first the changed object where it was";
  const Rect newB = AbsoluteBox(b);
  const Rect newD = AbsoluteBox(d);
  EXPECT_GT(newB.Width(), oldB.Width());
  EXPECT_GT(newD.left, oldD.left) << "the later term moved";
  EXPECT_TRUE(AnyCovers(newB));
  EXPECT_TRUE(AnyCovers(newD));
  EXPECT_TRUE(AnyCovers(oldD));
  EXPECT_EQ(100, Hdr(row).box.top) << "the root keeps its place";
  EXPECT_TRUE(HasFlag(row, kFlagSizeValid));
  EXPECT_EQ(0, log.refreshes);
}

TEST_F(RelayoutTest, UnchangedSizeRedrawsOnlyTheObject) {
  Handle row = ShowRow("+(a,/(b,c),d)");
  Handle b = At(row, {0, 1, 0});
  const Rect oldB = AbsoluteBox(b);
  IncrementalRelayout(b);
  ASSERT_EQ(1u, log.areas.size());
  EXPECT_EQ(oldB, log.areas[0]);
  EXPECT_EQ(oldB, AbsoluteBox(b));
  EXPECT_FALSE(HasFlag(b, kFlagDrawn));
}

TEST_F(RelayoutTest, LongChainsRefreshTheWholeDisplay) {
  Handle tree = NewUndeclaredName("x");
  Handle leaf = tree;
  for (int i = 0; i < 35; ++i) tree = NewAbs(tree);
  Handle row = Own(NewAssumption(tree));
  SizeAtLevel(row, *env, kLevelMain);
  log.root = row;
  IncrementalRelayout(leaf);
  EXPECT_EQ(1, log.refreshes);
  EXPECT_EQ(1u, log.areas.size());
  for (Handle h = leaf; h; h = ObjParent(h)) {
    ASSERT_FALSE(HasFlag(h, kFlagSizeValid)) << "every ancestor must be laid out again";
  }
}

TEST_F(RelayoutTest, WithoutADisplayOnlySizesAreInvalidated) {
  Handle row = ShowRow("+(a,b)");
  log.root = nullptr;
  Handle a = At(row, {0, 0});
  IncrementalRelayout(a);
  EXPECT_FALSE(HasFlag(row, kFlagSizeValid));
  EXPECT_EQ(1u, log.areas.size()) << "only the mark of the changed object";
  EXPECT_EQ(0, log.refreshes);
}

TEST_F(RelayoutTest, TableDataIsLeftToTheTable) {
  Handle table = Own(NewObj2(kTable, Build(";(f,x)"), Build("+(a,b)")));
  Handle data = ObjSlot(table, 1);
  SetFlag(data, kFlagSizeValid);
  IncrementalRelayout(ObjSlot(table, 1));
  EXPECT_EQ(1u, log.areas.size());
  EXPECT_TRUE(HasFlag(data, kFlagSizeValid));
}

TEST_F(RelayoutTest, InvalidateAllForgetsEverySizeAndName) {
  Handle notebook = NewNotebook();
  Handle declaration = NewNameDecl(NewUndeclaredName("q"), kNameVariable);
  InsertDecl(declaration, notebook);
  Handle name = NewObj(kName, kTextPayload);
  DeclOfName(name) = declaration;
  Handle row = NewAssumption(NewSum(name, NewUndeclaredName("r")));
  InsertProp(row, notebook, ObjCount(notebook), 0);
  SizeAtLevel(StatementOf(row), *env, kLevelMain);
  EXPECT_TRUE(DeclRecord(declaration).measured);
  WalkTree(
      notebook, [](Handle h) { SetFlag(h, kFlagSizeValid | kFlagDrawn); }, [](Handle) {});
  struct Always : CachedImage {
    bool IsStale() const override { return false; }
  };
  InsertCachedImage(row, std::make_unique<Always>());

  InvalidateAll(notebook);
  int stillValid = 0;
  WalkTree(
      notebook, [&](Handle h) { stillValid += HasFlag(h, kFlagSizeValid | kFlagDrawn); },
      [](Handle) {});
  EXPECT_EQ(0, stillValid);
  EXPECT_FALSE(DeclRecord(declaration).measured);
  EXPECT_EQ(nullptr, LookupCachedImage(row));
  CloseNotebook(notebook);
}

// --- the image cache ---

struct Tracked : CachedImage {
  Tracked(std::vector<int>* destroyed, int id, bool* stale)
      : destroyed(destroyed), id(id), stale(stale) {}
  ~Tracked() override { destroyed->push_back(id); }
  bool IsStale() const override { return stale && *stale; }
  std::vector<int>* destroyed;
  int id;
  bool* stale;
};

Handle FakeHandle(uintptr_t value) {
  return reinterpret_cast<Handle>(value);
}

// Distinct handle values whose home slot is `home`.
std::vector<Handle> HandlesWithHome(int home, size_t count) {
  std::vector<Handle> found;
  for (uintptr_t value = 0x10000; found.size() < count; value += 8)
    if (ImageCacheHome(FakeHandle(value)) == home) found.push_back(FakeHandle(value));
  return found;
}

class ImageCacheTest : public LayoutTest {
 protected:
  void TearDown() override {
    FlushImageCache();
    LayoutTest::TearDown();
  }
  std::vector<int> destroyed;
};

TEST_F(ImageCacheTest, HomeSlotMixesTheHandlesBits) {
  struct Case {
    uintptr_t handle;
    int home;
  };
  // g = h / 4 + h / 65536; home = (g + g / 128) mod 128.
  const Case cases[] = {{0, 0}, {4, 1}, {508, 127}, {512, 1}, {520, 3}, {65536, 1}, {0x20000, 2}};
  for (const Case& c : cases) EXPECT_EQ(c.home, ImageCacheHome(FakeHandle(c.handle))) << c.handle;
}

TEST_F(ImageCacheTest, FullNeighbourhoodEvictsTheLeastRecentlyUsed) {
  const std::vector<Handle> h = HandlesWithHome(40, 7);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(40 + i, InsertCachedImage(h[i], std::make_unique<Tracked>(&destroyed, i, nullptr)));
  }
  // Using the first keeps it: the second is now the oldest.
  ASSERT_NE(nullptr, LookupCachedImage(h[0]));
  EXPECT_EQ(41, InsertCachedImage(h[5], std::make_unique<Tracked>(&destroyed, 5, nullptr)));
  EXPECT_EQ(std::vector<int>{1}, destroyed);
  EXPECT_EQ(nullptr, LookupCachedImage(h[1]));
  EXPECT_NE(nullptr, LookupCachedImage(h[0]));
  EXPECT_EQ(h[5], ImageCacheKey(41));
  // Inserting an entry again replaces its own image, wherever it is.
  EXPECT_EQ(43, InsertCachedImage(h[3], std::make_unique<Tracked>(&destroyed, 30, nullptr)));
  EXPECT_EQ((std::vector<int>{1, 3}), destroyed);
}

TEST_F(ImageCacheTest, StaleImagesAreDroppedAndTheirSlotsReused) {
  const std::vector<Handle> h = HandlesWithHome(126, 6);
  bool stale = false;
  for (int i = 0; i < 5; ++i)
    InsertCachedImage(h[i], std::make_unique<Tracked>(&destroyed, i, i == 2 ? &stale : nullptr));
  // The neighbourhood wraps around the end of the table.
  EXPECT_EQ(h[2], ImageCacheKey(0));
  EXPECT_EQ(h[4], ImageCacheKey(2));
  stale = true;
  // A stale slot is taken before the least recently used.
  EXPECT_EQ(0, InsertCachedImage(h[5], std::make_unique<Tracked>(&destroyed, 5, nullptr)));
  EXPECT_EQ(std::vector<int>{2}, destroyed);
  // With no stale slot left, the least recently used (h0) makes room.
  InsertCachedImage(h[2], std::make_unique<Tracked>(&destroyed, 22, &stale));
  EXPECT_EQ((std::vector<int>{2, 0}), destroyed);
  // Found stale by a lookup, an image is destroyed and not returned.
  EXPECT_EQ(nullptr, LookupCachedImage(h[2]));
  EXPECT_EQ((std::vector<int>{2, 0, 22}), destroyed);
  // Removing one entry leaves the others; flushing destroys them all.
  RemoveCachedImage(h[1]);
  EXPECT_EQ(nullptr, LookupCachedImage(h[1]));
  EXPECT_NE(nullptr, LookupCachedImage(h[3]));
  FlushImageCache();
  EXPECT_EQ(7u, destroyed.size());
  EXPECT_EQ(nullptr, LookupCachedImage(h[3]));
}

}  // namespace
}  // namespace lemmabox::testing
