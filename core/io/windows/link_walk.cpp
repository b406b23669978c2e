#include "core/io/link_walk.h"

namespace habuki {

// Windows resolves links and junctions as it opens the final path, which is what
// weakly_canonical asks it for; the part that does not exist yet stays as written. No name
// stands for a descriptor of this process here.
NameDestination FollowLinks(const std::filesystem::path& name) {
  std::error_code error;
  std::filesystem::path reached = std::filesystem::weakly_canonical(name, error);
  if (error) reached = std::filesystem::absolute(name, error).lexically_normal();
  return {reached, std::nullopt};
}

}  // namespace habuki
