#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Shift_JIS as Windows writes it (code page 932), decoded losslessly: every
// byte sequence decodes to text that encodes back to the same bytes.
namespace vornask::sjis {

constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Bytes that are no Shift_JIS character (invalid bytes, lone lead bytes,
// unassigned pairs, pairs Windows would write differently, NUL) decode to
// kRawByteBase + byte, a private-use range that no Shift_JIS character uses.
inline constexpr char16_t kRawByteBase = 0xF700;

std::u16string Decode(std::string_view bytes);
// Decodes into `out`, which has room for bytes.size() units; returns the
// number of units written.
std::size_t DecodeInto(std::string_view bytes, char16_t* out);
std::string DecodeToUtf8(std::string_view bytes);

// Where a text could not be encoded: the character and its 1-based line.
struct Unencodable {
  char32_t character = 0;
  std::size_t line = 0;
};

// Encodes text; a line break in it is whatever the text holds (CR, LF). On a
// character Shift_JIS cannot hold, returns false and says which in `bad`.
bool Encode(std::u16string_view text, std::string& out, Unencodable* bad = nullptr);

// How UTF-8 text is encoded when a character has no Shift_JIS form.
enum class Fallback {
  Fail,                // throw Failure naming the character and its line
  PercentUtf8,         // "%E2%82%AC": for addresses written into a page
  CharacterReference,  // "&#x20AC;": for captions and settings texts
};
std::string FromUtf8(std::string_view utf8, Fallback fallback);

// Reverses Fallback::CharacterReference: "&#xHHHH;" becomes the character, but
// only for characters that Shift_JIS cannot hold (the encoder writes no other).
std::string ExpandCharacterReferences(std::string_view utf8);

// The message for a character that cannot be saved, e.g. for the editor.
std::string UnencodableMessage(const Unencodable& bad);

// UTF-8 helpers.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8ToUtf16(std::string_view utf8);

}  // namespace vornask::sjis
