#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace vornask {

// Every failure the program reports to the user. The message is UTF-8 and is
// shown as it stands (the failure display may append a full stop).
class Failure : public std::runtime_error {
 public:
  explicit Failure(const std::string& message) : std::runtime_error(message) {}
};

// Message texts shared by every file operation.
std::string CannotOpenMessage(std::string_view path);    // reading
std::string CannotCreateMessage(std::string_view path);  // creating or replacing
inline constexpr const char* kStreamWriteError = "ストリームへの書き込みエラー";

// Replaces the first "%s" of a message template by an argument.
std::string FormatMessage(std::string_view pattern, std::string_view argument);

}  // namespace vornask
