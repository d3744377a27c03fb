#include "text/files.h"

#include <atomic>
#include <cerrno>
#include <filesystem>
#include <system_error>

#include "text/failure.h"

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vornask {
namespace fs = std::filesystem;

namespace {

fs::path ToPath(const std::string& utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FromPath(const fs::path& p) {
  const std::u8string s = p.u8string();
  return std::string(s.begin(), s.end());
}

std::FILE* OpenExclusive(const std::string& path) {
#ifdef _WIN32
  return _wfopen(ToPath(path).c_str(), L"wbx");
#else
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return nullptr;
  std::FILE* f = ::fdopen(fd, "wb");
  if (!f) ::close(fd);
  return f;
#endif
}

}  // namespace

std::string ReadFileBytes(const std::string& path) {
  std::error_code ec;
  if (!fs::is_regular_file(ToPath(path), ec)) throw Failure(CannotOpenMessage(path));
#ifdef _WIN32
  std::FILE* f = _wfopen(ToPath(path).c_str(), L"rb");
#else
  std::FILE* f = std::fopen(path.c_str(), "rb");
#endif
  if (!f) throw Failure(CannotOpenMessage(path));
  // Straight into the string: the size it has now, then whatever follows
  // (a file that grows while it is read is read to its end).
  const auto size = fs::file_size(ToPath(path), ec);
  std::string bytes(ec ? 0 : static_cast<std::size_t>(size), '\0');
  const std::size_t got = bytes.empty() ? 0 : std::fread(bytes.data(), 1, bytes.size(), f);
  bytes.resize(got);
  char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  const bool bad = std::ferror(f) != 0;
  std::fclose(f);
  if (bad) throw Failure(CannotOpenMessage(path));
  return bytes;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(ToPath(path), ec);
}

bool DirectoryExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_directory(ToPath(path), ec);
}

AtomicFile::AtomicFile(const std::string& path, std::string writeFailedMessage)
    : path_(path), target_(path), writeFailedMessage_(std::move(writeFailedMessage)) {
  std::error_code ec;
  const fs::path p = ToPath(path);
  if (fs::is_symlink(p, ec)) {
    // Replace what the link points at, not the link itself.
    const fs::path resolved = fs::weakly_canonical(p, ec);
    if (!ec) target_ = FromPath(resolved);
  }
  const fs::path target = ToPath(target_);
  const auto status = fs::status(target, ec);
  if (fs::exists(status) && !fs::is_regular_file(status)) throw Failure(CannotCreateMessage(path_));
#ifndef _WIN32
  if (fs::exists(status) && ::access(target_.c_str(), W_OK) != 0)
    throw Failure(CannotCreateMessage(path_));
#endif
  static std::atomic<unsigned> counter{0};
  const std::string dir = FromPath(target.parent_path());
  const std::string name = FromPath(target.filename());
  for (int attempt = 0; attempt < 100 && !file_; ++attempt) {
    temp_ = (dir.empty() ? std::string() : dir + "/") + "." + name + ".tmp" +
            std::to_string(
#ifdef _WIN32
                0
#else
                ::getpid()
#endif
                ) +
            "-" + std::to_string(counter++);
    file_ = OpenExclusive(temp_);
    if (!file_ && errno != EEXIST) break;
  }
  if (!file_) throw Failure(CannotCreateMessage(path_));
#ifndef _WIN32
  struct stat st {};
  if (::stat(target_.c_str(), &st) == 0) ::fchmod(::fileno(file_), st.st_mode & 07777);
#endif
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(ToPath(temp_), ec);
    temp_.clear();
  }
}

void AtomicFile::Write(std::string_view bytes) {
  if (!file_ || failed_) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

void AtomicFile::Commit() {
  if (!file_) throw Failure(CannotCreateMessage(path_));
  const bool flushed = std::fflush(file_) == 0 && !std::ferror(file_);
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (failed_ || !flushed || !closed) {
    Discard();
    throw Failure(writeFailedMessage_);
  }
  std::error_code ec;
  fs::rename(ToPath(temp_), ToPath(target_), ec);
  if (ec) {
    Discard();
    throw Failure(CannotCreateMessage(path_));
  }
  temp_.clear();
}

void WriteFileAtomically(const std::string& path, std::string_view bytes,
                         const std::string& writeFailedMessage) {
  AtomicFile file(path, writeFailedMessage);
  file.Write(bytes);
  file.Commit();
}

}  // namespace vornask
