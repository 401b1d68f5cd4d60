// Order-free matching of sums and products.
//
// When a sum or product pattern does not match position by position, its
// operands are paired with the subject's in any order. Every pattern operand
// takes a different subject operand; a pattern operand that is a bare
// wildcard may absorb several, which are gathered (in subject order) into a
// new sum or product and bound to it. At the top of a match, operands no
// pattern operand takes become the rest; below the top every subject operand
// must be taken.
//
// The search assigns the pattern operands in an order that keeps it small:
//   1. open operands (holding wildcards) first, and 2. bare wildcards whose
//      letter is already bound, or bound by an open operand, or repeated
//      (each of these takes exactly one operand): what they bind narrows
//      everything after them, so the one whose letters are bound the most
//      goes next, then the one with the fewest candidates;
//   3. closed operands (no wildcards): their candidates are known exactly,
//      so identical ones take their operands in increasing order, and a
//      state (position, operands used) that failed once is not tried again;
//   4. the remaining bare wildcards, the absorbers: each picks one operand,
//      then every operand left over joins the accepting absorber whose pick
//      lies nearest before it (else nearest after it).
// Before each step the remaining pattern operands must still fit: each has a
// free candidate, all of them together can take distinct operands (a
// bipartite matching over at most 16 x 16 candidates), and below the top
// every free subject operand has some pattern operand that could take it.
//
// A product of factors that do not commute (operators) keeps their order: an
// assignment that would move one of them across another is refused.
//
// The search is bounded by the budget of the top-level call
// (kOrderFreeBudget units of work: pairings tried, comparisons made and
// objects copied into bindings while searching); it polls for user
// interruption.
#include <algorithm>
#include <bit>
#include <string>
#include <unordered_set>
#include <vector>

#include "mathobj/constructors.h"
#include "mathobj/dup_dispose.h"
#include "mathobj/match_state.h"
#include "mathobj/slots.h"
#include "shell/failure.h"

namespace lemmabox::match {
namespace {

using Mask = uint32_t;  // one bit per subject operand

Mask Bit(int j) {
  return Mask{1} << j;
}
int Count(Mask m) {
  return std::popcount(m);
}

bool ContainsBindableWildcard(Handle h) {
  if (h == nullptr) return false;
  if (ObjType(h) == kWildcard) return IsBindableKind(WildcardKind(h));
  for (int i = FirstObjSlot(h); i < ObjCount(h); ++i)
    if (ContainsBindableWildcard(ObjSlot(h, i))) return true;
  return false;
}

void CollectLetters(Handle h, std::string& letters) {
  if (h == nullptr) return;
  if (ObjType(h) == kWildcard) {
    char kind = WildcardKind(h);
    if (IsBindableKind(kind) && letters.find(kind) == std::string::npos) letters += kind;
    return;
  }
  for (int i = FirstObjSlot(h); i < ObjCount(h); ++i) CollectLetters(ObjSlot(h, i), letters);
}

bool MentionsLetter(Handle h, char letter) {
  if (h == nullptr) return false;
  if (ObjType(h) == kWildcard) return WildcardKind(h) == letter;
  for (int i = FirstObjSlot(h); i < ObjCount(h); ++i)
    if (MentionsLetter(ObjSlot(h, i), letter)) return true;
  return false;
}

// Pattern mode with unbound wildcards checking their kind only.
class KindOnlyScope {
 public:
  KindOnlyScope() : saved_(gSwitches.kindOnly) { gSwitches.kindOnly = true; }
  ~KindOnlyScope() { gSwitches.kindOnly = saved_; }
  KindOnlyScope(const KindOnlyScope&) = delete;
  KindOnlyScope& operator=(const KindOnlyScope&) = delete;

