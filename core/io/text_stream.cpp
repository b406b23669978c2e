#include "core/io/text_stream.h"

#include <string_view>

#include "core/io/file_writing.h"
#include "core/io/system_calls.h"

namespace habuki {

TextStream::Buffer::Buffer(int descriptor)
    : descriptor_(descriptor), terminal_(IsTerminal(descriptor)) {}

TextStream::Buffer::int_type TextStream::Buffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  pending_.push_back(traits_type::to_char_type(c));
  if (c == '\n') WriteLines();
  return c;
}

std::streamsize TextStream::Buffer::xsputn(const char* text, std::streamsize size) {
  pending_.append(text, static_cast<std::size_t>(size));
  WriteLines();
  return size;
}

int TextStream::Buffer::sync() {
  const std::string_view text = pending_;
  const std::error_code error =
      terminal_ ? WriteToTerminal(descriptor_, text) : WriteToDescriptor(descriptor_, text);
  pending_.clear();
  return error ? -1 : 0;
}

void TextStream::Buffer::WriteLines() {
  const std::size_t end = pending_.rfind('\n');
  if (end == std::string::npos) return;
  const std::string rest = pending_.substr(end + 1);
  pending_.resize(end + 1);
  sync();
  pending_ = rest;
}

TextStream::TextStream(int descriptor) : std::ostream(nullptr), buffer_(descriptor) {
  rdbuf(&buffer_);
}

TextStream::~TextStream() { buffer_.pubsync(); }

}  // namespace habuki
