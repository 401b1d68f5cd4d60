// Where PostScript output goes: a string in memory or a file.
//
// A file is written under a temporary name beside its final one and only
// takes its final name when the writer commits it, so an export that fails or
// is cancelled half-way never leaves a broken file behind, nor destroys an
// older file of the same name.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace lemmabox {

class OutputSink {
 public:
  virtual ~OutputSink() = default;
  // Appends bytes; raises when they cannot be written.
  virtual void Write(std::string_view bytes) = 0;
};

class StringSink : public OutputSink {
 public:
  void Write(std::string_view bytes) override { text_.append(bytes); }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
};

class FileSink : public OutputSink {
 public:
  // Opens the temporary file; raises 13127 when it cannot be created.
  explicit FileSink(std::string path);
  // Removes the temporary file unless Commit succeeded.
  ~FileSink() override;
  FileSink(const FileSink&) = delete;
  FileSink& operator=(const FileSink&) = delete;

  // Raises 13127 when the bytes cannot be written (a full disk, for one).
  void Write(std::string_view bytes) override;
  // Flushes and closes the file and gives it its final name, replacing any
  // file of that name; raises 13127 when that fails (the old file is kept).
  void Commit();
  // Drops what was written.
  void Discard();

  const std::string& path() const { return path_; }
  const std::string& temporaryPath() const { return temporaryPath_; }

 private:
  std::string path_;
  std::string temporaryPath_;
  std::FILE* file_ = nullptr;
};

}  // namespace lemmabox