 private:
  bool saved_;
};

// Marks an order-free search as running.
class Searching {
 public:
  Searching() { ++gSwitches.searching; }
  ~Searching() { --gSwitches.searching; }
  Searching(const Searching&) = delete;
  Searching& operator=(const Searching&) = delete;
};

// Exact comparison inside a match (the budget and nesting stay the match's).
bool Literally(Handle a, Handle b) {
  SwitchScope literal(false, false, false);
  return EquivObj(a, b);
}

class Search {
 public:
  Search(Handle subject, Handle pattern)
      : subject_(subject),
        pattern_(pattern),
        op_(ObjType(subject)),
        n_(ObjCount(subject)),
        m_(ObjCount(pattern)),
        all_(Bit(n_) - 1),
        top_(gSwitches.nesting == 0 && !gSwitches.kindOnly) {}

  bool Run() {
    Searching searching;
    if (!Prepare()) return false;
    size_t mark = BindingMark();
    if (Assign(0, 0)) return true;
    UnbindTo(mark);
    return false;
  }

 private:
  enum class Role { kOpen, kDependent, kClosed, kAbsorber };

  struct Term {
    Handle pattern = nullptr;
    Role role = Role::kClosed;
    char letter = 0;      // bare wildcards
    bool single = false;  // an absorber of an integer kind takes exactly one operand
    Mask mask = 0;        // the subject operands it might take
    int group = -1;       // closed operands: the first identical closed operand
    int pick = -1;        // the subject operand taken (an absorber's own pick)
    std::string letters;  // the bindable letters it holds
  };

  Handle Operand(int j) const { return ObjSlot(subject_, j); }

  bool Prepare() {
    terms_.resize(m_);
    for (int i = 0; i < m_; ++i) {
      Term& t = terms_[i];
      t.pattern = ObjSlot(pattern_, i);
      Handle bare = StripParens(t.pattern);
      if (bare != nullptr && ObjType(bare) == kWildcard && IsBindableKind(WildcardKind(bare))) {
        t.role = Role::kAbsorber;
        t.letter = WildcardKind(bare);
      } else {
        t.role = ContainsBindableWildcard(t.pattern) ? Role::kOpen : Role::kClosed;
      }
    }
    for (int i = 0; i < m_; ++i) {
      Term& t = terms_[i];
      if (t.role != Role::kAbsorber) continue;
      bool dependent = WildcardBinding(t.letter) != nullptr;
      for (int k = 0; k < m_ && !dependent; ++k) {
        if (k == i) continue;
        const Term& other = terms_[k];
        dependent = (other.role == Role::kOpen && MentionsLetter(other.pattern, t.letter)) ||
                    (other.role == Role::kAbsorber && other.letter == t.letter) ||
                    (other.role == Role::kDependent && other.letter == t.letter);
      }
      if (dependent) t.role = Role::kDependent;
      t.single = t.letter >= 'i' && t.letter <= 'n';
    }
    for (Term& t : terms_) CollectLetters(t.pattern, t.letters);
    for (Term& t : terms_) {
      if (!ComputeMask(t)) return false;
      if (t.mask == 0) return false;
    }
    GroupClosedTerms();
    OrderTerms();
    FindNonCommutingPairs();
    return FitsAtAll();
  }

  bool ComputeMask(Term& t) {
    for (int j = 0; j < n_; ++j) {
      if (!ChargeTrial()) return false;
      bool possible;
      switch (t.role) {
        case Role::kOpen:
        case Role::kClosed: {
          KindOnlyScope feasibility;
          possible = EquivObj(Operand(j), t.pattern);
          break;
        }
        case Role::kDependent:
          if (Handle bound = WildcardBinding(t.letter))
            possible = Literally(Operand(j), bound);
          else
            possible = KindTest(t.letter, Operand(j));
          break;
        case Role::kAbsorber:
        default:
          possible = KindTest(t.letter, Operand(j));
          break;
      }
      if (possible) t.mask |= Bit(j);
    }
    return true;
  }

  void GroupClosedTerms() {
    for (int i = 0; i < m_; ++i) {
      Term& t = terms_[i];
      if (t.role != Role::kClosed) continue;
      t.group = i;
      for (int k = 0; k < i; ++k) {
        if (terms_[k].role == Role::kClosed && terms_[k].mask == t.mask &&
            Literally(terms_[k].pattern, t.pattern)) {
          t.group = terms_[k].group;
          break;
        }
      }
    }
  }

