// The pop-up menus of the declaration and rule sentences: their menu numbers
// (the resource numbers of the pop-up menus), their items and what each item
// means to the model. Items are numbered from 1, as in every menu.
#pragma once

#include <cstdint>

namespace lemmabox {

// A pop-up control in a sentence: which menu, which item is chosen.
struct Popup {
  uint16_t menu;
  uint16_t item;
  friend bool operator==(const Popup&, const Popup&) = default;
};

constexpr uint16_t kPopupBehavior = 25;
constexpr uint16_t kPopupClass = 26;
constexpr uint16_t kPopupIndependence = 27;
constexpr uint16_t kPopupRule = 28;

// "Class": items 1..5 are the name classes (mathobj/predefined.h NameClass).
int ClassItemCount();
// "Behavior": item 1 "defined by user", then one item per predefined name,
// in the order of the predefined-name table.
constexpr int kBehaviourDefinedByUser = 1;
int BehaviourItemCount();
// The predefined key of a behaviour item; 0 for "defined by user" and for
// items this version does not have.
int BehaviourKey(int item);
// The item that behaves as the predefined name with this key; 0 for none.
int BehaviourItemForKey(int key);
bool IsBehaviourItem(int item);

// "Independence".
constexpr int kIndependentOfEachOther = 1;
constexpr int kIndependentOfAllVariables = 2;
// "Rule": the item number is the manipulation number the rule applies to.
constexpr int kRuleSimplify = 1;
constexpr int kRuleExpand = 2;
constexpr int kRuleTransform = 3;

// The text of an item (program character set), or nullptr for an item the
// menu does not have.
const char* PopupItemText(uint16_t menu, int item);
int PopupItemCount(uint16_t menu);

}  // namespace lemmabox
