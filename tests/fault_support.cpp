#include "fault_support.h"

#include <algorithm>
#include <csignal>
#include <filesystem>

#ifndef _WIN32
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace vornask::test {

namespace {
constexpr unsigned kNobody = 65534;
}

AsUnprivilegedUser::AsUnprivilegedUser() {
#ifndef _WIN32
  if (::geteuid() != 0) {
    active_ = true;
    return;
  }
  // setfsuid reports the previous id; asking again tells whether it took.
  ::setfsgid(kNobody);
  ::setfsuid(kNobody);
  switched_ = true;
  active_ = static_cast<unsigned>(::setfsuid(kNobody)) == kNobody;
#endif
}

AsUnprivilegedUser::~AsUnprivilegedUser() {
#ifndef _WIN32
  if (switched_) {
    ::setfsuid(0);
    ::setfsgid(0);
  }
#endif
}

SmallDisk::SmallDisk(const std::string& path, std::size_t bytes) : path_(path) {
#ifndef _WIN32
  const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
  mounted_ = ::mount("vornask-test", path.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
#endif
}

SmallDisk::~SmallDisk() {
#ifndef _WIN32
  if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
#endif
}

FileSizeLimit::FileSizeLimit(std::size_t bytes) {
#ifndef _WIN32
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  savedCur_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  // Past the limit the kernel sends SIGXFSZ, which would end the process.
  savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  ::setrlimit(RLIMIT_FSIZE, &limit);
#else
  (void)bytes;
#endif
}

FileSizeLimit::~FileSizeLimit() {
#ifndef _WIN32
  rlimit limit{};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = savedCur_;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, savedHandler_);
#endif
}

std::vector<std::string> AllNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vornask::test
