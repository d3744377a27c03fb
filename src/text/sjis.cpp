#include "text/sjis.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "text/failure.h"

namespace vornask::sjis {
namespace {

struct Entry {
  std::uint16_t code;
  std::uint16_t unit;
  bool canonical;
};

constexpr Entry kEntries[] = {
#include "text/cp932_table.inc"
};

struct Tables {
  std::array<char16_t, 256> single{};                // 0 = not a character
  std::unique_ptr<char16_t[]> pair{new char16_t[0x10000]()};
  std::unique_ptr<std::uint16_t[]> encode{new std::uint16_t[0x10000]()};
  std::array<bool, 0x10000> encodable{};

  Tables() {
    for (const Entry& e : kEntries) {
      if (e.code < 0x100) {
        single[e.code] = e.unit;
      } else if (e.canonical) {
        pair[e.code] = e.unit;
      }
      if (e.canonical) {
        encode[e.unit] = e.code;
        encodable[e.unit] = true;
      }
    }
    // NUL travels as a raw byte so that no text control drops it.
    single[0] = kRawByteBase;
    encodable[0] = true;
    for (unsigned b = 0; b < 0x100; ++b) {
      encode[kRawByteBase + b] = static_cast<std::uint16_t>(b);
      encodable[kRawByteBase + b] = true;
    }
  }
};

const Tables& T() {
  static const Tables tables;
  return tables;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Reads one UTF-8 character at `i`; an invalid byte reads as U+FFFD, length 1.
char32_t NextUtf8(std::string_view s, std::size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  int len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
  if (len == 1) {
    ++i;
    return b0;
  }
  if (len == 0 || i + len > s.size()) {
    ++i;
    return 0xFFFD;
  }
  char32_t c = b0 & (0x3F >> (len - 1));
  for (int k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) {
      ++i;
      return 0xFFFD;
    }
    c = (c << 6) | (b & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kMin[len] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++i;
    return 0xFFFD;
  }
  i += len;
  return c;
}

bool EncodeOne(char32_t c, std::string& out) {
  const Tables& t = T();
  if (c > 0xFFFF || !t.encodable[c]) return false;
  const std::uint16_t code = t.encode[c];
  if (code > 0xFF) out += static_cast<char>(code >> 8);
  out += static_cast<char>(code & 0xFF);
  return true;
}

bool IsHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

std::u16string Decode(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  out.resize(DecodeInto(bytes, out.data()));
  return out;
}

std::size_t DecodeInto(std::string_view bytes, char16_t* out) {
  const Tables& t = T();
  char16_t* const start = out;
  const std::size_t n = bytes.size();
  for (std::size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80 && b != 0) {
      *out++ = static_cast<char16_t>(b);
      ++i;
      continue;
    }
    if (IsLeadByte(b)) {
      const auto trail = i + 1 < n ? static_cast<unsigned char>(bytes[i + 1]) : 0;
      const bool inRange = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
      if (inRange) {
        const char16_t u = t.pair[(b << 8) | trail];
        if (u != 0) {
          *out++ = u;
        } else {
          // Kept as a pair, as the cell grid reads it, but as raw bytes.
          *out++ = static_cast<char16_t>(kRawByteBase + b);
          *out++ = static_cast<char16_t>(kRawByteBase + trail);
        }
        i += 2;
        continue;
      }
      *out++ = static_cast<char16_t>(kRawByteBase + b);
      ++i;
      continue;
    }
    const char16_t u = t.single[b];
    *out++ = u != 0 ? u : static_cast<char16_t>(kRawByteBase + b);
    ++i;
  }
  return static_cast<std::size_t>(out - start);
}

std::string DecodeToUtf8(std::string_view bytes) { return ToUtf8(Decode(bytes)); }

bool Encode(std::u16string_view text, std::string& out, Unencodable* bad) {
  out.reserve(out.size() + text.size() * 2);
  std::size_t line = 1;
  const std::size_t n = text.size();
  for (std::size_t i = 0; i < n; ++i) {
    char32_t c = text[i];
    if (c == u'\n' || (c == u'\r' && (i + 1 >= n || text[i + 1] != u'\n'))) ++line;
    if (c < 0x80 && c != 0) {
      out += static_cast<char>(c);
      continue;
    }
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
    }
    if (!EncodeOne(c, out)) {
      if (bad) *bad = Unencodable{c, line};
      return false;
    }
  }
  return true;
}

std::string UnencodableMessage(const Unencodable& bad) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(bad.character));
  std::string shown;
  AppendUtf8(shown, bad.character);
  return "文字 \"" + shown + "\" (" + code + ", " + std::to_string(bad.line) +
         " 行目) は Shift_JIS で保存できません";
}

std::string FromUtf8(std::string_view utf8, Fallback fallback) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t line = 1;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80 && b != 0) {
      if (b == '\n') ++line;
      out += static_cast<char>(b);
      ++i;
      continue;
    }
    const std::size_t start = i;
    const char32_t c = NextUtf8(utf8, i);
    const bool invalid = c == 0xFFFD && i == start + 1 && b >= 0x80;
    if (!invalid && EncodeOne(c, out)) continue;
    char buf[16];
    switch (fallback) {
      case Fallback::Fail:
        throw Failure(UnencodableMessage(Unencodable{c, line}));
      case Fallback::PercentUtf8:
        for (std::size_t k = start; k < i; ++k) {
          std::snprintf(buf, sizeof buf, "%%%02X", static_cast<unsigned char>(utf8[k]));
          out += buf;
        }
        break;
      case Fallback::CharacterReference:
        std::snprintf(buf, sizeof buf, "&#x%X;", static_cast<unsigned>(c));
        out += buf;
        break;
    }
  }
  return out;
}

std::string ExpandCharacterReferences(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    if (utf8.compare(i, 3, "&#x") == 0) {
      std::size_t j = i + 3;
      char32_t c = 0;
      while (j < utf8.size() && IsHex(utf8[j]) && j - i < 11) {
        const char h = utf8[j];
        c = c * 16 + (h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
        ++j;
      }
      std::string probe;
      if (j > i + 3 && j < utf8.size() && utf8[j] == ';' && c <= 0x10FFFF &&
          !(c >= 0xD800 && c <= 0xDFFF) && !EncodeOne(c, probe)) {
        AppendUtf8(out, c);
        i = j + 1;
        continue;
      }
    }
    out += utf8[i++];
  }
  return out;
}

std::string ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::u16string FromUtf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    const char32_t c = NextUtf8(utf8, i);
    if (c >= 0x10000) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

}  // namespace vornask::sjis
