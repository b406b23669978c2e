#include "core/text/cp932_decoder.h"

#include <iconv.h>

#include <cerrno>

namespace habuki {

namespace {

iconv_t Handle(void* state) { return static_cast<iconv_t>(state); }

}  // namespace

Cp932Decoder::Cp932Decoder() : state_(::iconv_open("UTF-8", "CP932")) {}

Cp932Decoder::~Cp932Decoder() {
  if (valid()) ::iconv_close(Handle(state_));
}

bool Cp932Decoder::valid() const { return Handle(state_) != reinterpret_cast<iconv_t>(-1); }

bool Cp932Decoder::Convert(std::string_view& in, std::string& out) {
  char buffer[4096];
  char* source = const_cast<char*>(in.data());
  std::size_t sourceLeft = in.size();
  bool ok = true;
  while (sourceLeft > 0 && ok) {
    char* target = buffer;
    std::size_t targetLeft = sizeof buffer;
    ok = ::iconv(Handle(state_), &source, &sourceLeft, &target, &targetLeft) !=
             static_cast<std::size_t>(-1) ||
         errno == E2BIG;
    out.append(buffer, static_cast<std::size_t>(target - buffer));
  }
  in.remove_prefix(in.size() - sourceLeft);
  return ok;
}

}  // namespace habuki
