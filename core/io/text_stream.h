#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace habuki {

// An output stream of UTF-8 text to a descriptor, such as standard error: shown as text where
// the descriptor is a terminal (on Windows a console, which takes UTF-16), written as bytes
// elsewhere. Text goes out a line at a time, so that no character is ever split.
class TextStream : public std::ostream {
 public:
  explicit TextStream(int descriptor);
  ~TextStream() override;

 private:
  class Buffer : public std::streambuf {
   public:
    explicit Buffer(int descriptor);
    int sync() override;

   protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* text, std::streamsize size) override;

   private:
    void WriteLines();
    int descriptor_;
    bool terminal_;
    std::string pending_;
  };

  Buffer buffer_;
};

}  // namespace habuki
