#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vornask {

// Reads a whole file; throws Failure("ファイル %s は開けません") when it cannot.
std::string ReadFileBytes(const std::string& path);

bool FileExists(const std::string& path);       // a file, not a folder
bool DirectoryExists(const std::string& path);

// Writes a file whole or not at all: the bytes go to a temporary file beside
// it, which then replaces the target. On any failure the old file is left as
// it was and the temporary file is removed. Failures: "ファイル %s を作成できません"
// when the file cannot be created or replaced, `writeFailedMessage` when the
// bytes could not all be written.
class AtomicFile {
 public:
  AtomicFile(const std::string& path, std::string writeFailedMessage);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(std::string_view bytes);
  void Commit();

 private:
  void Discard();

  std::string path_;     // as given, for messages
  std::string target_;   // the file really replaced (a link is followed)
  std::string temp_;
  std::string writeFailedMessage_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         const std::string& writeFailedMessage);

}  // namespace vornask
