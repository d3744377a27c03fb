// The yardstick for vornask-convert: the smallest writer of the same page with
// the default style that we could think of. It reads the whole source, counts
// the columns in one scan, writes the page in a second scan straight from the
// source bytes, and hands the bytes to the kernel 4 MiB at a time.
//
//   vornask-bench-baseline SOURCE OUTPUT     (OUTPUT "-" is standard output)
//
// It has no settings, no atomic replace and no error messages beyond the
// minimum, so any time vornask-convert spends above it is overhead.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace {

enum : unsigned char { kPlain, kLead, kComma, kBreak };

constexpr std::array<unsigned char, 256> MakeClasses() {
  std::array<unsigned char, 256> c{};
  for (int b = 0x81; b <= 0x9F; ++b) c[b] = kLead;
  for (int b = 0xE0; b <= 0xFC; ++b) c[b] = kLead;
  c[','] = kComma;
  c['\r'] = kBreak;
  c['\n'] = kBreak;
  return c;
}
constexpr auto kClass = MakeClasses();

// The first byte at or after q that is a comma, CR, LF or has its high bit
// set (every lead byte has), eight bytes at a time. Needs 8 readable bytes
// past the sentinel.
inline const unsigned char* NextSpecial(const unsigned char* q) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  for (;; q += 8) {
    // Assembled little-endian whatever the machine (one load where it is).
    std::uint64_t x = 0;
    for (int i = 7; i >= 0; --i) x = (x << 8) | q[i];
    auto zero = [x](std::uint64_t c) {
      const std::uint64_t v = x ^ (c * kOnes);
      return (v - kOnes) & ~v & kHigh;
    };
    // Borrows only spill upwards, so the lowest flagged byte is exact.
    const std::uint64_t hit = zero(',') | zero('\r') | zero('\n') | (x & kHigh);
    if (hit) return q + (std::countr_zero(hit) >> 3);
  }
}

// Walks the source once: onCell(begin, end) for every cell of every row in
// order, onRowEnd() after each row's last cell. Rows end at CR LF, a lone CR
// or a lone LF; one final empty line is no row. A lead byte takes the next
// byte with it unless that byte ends the line. data[size] must be '\n'.
template <class Cell, class RowEnd>
void Scan(const unsigned char* data, std::size_t size, Cell onCell, RowEnd onRowEnd) {
  const unsigned char* const end = data + size;
  const unsigned char* q = data;
  const unsigned char* cell = data;
  const unsigned char* row = data;
  for (;;) {
    q = NextSpecial(q);
    // Past the first non-ASCII byte, finish the cell byte by byte: in Japanese
    // text the word scan would stop at every character.
    for (unsigned char k; (k = kClass[*q]) < kComma;)
      q += (k == kLead && q[1] != '\r' && q[1] != '\n') ? 2 : 1;
    switch (kClass[*q]) {
      case kComma:
        onCell(cell, q);
        cell = ++q;
        break;
      default:  // a line end, or the sentinel
        if (q == end) {
          if (row != end) {
            onCell(cell, q);
            onRowEnd();
          }
          return;
        }
        onCell(cell, q);
        onRowEnd();
        q += (*q == '\r' && q + 1 < end && q[1] == '\n') ? 2 : 1;
        cell = row = q;
        break;
    }
  }
}

class Writer {
 public:
  explicit Writer(int fd) : fd_(fd), buf_(new char[kSize]) {}

  void Put(const char* s, std::size_t n) {
    if (n > kSize - used_) {
      Flush();
      if (n > kSize) {
        WriteAll(s, n);
        return;
      }
    }
    std::memcpy(buf_.get() + used_, s, n);
    used_ += n;
  }
  void Put(std::string_view s) { Put(s.data(), s.size()); }

  void Flush() {
    WriteAll(buf_.get(), used_);
    used_ = 0;
  }
  bool ok() const { return ok_; }

 private:
  static constexpr std::size_t kSize = 4 << 20;

  void WriteAll(const char* s, std::size_t n) {
    while (n > 0 && ok_) {
      const ssize_t w = ::write(fd_, s, n);
      if (w < 0 && errno == EINTR) continue;
      if (w <= 0) {
        ok_ = false;
        break;
      }
      s += w;
      n -= static_cast<std::size_t>(w);
    }
  }

  int fd_;
  std::unique_ptr<char[]> buf_;
  std::size_t used_ = 0;
  bool ok_ = true;
};

constexpr std::string_view kTop =
    "<html><head><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">"
    "<title></title></head>\r\n"
    "<body bgcolor=White text=Black>\r\n"
    "<center><table border=1 bordercolor=Black width=100% bgcolor=White cellpadding=3 cellspacing=3>\r\n"
    "<caption><font color=Black><font size=3></font size></font color></caption>\r\n";
constexpr std::string_view kBottom = "</table></center>\r\n</body>\r\n</html>\r\n";
constexpr std::string_view kRowStart = "<tr>\r\n";
constexpr std::string_view kRowEnd = "</tr>\r\n";
constexpr std::string_view kCellStart = "<td nowrap><font size=3>";
constexpr std::string_view kCellEnd = "</font></td>\r\n";

bool ReadAll(const char* path, std::unique_ptr<unsigned char[]>& data, std::size_t& size) {
  const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  size = static_cast<std::size_t>(st.st_size);
  data.reset(new unsigned char[size + 16]);
  std::size_t got = 0;
  while (got < size) {
    const ssize_t r = ::read(fd, data.get() + got, size - got);
    if (r < 0 && errno == EINTR) continue;
    if (r <= 0) break;
    got += static_cast<std::size_t>(r);
  }
  ::close(fd);
  size = got;
  std::memset(data.get() + size, '\n', 16);  // the scan's sentinel and padding
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("Usage: vornask-bench-baseline SOURCE OUTPUT\n", stderr);
    return 2;
  }
  std::unique_ptr<unsigned char[]> data;
  std::size_t size = 0;
  if (!ReadAll(argv[1], data, size)) {
    std::fprintf(stderr, "vornask-bench-baseline: cannot read %s\n", argv[1]);
    return 1;
  }

  std::size_t columns = 0;
  std::size_t cells = 0;
  Scan(
      data.get(), size, [&](const unsigned char*, const unsigned char*) { ++cells; },
      [&] {
        if (cells > columns) columns = cells;
        cells = 0;
      });

  const bool toStdout = std::strcmp(argv[2], "-") == 0;
  const int fd = toStdout ? 1 : ::open(argv[2], O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) {
    std::fprintf(stderr, "vornask-bench-baseline: cannot create %s\n", argv[2]);
    return 1;
  }
  Writer out(fd);
  out.Put(kTop);
  std::size_t column = 0;
  Scan(
      data.get(), size,
      [&](const unsigned char* begin, const unsigned char* end) {
        if (column == 0) out.Put(kRowStart);
        out.Put(kCellStart);
        out.Put(reinterpret_cast<const char*>(begin), static_cast<std::size_t>(end - begin));
        out.Put(kCellEnd);
        ++column;
      },
      [&] {
        for (; column < columns; ++column) {
          out.Put(kCellStart);
          out.Put(kCellEnd);
        }
        out.Put(kRowEnd);
        column = 0;
      });
  out.Put(kBottom);
  out.Flush();
  const bool closed = toStdout || ::close(fd) == 0;
  if (!out.ok() || !closed) {
    std::fprintf(stderr, "vornask-bench-baseline: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