  void OrderTerms() {
    auto byCandidates = [&](int a, int b) {
      const Term& x = terms_[a];
      const Term& y = terms_[b];
      if (Count(x.mask) != Count(y.mask)) return Count(x.mask) < Count(y.mask);
      if (x.group != y.group) return x.group < y.group;
      return a < b;
    };
    std::vector<int> open, dependent, closed;
    for (int i = 0; i < m_; ++i) {
      switch (terms_[i].role) {
        case Role::kOpen:
          open.push_back(i);
          break;
        case Role::kDependent:
          dependent.push_back(i);
          break;
        case Role::kClosed:
          closed.push_back(i);
          break;
        case Role::kAbsorber:
          absorbers_.push_back(i);
          absorberMask_ |= terms_[i].mask;
          if (!terms_[i].single) absorbable_ |= terms_[i].mask;
          break;
      }
    }
    std::stable_sort(open.begin(), open.end(), byCandidates);
    std::stable_sort(closed.begin(), closed.end(), byCandidates);
    takers_ = open;
    takers_.insert(takers_.end(), dependent.begin(), dependent.end());
    firstClosed_ = takers_.size();
    takers_.insert(takers_.end(), closed.begin(), closed.end());
  }

  // Operators in a product do not commute with each other (nor a D-linear
  // operator with what it applies to); such pairs keep their order.
  void FindNonCommutingPairs() {
    if (op_ != kProduct) return;
    int classes[kMaxOrderFreeOperands];
    for (int j = 0; j < n_; ++j) classes[j] = CommuteClassOf(Operand(j));
    for (int j1 = 0; j1 < n_; ++j1)
      for (int j2 = j1 + 1; j2 < n_; ++j2)
        if (classes[j1] + classes[j2] >= 6 && !Literally(Operand(j1), Operand(j2)))
          ordered_.push_back({j1, j2});
  }

  bool FitsAtAll() {
    int need = static_cast<int>(takers_.size() + absorbers_.size());
    if (need > n_) return false;
    return Fits(0, 0);
  }

  // Whether the pattern operands from takers_[pos] on, and every absorber,
  // can still each take a distinct free operand (and, below the top, leave
  // no operand that nobody could take).
  bool Fits(size_t pos, Mask used) const {
    Mask free = all_ & ~used;
    int takers = static_cast<int>(takers_.size() - pos);
    int need = takers + static_cast<int>(absorbers_.size());
    if (Count(free) < need) return false;
    Mask cover = absorberMask_;
    Mask adjacency[2 * kMaxOrderFreeOperands];
    int nodes = 0;
    for (size_t k = pos; k < takers_.size(); ++k) {
      Mask m = terms_[takers_[k]].mask & free;
      if (m == 0) return false;
      cover |= m;
      adjacency[nodes++] = m;
    }
    for (int a : absorbers_) adjacency[nodes++] = terms_[a].mask & free;
    if (!top_) {
      if ((free & ~cover) != 0) return false;
      if (absorbable_ == 0 && Count(free) != need) return false;
    }
    return DistinctPicksExist(adjacency, nodes);
  }

  // Bipartite matching by augmenting paths: every node a distinct operand.
  static bool DistinctPicksExist(const Mask* adjacency, int nodes) {
    int owner[kMaxOrderFreeOperands];
    std::fill(std::begin(owner), std::end(owner), -1);
    struct Augment {
      const Mask* adjacency;
      int* owner;
      bool operator()(int node, Mask& visited) const {
        for (Mask m = adjacency[node] & ~visited; m != 0; m &= m - 1) {
          int j = std::countr_zero(m);
          visited |= Bit(j);
          if (owner[j] < 0 || (*this)(owner[j], visited)) {
            owner[j] = node;
            return true;
          }
        }
        return false;
      }
    } augment{adjacency, owner};
    for (int node = 0; node < nodes; ++node) {
      Mask visited = 0;
      if (!augment(node, visited)) return false;
    }
    return true;
  }

