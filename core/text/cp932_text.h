#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace habuki {

// A text read from an 8-bit CP932 file, kept as the very bytes that were read: never converted
// to Unicode, never re-encoded. Its characters are a lead byte followed by a trail byte, or a
// single byte of any other value, valid or not. Positions count characters, and a letter is only
// ever matched as a whole character (the trail byte of ク is never an "N").
//
// Where no two bytes make one character, which is the rule for parameter files, every character
// is its own byte and the filter reads the bytes directly. Only a text with double-byte
// characters needs codes(): one 16-bit code per character, a single byte b as b, a pair as
// lead << 8 | trail. Copies share the bytes, which never change.
class Cp932Text {
 public:
  Cp932Text() = default;
  // Takes the bytes over.
  explicit Cp932Text(std::string bytes);
  // Bytes that `owner` keeps in memory, such as a file read with room to grow.
  Cp932Text(std::shared_ptr<const void> owner, std::string_view bytes);

  static Cp932Text FromBytes(std::string_view bytes);

  std::string_view Bytes() const { return bytes_; }
  bool HasDoubleByteCharacters() const { return doubleByte_; }
  std::u16string codes() const;
  std::size_t size() const;  // in characters
  bool empty() const { return bytes_.empty(); }

  friend bool operator==(const Cp932Text& a, const Cp932Text& b) { return a.bytes_ == b.bytes_; }

 private:
  std::shared_ptr<const void> owner_;
  std::string_view bytes_;
  bool doubleByte_ = false;
};

bool IsCp932LeadByte(unsigned char byte);
bool IsCp932TrailByte(unsigned char byte);

// How many bytes the character at the front of `bytes` takes, as the parameter files split
// text: two for a lead byte followed by a trail byte, else one. `bytes` must not be empty.
std::size_t Cp932CharacterLength(std::string_view bytes);

// Whether any lead byte of `bytes` is followed by a trail byte, making one character of two.
bool HasDoubleByteCharacters(std::string_view bytes);

// The characters of `bytes` as codes (see Cp932Text).
std::u16string DecodeCp932(std::string_view bytes);

// Appends the original bytes of the given characters: of codes, or of single-byte characters,
// which are their bytes.
void AppendBytes(std::string& bytes, std::u16string_view codes);
inline void AppendBytes(std::string& bytes, std::string_view characters) {
  bytes.append(characters);
}

}  // namespace habuki
