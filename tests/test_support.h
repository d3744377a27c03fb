#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vornask::test {

// A fresh folder under the system's temporary folder, removed with everything
// in it (read-only folders included) when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(std::string_view name) const { return path_ + "/" + std::string(name); }
  // The names in the folder (not recursive), sorted.
  std::vector<std::string> Names() const;
  std::vector<std::string> Names(const std::string& folder) const;

 private:
  std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);
void MakeReadOnlyFolder(const std::string& path);

// UTF-8 text as Shift_JIS bytes (every character must have a form).
std::string Sjis(std::string_view utf8);

// Everything written to a temporary file, which is then closed.
std::string Drain(std::FILE* f);

inline bool Contains(std::string_view text, std::string_view part) {
  return text.find(part) != std::string_view::npos;
}

// Lines joined with CR LF after each.
std::string CrLf(const std::vector<std::string>& lines);

// Runs `body` in a child process whose user is not root, so that file
// permissions apply even when the tests run as root. `body` returns "" when
// all went well, else what went wrong; that text is returned here.
std::string RunUnprivileged(const std::function<std::string()>& body);

}  // namespace vornask::test
