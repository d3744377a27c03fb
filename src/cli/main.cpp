#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cli/cli.h"
#include "settings/settings_paths.h"

namespace {

std::string ProgramFile(const char* argv0) {
  std::error_code ec;
#ifdef __linux__
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) return self.string();
#endif
  return std::filesystem::absolute(argv0, ec).string();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return vornask::RunConverter(args, ProgramFile(argv[0]), vornask::UserConfigHome(), stdout, stderr);
}
