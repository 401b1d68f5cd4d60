#include "ports/output_sink.h"

#include "shell/failure.h"
#include "shell/messages.h"

namespace lemmabox {

FileSink::FileSink(std::string path) : path_(std::move(path)), temporaryPath_(path_ + ".part") {
  file_ = std::fopen(temporaryPath_.c_str(), "wb");
  if (!file_) Raise(kMsgFileAccessDenied);
}

FileSink::~FileSink() {
  Discard();
}

void FileSink::Write(std::string_view bytes) {
  if (!file_) Raise(kMsgFileAccessDenied);
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    Discard();
    Raise(kMsgFileAccessDenied);
  }
}

void FileSink::Commit() {
  if (!file_) Raise(kMsgFileAccessDenied);
  bool failed = std::fflush(file_) != 0 || std::ferror(file_) != 0;
  failed = std::fclose(file_) != 0 || failed;
  file_ = nullptr;
  if (failed || std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    std::remove(temporaryPath_.c_str());
    Raise(kMsgFileAccessDenied);
  }
}

void FileSink::Discard() {
  if (!file_) return;
  std::fclose(file_);
  file_ = nullptr;
  std::remove(temporaryPath_.c_str());
}

}  // namespace lemmabox
