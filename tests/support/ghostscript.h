// Rendering PostScript and EPS with Ghostscript, for tests that check what a
// printed or exported picture really shows.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "shell/types.h"

namespace lemmabox::testing {

bool HaveGhostscript();

// A rendered page: one gray byte per pixel, top row first.
struct GrayPicture {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> gray;
  int inkBelow = 128;  // a pixel darker than this is ink

  bool Ink(int x, int y) const { return gray[static_cast<size_t>(y) * width + x] < inkBelow; }
  int InkCount() const;
  // Ink anywhere in a rectangle of the picture (in pixels).
  bool InkIn(const Rect& r) const;
};

// Renders a PostScript file (an EPS cropped to its bounding box) at `dpi`
// into picture. False when Ghostscript fails or reports an error; its output
// goes to *messages. With LEMMABOX_KEEP_RENDERINGS naming a directory, a PNG
// of the page is kept there for looking at.
bool RenderWithGhostscript(const std::filesystem::path& file, bool eps, int dpi,
                           GrayPicture& picture, std::string* messages = nullptr);

}  // namespace lemmabox::testing
