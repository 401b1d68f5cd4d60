// A PostScript document of several pages, for printing to a PostScript file
// or printer. Each page is drawn through its own PostScript port, which
// defines the procedures it uses, so every page can be printed on its own.
//
//   StringSink sink;                       // or a FileSink
//   PostScriptDocument document(sink, setup);
//   for (each page) {
//     PostScriptPort& port = document.BeginPage();
//     ... draw into port, within document.pageZone() ...
//     document.EndPage();
//   }
//   document.Finish();
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "ports/output_sink.h"
#include "ports/postscript_port.h"

namespace lemmabox {

struct PostScriptPageSetup {
  // The paper in points (A4 unless told otherwise).
  int32_t paperWidth = 595;
  int32_t paperHeight = 842;
  // Port units per inch of the page ports.
  int32_t resolution = 300;
  // Prints across the long side of the paper.
  bool landscape = false;
  std::string title = "Untitled";
  std::string creationDate;  // empty: now
  // Empty: the program's name and version from the string table.
  std::string programName;
  std::string version;
};

class PostScriptDocument {
 public:
  // Writes the document's header comments and set-up.
  PostScriptDocument(OutputSink& sink, const PostScriptPageSetup& setup);
  // Finishes the document unless Finish ran (or something is unwinding).
  ~PostScriptDocument();
  PostScriptDocument(const PostScriptDocument&) = delete;
  PostScriptDocument& operator=(const PostScriptDocument&) = delete;

  // The page in port units, from (0, 0); wider than tall in landscape.
  Rect pageZone() const;
  // Starts the next page (ending the open one) and returns its port, which
  // stays valid until EndPage.
  PostScriptPort& BeginPage();
  void EndPage();
  // Ends the open page and writes the trailer.
  void Finish();
  int32_t pageCount() const { return pageCount_; }

 private:
  void Write(const std::string& line);

  OutputSink* sink_;
  PostScriptPageSetup setup_;
  std::unique_ptr<PostScriptPort> page_;
  std::vector<std::string> fonts_;
  int32_t pageCount_ = 0;
  bool finished_ = false;
};

}  // namespace lemmabox
