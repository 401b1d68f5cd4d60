// Writing notebook files: a notebook as the typing script that rebuilds it.
//
// Expressions are written as the characters that type them (the expression
// writer); everything typing cannot express is a record: the marker '~', a
// tag letter and the record's fields. The file holds, in order: the version
// record, the window record, the preferences record, the Main Theory's
// propositions, one contingency record per conclusion, and the end record.
//
// The writers of the notebook entries join the expression writer's Text
// export table, so Copy writes selected propositions the same way (as the
// Main Theory's contents, without the file's header).
#pragma once

#include <cstdint>
#include <string>

#include "mathobj/object.h"

namespace lemmabox {

constexpr int kFileFormatVersion = 200;
constexpr int kOldestReaderVersion = 200;

// Where a notebook's window was and what it showed; a notebook without a
// window gets the default placement.
struct WindowPlacement {
  int32_t top = 143;
  int32_t left = 5;
  int32_t height = 289;
  int32_t width = 549;
  int32_t verticalScroll = 0;
  int32_t verticalExtent = 0;
  int32_t horizontalScroll = 0;
  int32_t horizontalExtent = 0;
  friend bool operator==(const WindowPlacement&, const WindowPlacement&) = default;
};

// The file text of a notebook with LF line ends, as the reader takes it.
std::string NotebookText(Handle mainTheory, const WindowPlacement& window = {});
// The bytes as stored: every line end a CR LF pair.
std::string NotebookFileBytes(Handle mainTheory, const WindowPlacement& window = {});

// Saves a notebook to path: the whole text is made first, then written to a
// temporary file beside path, flushed to the disk and renamed over path. A
// failure while writing raises its message and leaves the old file as it
// was; one at the disk raises 13127. Pending edits are committed first.
void WriteNotebookFile(Handle mainTheory, const std::string& path);
void WriteNotebookFileAt(Handle mainTheory, const std::string& path, const WindowPlacement& window);

// Fills the Text export entries of the notebook entries.
void RegisterNotebookWriters();

}  // namespace lemmabox
