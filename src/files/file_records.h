// Inside the notebook file writer and reader: what the writers of the
// general propositions share with those of graphs, plots and tables, and the
// state of one read.
#pragma once

#include <cstdint>
#include <vector>

#include "editor/selection_list.h"
#include "files/file_fields.h"
#include "notebook/expression_writer.h"

namespace lemmabox {

// --- Writing ---

// "~p" with the outline flags (1 collapsed, 2 locked), a line end and the
// indentation; the break position starts anew after it.
void WriteTrailer(Handle prop, TextWriter& w);
// A container's settings "(" expression ")" joined by ':', then its propositions.
void WriteContainerContents(Handle container, TextWriter& w);
// Whether a notebook file is being written (plots then add their point lists,
// which Copy leaves out).
bool WritingNotebookFile();
// The writers of graphs, plots and tables.
void RegisterGraphWriters();

// --- Reading ---

// One read of a script with records: a notebook file being opened, or text
// being pasted. Level 0 is where reading started; a Case Theory or graph
// read adds a level. The objects it holds are watched: when one of them is
// disposed, the read is over (Alive turns false).
class ReadState {
 public:
  ReadState(Handle container, int first, int baseIndentation, bool lenient);
  ReadState(const ReadState&) = delete;
  ReadState& operator=(const ReadState&) = delete;

  Handle Container() const { return objects_.back().obj; }
  // Inside a Case Theory or graph.
  bool Nested() const { return levels_.size() > 1; }
  int BaseIndentation() const { return levels_.front().base; }
  // The proposition the trailer and the 'd', 's' and 'g' records apply to.
  Handle Current() const { return objects_.front().obj; }
  void SetCurrent(Handle prop) { objects_.front().obj = prop; }

  // Inserts a new proposition after the current one (at the start of a
  // level just entered) and makes it current.
  void Insert(Handle prop);
  void Enter(Handle container);
  // Leaves the innermost level, whose container becomes current; 13148 at
  // level 0.
  void Leave();
  // The object a contingency path names, innermost index first; null for the
  // path "-1" of an object that could not be placed; 13148 when it names
  // nothing.
  Handle Resolve(const std::vector<int32_t>& path) const;
  bool Alive() const;

  bool lenient;
  int version = 200;
  bool behaviourWarned = false;
  // The preferences record applies to the notebook being read (not to the
  // one text is pasted into).
  bool takesPreferences = false;
  const void* stream = nullptr;  // the paste's stream

 private:
  struct Level {
    int first;
    int base;
  };
  std::vector<Level> levels_;
  // [0] the current proposition, [1 + i] the container of level i.
  std::vector<Selection> objects_;
  PendingSelections watch_{objects_};
};

// Inserts prop and puts the selection where typing goes on (typingPlace
// selected whole).
void PlaceProposition(ReadState& state, Handle prop, Handle typingPlace);

// The records of graphs, plots and tables.
void ReadGraphRecord(FieldReader& in, ReadState& state, char tag);
void ReadPlotRecord(FieldReader& in, ReadState& state, char tag);
void ReadPointListRecord(FieldReader& in, ReadState& state);
void ReadTableRecord(FieldReader& in, ReadState& state);

}  // namespace lemmabox