  // Among the operands of steps 1 and 2 still to place, the one whose
  // letters are bound the most goes next (then the one with fewest
  // candidates): a contradiction between bindings shows at once.
  void ChooseNext(size_t pos, Mask used) {
    size_t best = pos;
    int bestBound = -1, bestCandidates = 0;
    for (size_t k = pos; k < firstClosed_; ++k) {
      const Term& t = terms_[takers_[k]];
      int bound = 0;
      for (char letter : t.letters) bound += WildcardBinding(letter) != nullptr;
      int candidates = Count(t.mask & ~used);
      if (bound > bestBound || (bound == bestBound && candidates < bestCandidates)) {
        best = k;
        bestBound = bound;
        bestCandidates = candidates;
      }
    }
    std::swap(takers_[pos], takers_[best]);
  }

  // Steps 1 to 3: one operand for each taker.
  bool Assign(size_t pos, Mask used) {
    if (pos == takers_.size()) return PickForAbsorbers(0, used);
    if (!Fits(pos, used)) return false;
    if (pos < firstClosed_) ChooseNext(pos, used);
    Term& t = terms_[takers_[pos]];
    Mask candidates = t.mask & ~used;
    // Identical closed operands take their operands in increasing order, so
    // the failures remembered depend on where the last of them went too.
    int floor = -1;
    if (t.role == Role::kClosed && pos > firstClosed_) {
      const Term& previous = terms_[takers_[pos - 1]];
      if (previous.group == t.group) floor = previous.pick;
    }
    candidates &= ~(Bit(floor + 1) - 1);
    bool memo = ordered_.empty() && pos >= firstClosed_;
    uint32_t key =
        (static_cast<uint32_t>(pos) << 21) | (static_cast<uint32_t>(floor + 1) << 16) | used;
    if (memo && failed_.contains(key)) return false;
    for (Mask m = candidates; m != 0; m &= m - 1) {
      int j = std::countr_zero(m);
      if (!ChargeTrial()) return false;
      size_t mark = BindingMark();
      if (t.role == Role::kClosed || EquivObj(Operand(j), t.pattern)) {
        t.pick = j;
        if (Assign(pos + 1, used | Bit(j))) return true;
      }
      UnbindTo(mark);
      t.pick = -1;
      if (gSwitches.exhausted) return false;
    }
    if (memo) failed_.insert(key);
    return false;
  }

  // Step 4: each absorber picks one operand; below the top, an operand that
  // no multi-operand absorber accepts must be somebody's pick.
  bool PickForAbsorbers(size_t a, Mask used) {
    Mask required = top_ ? 0 : (all_ & ~used & ~absorbable_);
    if (a == absorbers_.size()) return required == 0 && Finish(used);
    Mask reachable = 0;
    for (size_t k = a; k < absorbers_.size(); ++k) reachable |= terms_[absorbers_[k]].mask;
    if ((required & ~reachable) != 0 || Count(required) > static_cast<int>(absorbers_.size() - a))
      return false;
    Term& t = terms_[absorbers_[a]];
    Mask candidates = t.mask & ~used;
    for (Mask preferred : {candidates & required, candidates & ~required}) {
      for (Mask m = preferred; m != 0; m &= m - 1) {
        int j = std::countr_zero(m);
        if (!ChargeTrial()) return false;
        t.pick = j;
        if (PickForAbsorbers(a + 1, used | Bit(j))) return true;
        t.pick = -1;
        if (gSwitches.exhausted) return false;
      }
    }
    return false;
  }

  // The absorber that takes a left-over operand: the accepting one whose pick
  // lies nearest before it, else nearest after it; -1 for none.
  int AbsorberFor(int j) const {
    int before = -1, after = -1;
    for (int a : absorbers_) {
      const Term& t = terms_[a];
      if (t.single || (t.mask & Bit(j)) == 0) continue;
      if (t.pick < j && (before < 0 || t.pick > terms_[before].pick)) before = a;
      if (t.pick > j && (after < 0 || t.pick < terms_[after].pick)) after = a;
    }
    return before >= 0 ? before : after;
  }

