#include "support/ghostscript.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace lemmabox::testing {
namespace {

namespace fs = std::filesystem;

std::string Quoted(const std::string& word) {
  std::string quoted = "'";
  for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

bool ReadPgm(const fs::path& path, GrayPicture& picture) {
  std::ifstream in(path, std::ios::binary);
  auto field = [&]() {
    std::string word;
    while (in >> word && word[0] == '#') {
      std::string rest;
      std::getline(in, rest);
    }
    return word;
  };
  if (field() != "P5") return false;
  picture.width = std::atoi(field().c_str());
  picture.height = std::atoi(field().c_str());
  if (field() != "255" || picture.width <= 0 || picture.height <= 0) return false;
  in.get();
  picture.gray.resize(static_cast<size_t>(picture.width) * picture.height);
  in.read(reinterpret_cast<char*>(picture.gray.data()),
          static_cast<std::streamsize>(picture.gray.size()));
  return static_cast<bool>(in);
}

std::string GhostscriptCommand(const fs::path& file, bool eps, int dpi, const std::string& device,
                               const fs::path& out) {
  return std::string("gs -q -dSAFER -dBATCH -dNOPAUSE") + (eps ? " -dEPSCrop" : "") +
         " -sDEVICE=" + device + " -r" + std::to_string(dpi) + " -dTextAlphaBits=4" +
         (device == "png16m" ? " -dGraphicsAlphaBits=4" : "") + " -o " + Quoted(out.string()) +
         " " + Quoted(file.string());
}

}  // namespace

bool HaveGhostscript() {
  return std::system("gs --version >/dev/null 2>&1") == 0;
}

int GrayPicture::InkCount() const {
  return static_cast<int>(
      std::count_if(gray.begin(), gray.end(), [&](unsigned char g) { return g < inkBelow; }));
}

bool GrayPicture::InkIn(const Rect& r) const {
  for (int y = std::max(0, r.top); y < std::min(height, r.bottom); ++y)
    for (int x = std::max(0, r.left); x < std::min(width, r.right); ++x)
      if (Ink(x, y)) return true;
  return false;
}

bool RenderWithGhostscript(const fs::path& file, bool eps, int dpi, GrayPicture& picture,
                           std::string* messages) {
  fs::path pgm = file;
  pgm.replace_extension(".pgm");
  fs::path log = file;
  log.replace_extension(".log");
  const std::string command =
      GhostscriptCommand(file, eps, dpi, "pgmraw", pgm) + " >" + Quoted(log.string()) + " 2>&1";
  const int status = std::system(command.c_str());
  std::ifstream logIn(log);
  const std::string logged((std::istreambuf_iterator<char>(logIn)), {});
  if (messages) *messages = logged;
  if (status != 0 || logged.find("Error") != std::string::npos) return false;
  if (const char* keep = std::getenv("LEMMABOX_KEEP_RENDERINGS")) {
    const fs::path png = fs::path(keep) / file.filename().replace_extension(".png");
    const std::string convert =
        GhostscriptCommand(file, eps, dpi, "png16m", png) + " >/dev/null 2>&1";
    if (std::system(convert.c_str()) != 0) return false;
  }
  return ReadPgm(pgm, picture);
}

}  // namespace lemmabox::testing
