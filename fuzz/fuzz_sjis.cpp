// The Shift_JIS codec: any bytes decode and encode back to themselves, and
// the UTF-8 paths (settings texts, page texts) survive their round trips.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text/failure.h"
#include "text/sjis.h"

namespace sjis = vornask::sjis;

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// Valid UTF-8 in which every character could come back unchanged: no NUL
// (it travels as a raw byte), nothing from the raw-byte range, no text that
// already looks like a character reference.
bool PlainText(std::string_view utf8) {
  if (utf8.find("&#x") != std::string_view::npos || utf8.find('\0') != std::string_view::npos) return false;
  const std::u16string units = sjis::FromUtf8ToUtf16(utf8);
  for (char16_t u : units)
    if (u == 0xFFFD || (u >= sjis::kRawByteBase && u <= sjis::kRawByteBase + 0xFF)) return false;
  return sjis::ToUtf8(units) == utf8;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // Bytes -> text -> bytes, for every byte string.
  const std::u16string text = sjis::Decode(bytes);
  Check(text.size() <= bytes.size());
  std::string back;
  vornask::sjis::Unencodable bad;
  Check(sjis::Encode(text, back, &bad));
  Check(back == bytes);
  // The same through UTF-8, as settings lines and messages take it.
  const std::string utf8 = sjis::DecodeToUtf8(bytes);
  Check(sjis::FromUtf8(utf8, sjis::Fallback::Fail) == bytes);

  // The bytes read as UTF-8 (as a path or caption from the window would be).
  const std::string asPage = sjis::FromUtf8(bytes, sjis::Fallback::PercentUtf8);
  const std::string asLine = sjis::FromUtf8(bytes, sjis::Fallback::CharacterReference);
  const std::string expanded = sjis::ExpandCharacterReferences(sjis::DecodeToUtf8(asLine));
  try {
    const std::string strict = sjis::FromUtf8(bytes, sjis::Fallback::Fail);
    Check(strict == asPage && strict == asLine);  // no fallback was needed
  } catch (const vornask::Failure& failure) {
    Check(std::string_view(failure.what()).find("Shift_JIS") != std::string_view::npos);
  }
  if (PlainText(bytes)) {
    // A character Shift_JIS cannot hold is kept as a reference and read back.
    Check(expanded == bytes);
    std::string encoded;
    if (!sjis::Encode(sjis::FromUtf8ToUtf16(bytes), encoded, &bad)) {
      Check(bad.line >= 1);
      Check(!sjis::UnencodableMessage(bad).empty());
    } else {
      Check(sjis::DecodeToUtf8(encoded) == bytes);
    }
  }
  return 0;
}
