#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Ways to make the file system fail on purpose, for core and window tests.
namespace vornask::test {

// While it lives, file permissions apply to the calling thread even when the
// tests run as root: the thread's file-system user and group become
// "nobody" (root keeps its other rights, and other threads are untouched).
// Folders the thread must pass through need search rights for others.
class AsUnprivilegedUser {
 public:
  AsUnprivilegedUser();
  ~AsUnprivilegedUser();
  AsUnprivilegedUser(const AsUnprivilegedUser&) = delete;
  AsUnprivilegedUser& operator=(const AsUnprivilegedUser&) = delete;
  // False when permissions still would not apply (root that cannot switch).
  bool active() const { return active_; }

 private:
  bool switched_ = false;
  bool active_ = false;
};

// A tmpfs of `bytes` mounted on the folder `path` (which must exist): a
// disk that really fills up. Mounting needs root; mounted() says whether it
// worked, and tests skip otherwise.
class SmallDisk {
 public:
  SmallDisk(const std::string& path, std::size_t bytes);
  ~SmallDisk();
  SmallDisk(const SmallDisk&) = delete;
  SmallDisk& operator=(const SmallDisk&) = delete;
  bool mounted() const { return mounted_; }

 private:
  std::string path_;
  bool mounted_ = false;
};

// While it lives, no file this process writes can grow past `bytes`: the
// write that would fails as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::size_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  unsigned long long savedCur_ = 0;
  void (*savedHandler_)(int) = nullptr;
};

// Every name in a folder, hidden ones included, sorted: a temporary file
// left behind shows up here.
std::vector<std::string> AllNames(const std::string& folder);

}  // namespace vornask::test
