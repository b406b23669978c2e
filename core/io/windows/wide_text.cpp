#include "core/io/windows/wide_text.h"

#include <windows.h>

#include <climits>

namespace habuki {

namespace {

constexpr UINT kCp932 = 932;

// Texts are converted in pieces that the calls' int sizes can take.
constexpr std::size_t kPiece = INT_MAX / 4;

std::wstring Widen(UINT codePage, std::string_view text) {
  std::wstring wide;
  while (!text.empty()) {
    std::size_t size = std::min(text.size(), kPiece);
    // A piece must not end inside a UTF-8 sequence.
    while (codePage == CP_UTF8 && size < text.size() && (text[size] & 0xC0) == 0x80) --size;
    const int length = static_cast<int>(size);
    const int count = ::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0);
    const std::size_t at = wide.size();
    wide.resize(at + static_cast<std::size_t>(count));
    ::MultiByteToWideChar(codePage, 0, text.data(), length, wide.data() + at, count);
    text.remove_prefix(size);
  }
  return wide;
}

}  // namespace

std::wstring WideFromUtf8(std::string_view utf8) { return Widen(CP_UTF8, utf8); }

std::wstring WideFromCp932(std::string_view cp932) { return Widen(kCp932, cp932); }

std::string Utf8FromWide(std::wstring_view wide) {
  const int length = static_cast<int>(wide.size());
  const int count =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(count), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), length, utf8.data(), count, nullptr, nullptr);
  return utf8;
}

}  // namespace habuki
