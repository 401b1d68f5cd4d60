// Reading notebook files: the typing script is typed into a new notebook
// through the editor, and each record is handed to its reader.
//
// Any bytes at all are safe to read: what cannot be a notebook raises 13148
// ("Sorry, the data has been corrupted; it cannot be reconstructed.") and
// leaves nothing open, unless the read is lenient, which clamps fields that
// are out of range and keeps whatever was read before a failure.
//
// The same record readers serve Paste: text that holds records (propositions
// copied from a notebook) is read at the selection, the propositions going
// after the selected one and keeping their outline relative to it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "files/file_writer.h"
#include "mathobj/predefined.h"
#include "shell/types.h"

namespace lemmabox {

struct NotebookReadOptions {
  // Out-of-range fields are clamped, and a failure keeps what was read.
  bool lenient = false;
};

struct NotebookReadInfo {
  WindowPlacement window;  // the window record as read
  int version = 0;         // the file's format version
  // A lenient read that failed part-way: the failure it kept going after.
  MessageNumber failure = 0;
};

// Reads the bytes of a notebook file into a new open notebook and returns
// its Main Theory. Names are interpreted once everything is read (the whole
// notebook is clarified), and the notebook starts unchanged.
Handle ReadNotebookBytes(std::string_view bytes, const NotebookReadOptions& options = {},
                         NotebookReadInfo* info = nullptr);
// The same for a file; 13132 when it does not exist or cannot be read.
Handle ReadNotebookFile(const std::string& path);
Handle ReadNotebookFileWith(const std::string& path, const NotebookReadOptions& options,
                            NotebookReadInfo* info = nullptr);

// The name class a declaration record's class letter stands for (c, v, m, d,
// f), or nullopt for any other character.
std::optional<NameClass> NameClassOfLetter(int letter);

// Hands the records of pasted text to these readers.
void InstallFileReader();

}  // namespace lemmabox
