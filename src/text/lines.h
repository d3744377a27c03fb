#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vornask {

// The lines of a text as the editor shows them: CR LF, a lone CR and a lone LF
// each end a line; the line ends are not part of the lines; one final empty
// line (the text ends with a break, or is empty) is not counted.
std::vector<std::string_view> SplitLines(std::string_view text);

// Joins lines with CR LF after every line, the last included.
std::string JoinLinesCrLf(const std::vector<std::string_view>& lines);

}  // namespace vornask
