#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace habuki {

// A text read from an 8-bit CP932 file, split into characters but never converted to Unicode.
// Each character is one code: a single byte b is kept as b, a double-byte character as
// lead << 8 | trail. Positions therefore count characters, a letter is only ever matched as a
// whole character (the trail byte of ク is never an "N"), and Bytes() gives back exactly the
// bytes that were read, whatever they were.
class Cp932Text {
 public:
  Cp932Text() = default;
  explicit Cp932Text(std::u16string codes) : codes_(std::move(codes)) {}

  static Cp932Text FromBytes(std::string_view bytes);
  std::string Bytes() const;

  std::u16string_view codes() const { return codes_; }
  std::size_t size() const { return codes_.size(); }
  bool empty() const { return codes_.empty(); }

  friend bool operator==(const Cp932Text&, const Cp932Text&) = default;

 private:
  std::u16string codes_;
};

bool IsCp932LeadByte(unsigned char byte);
bool IsCp932TrailByte(unsigned char byte);

// Appends the original bytes of the given character codes.
void AppendBytes(std::string& bytes, std::u16string_view codes);

}  // namespace habuki
