#include "ports/postscript_document.h"

#include <algorithm>
#include <exception>

namespace lemmabox {

PostScriptDocument::PostScriptDocument(OutputSink& sink, const PostScriptPageSetup& setup)
    : sink_(&sink), setup_(setup) {
  if (setup_.resolution <= 0) setup_.resolution = 300;
  setup_.paperWidth = std::max(setup_.paperWidth, 1);
  setup_.paperHeight = std::max(setup_.paperHeight, 1);
  const std::string width = std::to_string(setup_.paperWidth);
  const std::string height = std::to_string(setup_.paperHeight);
  Write("%!PS-Adobe-3.0");
  Write(PostScriptCreatorLine(setup_.programName, setup_.version));
  Write("%%Title: " + PostScriptCommentText(setup_.title));
  Write("%%CreationDate: " + PostScriptCommentText(setup_.creationDate.empty()
                                                       ? PostScriptDateText()
                                                       : setup_.creationDate));
  Write("%%Pages: (atend)");
  Write("%%DocumentFonts: (atend)");
  Write("%%BoundingBox: 0 0 " + width + " " + height);
  Write(std::string("%%Orientation: ") + (setup_.landscape ? "Landscape" : "Portrait"));
  Write("%%EndComments");
  Write("%%BeginSetup");
  Write("/setpagedevice where {pop << /PageSize [" + width + " " + height +
        "] >> setpagedevice} if");
  Write("%%EndSetup");
}

PostScriptDocument::~PostScriptDocument() {
  if (finished_ || std::uncaught_exceptions() > 0) return;
  try {
    Finish();
  } catch (...) {
    // A destructor cannot report; callers that care call Finish themselves.
  }
}

void PostScriptDocument::Write(const std::string& line) {
  sink_->Write(line + "\n");
}

Rect PostScriptDocument::pageZone() const {
  int32_t width =
      static_cast<int32_t>(static_cast<int64_t>(setup_.paperWidth) * setup_.resolution / 72);
  int32_t height =
      static_cast<int32_t>(static_cast<int64_t>(setup_.paperHeight) * setup_.resolution / 72);
  if (setup_.landscape) std::swap(width, height);
  return Rect{0, 0, width, height};
}

PostScriptPort& PostScriptDocument::BeginPage() {
  EndPage();
  ++pageCount_;
  const std::string number = std::to_string(pageCount_);
  Write("%%Page: " + number + " " + number);
  Write("save");
  PostScriptOptions options;
  options.eps = false;
  options.landscape = setup_.landscape;
  options.resolution = setup_.resolution;
  options.title = setup_.title;
  options.programName = setup_.programName;
  options.version = setup_.version;
  page_ = std::make_unique<PostScriptPort>(*sink_, pageZone(), options);
  return *page_;
}

void PostScriptDocument::EndPage() {
  if (!page_) return;
  page_->close();
  for (const std::string& font : page_->documentFonts()) {
    if (std::find(fonts_.begin(), fonts_.end(), font) == fonts_.end()) fonts_.push_back(font);
  }
  page_.reset();
  Write("restore showpage");
}

void PostScriptDocument::Finish() {
  if (finished_) return;
  EndPage();
  Write("%%Trailer");
  Write("%%Pages: " + std::to_string(pageCount_));
  std::string fonts = "%%DocumentFonts:";
  for (const std::string& font : fonts_) fonts += " " + font;
  Write(fonts);
  Write("%%EOF");
  finished_ = true;
}

}  // namespace lemmabox
