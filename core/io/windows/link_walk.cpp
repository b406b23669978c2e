#include "core/io/link_walk.h"

#include <windows.h>

namespace habuki {

namespace {

// File systems on Windows compare names without regard to case, by Unicode's capitals.
std::wstring InCapitals(const std::wstring& path) {
  std::wstring capitals(path.size(), L'\0');
  const int size = static_cast<int>(path.size());
  ::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, path.c_str(), size, capitals.data(), size,
                  nullptr, nullptr, 0);
  return capitals;
}

}  // namespace

// Windows resolves links and junctions as it opens the final path, which is what
// weakly_canonical asks it for; the part that does not exist yet stays as written. No name
// stands for a descriptor of this process here.
NameDestination FollowLinks(const std::filesystem::path& name) {
  std::error_code error;
  std::filesystem::path reached = std::filesystem::weakly_canonical(name, error);
  if (error) reached = std::filesystem::absolute(name, error).lexically_normal();
  std::wstring key = InCapitals(reached.native());
  return {std::move(reached), std::nullopt, std::move(key)};
}

}  // namespace habuki
