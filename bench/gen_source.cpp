// Writes big, deterministic comma-separated sources for the benchmark.
//
//   vornask-bench-gen [--rows N] [--cols M] [--line-end crlf|lf|cr] [--sjis] OUTPUT
//
// Plain sources have N rows of M short ASCII cells (default 1,000,000 x 10,
// about 100 MB) with CR LF line ends, or the line end asked for (lone CRs
// catch a line splitter that keeps rescanning for an LF that never comes). --sjis writes cells of double-byte
// Japanese characters, some whose second byte is 0x5C, rows of varying width,
// every kind of line end, and a few malformed lead bytes, so that a writer
// that gets the byte rules wrong produces a different page.

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

namespace {

constexpr const char* kUsage =
    "Usage: vornask-bench-gen [--rows N] [--cols M] [--line-end crlf|lf|cr] [--sjis] OUTPUT\n"
    "  --rows N      number of rows (default 1000000)\n"
    "  --cols M      cells per row (default 10; with --sjis the widest row)\n"
    "  --line-end E  line end of plain sources (default crlf)\n"
    "  --sjis        double-byte Japanese cells, mixed line ends, ragged rows\n";

// Fixed-seed generator: the same arguments always give the same bytes.
class Random {
 public:
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 7;
    state_ ^= state_ << 17;
    return static_cast<std::uint32_t>(state_ >> 32);
  }
  std::uint32_t Below(std::uint32_t n) { return Next() % n; }

 private:
  std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

class Output {
 public:
  explicit Output(std::FILE* f) : f_(f) { buf_.reserve(kSize + 4096); }
  void Put(std::string_view s) {
    buf_ += s;
    if (buf_.size() >= kSize) Flush();
  }
  void Put(char c) {
    buf_ += c;
    if (buf_.size() >= kSize) Flush();
  }
  bool Flush() {
    ok_ = ok_ && std::fwrite(buf_.data(), 1, buf_.size(), f_) == buf_.size();
    buf_.clear();
    return ok_;
  }

 private:
  static constexpr std::size_t kSize = 1 << 20;
  std::FILE* f_;
  std::string buf_;
  bool ok_ = true;
};

// Cells of 3 to 15 letters and digits: about 100 bytes per 10-cell row.
void WritePlain(Output& out, long rows, long cols, std::string_view lineEnd) {
  static constexpr char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  Random rnd;
  char cell[16];
  for (long r = 0; r < rows; ++r) {
    for (long c = 0; c < cols; ++c) {
      if (c) out.Put(',');
      const std::uint32_t n = 3 + rnd.Below(13);
      for (std::uint32_t i = 0; i < n; ++i) cell[i] = kChars[rnd.Below(sizeof kChars - 1)];
      out.Put(std::string_view(cell, n));
    }
    out.Put(lineEnd);
  }
}

// Double-byte characters; the 0x5C-second-byte ones come first.
constexpr std::string_view kKanji[] = {
    "\x95\x5C",  // 表
    "\x83\x5C",  // ソ
    "\x94\x5C",  // 能
    "\x8F\x5C",  // 十
    "\x93\xFA",  // 日
    "\x96\x7B",  // 本
    "\x8C\xEA",  // 語
    "\x82\xA0",  // あ
    "\x83\x4A",  // カ
    "\x8A\xBF",  // 漢
    "\x8E\x9A",  // 字
    "\x81\x40",  // full-width space
    "\xEA\x9F",  // a high lead byte
    "\xFA\x40",  // an extension character
    // Single bytes with the high bit set that lead nothing.
    "\xB1",  // half-width katakana
    "\xDF",  // half-width katakana
    "\xA0",
};

void WriteSjis(Output& out, long rows, long cols) {
  Random rnd;
  for (long r = 0; r < rows; ++r) {
    // Rows from one cell up to the full width, so short rows get padded.
    const long cells = 1 + static_cast<long>(rnd.Below(static_cast<std::uint32_t>(cols)));
    for (long c = 0; c < cells; ++c) {
      if (c) out.Put(',');
      const std::uint32_t kind = rnd.Below(100);
      if (kind < 5) continue;  // empty cell
      const std::uint32_t n = 1 + rnd.Below(6);
      for (std::uint32_t i = 0; i < n; ++i) {
        if (rnd.Below(4) == 0) {
          out.Put(static_cast<char>('a' + rnd.Below(26)));
        } else {
          out.Put(kKanji[rnd.Below(std::size(kKanji))]);
        }
      }
      // Malformed text: a lone lead byte swallows the comma after it.
      if (kind == 99) out.Put('\x88');
    }
    // A lone lead byte at the end of a row never takes the line end with it.
    if (rnd.Below(1000) == 0) out.Put('\x95');
    static constexpr std::string_view kEnds[] = {"\r", "\n", "\r\n\r\n" /* an empty row */};
    const std::uint32_t end = rnd.Below(10);
    out.Put(end < std::size(kEnds) ? kEnds[end] : "\r\n");
  }
  // Two line breaks at the end: the last row is empty.
  out.Put("\r\n");
}

bool ParseCount(const char* text, long& value) {
  char* end = nullptr;
  errno = 0;
  const long v = std::strtol(text, &end, 10);
  if (errno || end == text || *end || v < 0) return false;
  value = v;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  long rows = 1000000;
  long cols = 10;
  bool sjis = false;
  std::string_view lineEnd = "\r\n";
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    const std::string_view a = argv[i];
    if ((a == "--rows" || a == "--cols") && i + 1 < argc) {
      if (!ParseCount(argv[++i], a == "--rows" ? rows : cols)) {
        std::fprintf(stderr, "vornask-bench-gen: bad number %s\n", argv[i]);
        return 2;
      }
    } else if (a == "--line-end" && i + 1 < argc) {
      const std::string_view e = argv[++i];
      lineEnd = e == "crlf" ? "\r\n" : e == "lf" ? "\n" : e == "cr" ? "\r" : "";
      if (lineEnd.empty()) {
        std::fprintf(stderr, "vornask-bench-gen: line end must be crlf, lf or cr\n");
        return 2;
      }
    } else if (a == "--sjis") {
      sjis = true;
    } else if (a == "--help") {
      std::fputs(kUsage, stdout);
      return 0;
    } else if (!path && (a == "-" || a.empty() || a[0] != '-')) {
      path = argv[i];
    } else {
      std::fputs(kUsage, stderr);
      return 2;
    }
  }
  if (!path || cols < 1) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  std::FILE* f = std::strcmp(path, "-") == 0 ? stdout : std::fopen(path, "wb");
  if (!f) {
    std::fprintf(stderr, "vornask-bench-gen: cannot create %s\n", path);
    return 1;
  }
  Output out(f);
  if (sjis) {
    WriteSjis(out, rows, cols);
  } else {
    WritePlain(out, rows, cols, lineEnd);
  }
  const bool ok = out.Flush() && std::fflush(f) == 0 && (f == stdout || std::fclose(f) == 0);
  if (!ok) {
    std::fprintf(stderr, "vornask-bench-gen: cannot write %s\n", path);
    return 1;
  }
  return 0;
}
