#include "core/filter/format_profile.h"

namespace habuki {

namespace {

// Real-valued 30i parameters are written with "M" instead of "P" (N11863Q1M0.0), both as a
// record kind and as an entry's value marker.
constexpr FormatProfile kFs30i{8, u"PM", u"ALST", u"PM", false};
constexpr FormatProfile kFs16i{7, u"P", u"A", u"P", false};
constexpr FormatProfile kPmc{8, u"P", u"", u"", true};

}  // namespace

const FormatProfile& ProfileFor(FormatKind kind) {
  switch (kind) {
    case FormatKind::Fs30i:
      return kFs30i;
    case FormatKind::Fs16i:
      return kFs16i;
    case FormatKind::Pmc:
      return kPmc;
  }
  return kFs30i;
}

std::string_view FormatName(FormatKind kind) {
  switch (kind) {
    case FormatKind::Fs30i:
      return "30i";
    case FormatKind::Fs16i:
      return "16i";
    case FormatKind::Pmc:
      return "pmc";
  }
  return {};
}

}  // namespace habuki
