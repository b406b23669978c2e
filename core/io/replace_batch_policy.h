#pragma once

#include <random>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include "core/io/temporary_name.h"

// The policy that a replace batch follows on every system; posix/ and windows/ hold only the
// system calls it is carried out with.
namespace habuki {

// Records a result before its temporary exists, then has `fill` make and write the temporary:
// whatever happens from there on, an exception included, the result is either kept whole or
// removed (by `discard`) and forgotten.
template <typename Pending, typename Prepare, typename Fill, typename Discard>
std::error_code AddPending(std::vector<Pending>& pending, Prepare prepare, Fill fill,
                           Discard discard) {
  Pending& added = pending.emplace_back();
  std::error_code error;
  try {
    prepare(added);
    error = fill(added);
  } catch (...) {
    discard(added);
    pending.pop_back();
    throw;
  }
  if (error) {
    discard(added);
    pending.pop_back();
  }
  return error;
}

// Draws short temporary names until `create` makes a file under one, up to a hundred of them:
// a name another file has taken is no failure, but a folder where a hundred are taken is full
// of others' files. `create(name)` gives its result and whether the name was taken.
template <typename Create>
auto CreateUnderNewName(std::mt19937& random, Create create) {
  auto [made, taken] = create(TemporaryName(random));
  for (int attempt = 1; attempt < 100 && taken; ++attempt) {
    std::tie(made, taken) = create(TemporaryName(random));
  }
  return made;
}

}  // namespace habuki
