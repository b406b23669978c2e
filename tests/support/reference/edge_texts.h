#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace habuki::reference {

// Small parameter texts made to meet the filter's edges: records with short or missing heads,
// single values and runs of entries, values of every length around the 16- and 64-character
// looks, bad values ("P0 1", "P1.2.3", "P:", empty), entries without a marker or a number,
// CR, LF and CR LF mixed, double-byte characters, NUL, a missing or early "%" and text after it.
// The same generator state gives the same texts.
class EdgeTexts {
 public:
  explicit EdgeTexts(std::uint32_t seed) : random_(seed) {}

  // A text of any bytes, and one whose characters are single bytes (no CP932 lead byte).
  std::string Next();
  std::string NextSingleBytes();

 private:
  std::string Record();
  std::string Head();
  std::string Entries();
  std::string Value();
  std::string LineBreak();
  void Spoil(std::string& text);

  bool OneIn(unsigned n) { return random_() % n == 0; }
  std::string_view Pick(std::initializer_list<std::string_view> choices);

  std::mt19937 random_;
};

// `bytes` with every CP932 lead byte made 0xA0, which starts no pair: a text whose characters
// are single bytes, which the filter reads as bytes, with the odd bytes of `bytes` kept.
std::string WithoutPairs(std::string bytes);

// `bytes` with every byte that is not printable ASCII, and the backslash, written as \xHH, \r,
// \n or \t, for a message that shows an input whole.
std::string Escaped(std::string_view bytes);

}  // namespace habuki::reference
