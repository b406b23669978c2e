#pragma once

#include <string>
#include <string_view>

namespace habuki {

// Turns CP932 text into UTF-8 with the system's own tables: iconv's on POSIX systems, code page
// 932 of Windows there. Both are Microsoft's mapping; bytes that neither maps to a character
// (0x80, 0xA0, 0xFD to 0xFF alone, unassigned pairs) are left to the caller on both.
class Cp932Decoder {
 public:
  Cp932Decoder();
  Cp932Decoder(const Cp932Decoder&) = delete;
  Cp932Decoder& operator=(const Cp932Decoder&) = delete;
  ~Cp932Decoder();

  // Whether the system has the tables at all.
  bool valid() const;
  // Converts `in` onto `out` up to its end or up to the first character it cannot convert, which
  // it leaves at the front of `in`; gives false there.
  bool Convert(std::string_view& in, std::string& out);

 private:
  void* state_;  // the system's converter
};

}  // namespace habuki