  // A complete assignment: binds the absorbers, checks the order of
  // operators and fills the rest slots at the top.
  bool Finish(Mask used) {
    int owner[kMaxOrderFreeOperands];
    std::fill(std::begin(owner), std::end(owner), -2);  // -2: not taken
    for (int i : takers_) owner[terms_[i].pick] = i;
    for (int a : absorbers_) owner[terms_[a].pick] = a;
    Mask leftover = all_ & ~used;
    for (int a : absorbers_) leftover &= ~Bit(terms_[a].pick);
    for (Mask m = leftover; m != 0; m &= m - 1) {
      int j = std::countr_zero(m);
      owner[j] = AbsorberFor(j);
      if (owner[j] < 0 && !top_) return false;
    }
    if (!KeepsOperatorOrder(owner)) return false;
    size_t mark = BindingMark();
    for (int a : absorbers_) {
      if (!BindAbsorber(a, owner)) {
        UnbindTo(mark);
        return false;
      }
    }
    if (top_) StoreRest(owner);
    return true;
  }

  bool KeepsOperatorOrder(const int* owner) const {
    if (ordered_.empty()) return true;
    int first = n_;
    for (int j = 0; j < n_; ++j)
      if (owner[j] >= 0) {
        first = j;
        break;
      }
    auto position = [&](int j) {
      if (owner[j] >= 0) return owner[j];
      return j < first ? -1 : m_;  // the rest goes in front or behind
    };
    for (auto [j1, j2] : ordered_)
      if (position(j1) > position(j2)) return false;
    return true;
  }

  bool BindAbsorber(int a, const int* owner) {
    const Term& t = terms_[a];
    int taken = 0;
    for (int j = 0; j < n_; ++j) taken += owner[j] == a;
    if (taken == 1) return EquivObj(Operand(t.pick), t.pattern);
    Handle gathered = NewObjN(op_, taken);
    int k = 0;
    try {
      for (int j = 0; j < n_; ++j) {
        if (owner[j] != a) continue;
        if (Handle operand = Operand(j)) PutSlot(gathered, k, DupObj(operand));
        ++k;
      }
      if (!ChargeWork(CountNodes(gathered)) || !KindTest(t.letter, gathered)) {
        DisposeObj(gathered);
        return false;
      }
    } catch (...) {
      DisposeObj(gathered);
      throw;
    }
    if (gSwitches.kindOnly) {
      DisposeObj(gathered);
      return true;
    }
    BindOwned(t.letter, gathered);
    return true;
  }

  void StoreRest(const int* owner) {
    int first = n_;
    for (int j = 0; j < n_; ++j)
      if (owner[j] >= 0) {
        first = j;
        break;
      }
    for (int which = 0; which < kRestSlots; ++which) {
      std::vector<int> operands;
      for (int j = 0; j < n_; ++j)
        if (owner[j] < 0 && (j < first) == (which == 0)) operands.push_back(j);
      if (operands.empty()) {
        SetRest(which, 0, nullptr);
        continue;
      }
      Handle rest = NewObjN(op_, static_cast<int>(operands.size()));
      SetRest(which, op_, rest);
      for (size_t k = 0; k < operands.size(); ++k)
        if (Handle operand = Operand(operands[k]))
          PutSlot(rest, static_cast<int>(k), DupObj(operand));
    }
  }

  Handle subject_;
  Handle pattern_;
  TypeCode op_;
  int n_;
  int m_;
  Mask all_;
  bool top_;
  std::vector<Term> terms_;
  std::vector<int> takers_;  // steps 1-3, in search order
  size_t firstClosed_ = 0;
  std::vector<int> absorbers_;                // step 4, in pattern order
  Mask absorberMask_ = 0;                     // what any absorber might take
  Mask absorbable_ = 0;                       // what an absorber of several operands might take
  std::vector<std::pair<int, int>> ordered_;  // operand pairs that keep their order
  std::unordered_set<uint32_t> failed_;
};

}  // namespace

bool OrderFreeMatch(Handle subject, Handle pattern) {
  if (ObjCount(subject) > kMaxOrderFreeOperands || ObjCount(subject) < ObjCount(pattern))
    return false;
  Search search(subject, pattern);
  return search.Run();
}

}  // namespace lemmabox::match
