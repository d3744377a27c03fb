#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace vornask {

// Runs the command-line converter. `programFile` locates the startup settings
// file; `configHome` is the user's configuration folder (may be empty).
// Returns the exit status: 0 all converted, 1 a source failed, 2 usage or
// settings error.
int RunConverter(const std::vector<std::string>& args, const std::string& programFile,
                 const std::string& configHome, std::FILE* out, std::FILE* err);

}  // namespace vornask
