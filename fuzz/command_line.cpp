// Fuzzes the splitting of a command line into file names and switches.
#include "shell/command_line.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  lemmabox::CommandLine line = lemmabox::ParseCommandLine(text);
  for (const std::string& file : line.files) {
    // A file name is never empty, never a switch and never longer than a path can be.
    if (file.empty() || file.size() > lemmabox::kMaxFileNameLength) std::abort();
    char first = file.front();
    if (first == '-' || first == ':' || first == ';') std::abort();
    if (file.size() > text.size()) std::abort();
  }
  return 0;
}
