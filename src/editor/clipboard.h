// Copy, Cut and Paste.
//
// Copy writes the selection as a typing script onto the clipboard (plain
// text); Paste types clipboard text back in at the selection, as a notebook
// file is read. Text that consists of columns of numbers becomes a new
// table instead; tab- and line-separated numbers pasted into a matrix fill
// its cells.
#pragma once

#include <string>
#include <string_view>

namespace lemmabox {

enum class ClipboardTextKind {
  kNumericData,  // numbers only, in lines: read into a new table
  kTypingText,   // looks like a typing script
  kPlainText,    // anything else (typed in all the same)
};

// How clipboard text (program characters) is to be pasted.
ClipboardTextKind ClassifyClipboardText(std::string_view text);

// Text for a paste into a matrix: when it looks like a table (numbers,
// tabs and line ends rather than letters), line ends become ';' (new rows)
// and tabs ',' (new cells), and trailing separators blanks. Other text, and
// text of two characters or less, is returned as it is.
std::string TabularTypingScript(std::string_view text);

// The typing script Copy writes for the front view's selection (program
// characters); "" when nothing is selected. A selection of notebook entries
// is written as a notebook, which needs the notebook writer: 13147 until it
// is installed.
std::string SelectionScript();

// The clipboard commands (the editor performs them for the codes Copy, Cut,
// Copy as Picture and Paste). Cut is Copy followed by deleting the selection.
void CopySelection();
void CopySelectionAsPicture();
void PasteClipboard();

}  // namespace lemmabox
