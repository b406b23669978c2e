#include "core/io/link_walk.h"

#include <unistd.h>

#include <charconv>
#include <climits>
#include <string>
#include <string_view>
#include <vector>

namespace habuki {

namespace {

// As many links as the kernel follows on one path before it gives up (ELOOP).
constexpr int kMostLinks = 40;

std::optional<int> NumberIn(std::string_view digits) {
  int number = -1;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc{} || end != digits.data() + digits.size() || number < 0) {
    return std::nullopt;
  }
  return number;
}

// This process, or one of its threads: "self" and "thread-self" (which /proc makes links to the
// ids, but which name this process without /proc too), the process's id, or an id that
// /proc/self/task lists, the first one being the process itself.
bool IsOwnTask(const std::string& id) {
  if (id == "self" || id == "thread-self") return true;
  const std::optional<int> number = NumberIn(id);
  if (!number) return false;
  return *number == ::getpid() || ::access(("/proc/self/task/" + id).c_str(), F_OK) == 0;
}

// The descriptor an entry of this process's descriptor folder stands for: /proc/ID/fd/N or
// /proc/ID/task/ID/fd/N, each ID being this process or one of its threads.
std::optional<int> OwnDescriptor(const std::filesystem::path& path) {
  const std::vector<std::string> parts(path.begin(), path.end());
  const std::size_t size = parts.size();
  if ((size != 5 && size != 7) || parts[1] != "proc" || parts[size - 2] != "fd") {
    return std::nullopt;
  }
  if (size == 7 && (parts[3] != "task" || !IsOwnTask(parts[4]))) return std::nullopt;
  if (!IsOwnTask(parts[2])) return std::nullopt;
  return NumberIn(parts.back());
}

// What the symbolic link `path` holds; none when it is no link (or is missing).
std::optional<std::string> LinkText(const std::filesystem::path& path) {
  char text[PATH_MAX];
  const ssize_t size = ::readlink(path.c_str(), text, sizeof text);
  if (size < 0 || static_cast<std::size_t>(size) >= sizeof text) return std::nullopt;
  return std::string(text, static_cast<std::size_t>(size));
}

// Puts the components of `path` in front of those still to walk (which are kept last first).
void PutInFront(std::vector<std::string>& pending, const std::filesystem::path& path) {
  std::vector<std::string> parts;
  for (const std::filesystem::path& part : path.relative_path()) {
    if (!part.empty() && part != ".") parts.push_back(part.string());
  }
  pending.insert(pending.end(), parts.rbegin(), parts.rend());
}

}  // namespace

NameDestination FollowLinks(const std::filesystem::path& name) {
  std::error_code error;
  std::vector<std::string> pending;
  PutInFront(pending, std::filesystem::absolute(name, error));
  std::filesystem::path reached = "/";
  int links = 0;
  while (!pending.empty()) {
    const std::string part = std::move(pending.back());
    pending.pop_back();
    if (part == "..") {
      reached = reached.parent_path();
      continue;
    }
    std::filesystem::path next = reached / part;
    if (pending.empty()) {
      if (const std::optional<int> descriptor = OwnDescriptor(next)) {
        return {next, descriptor, next.native()};
      }
    }
    const std::optional<std::string> link =
        links < kMostLinks ? LinkText(next) : std::optional<std::string>();
    if (!link) {
      reached = std::move(next);
      continue;
    }
    ++links;
    if (std::filesystem::path(*link).is_absolute()) reached = "/";
    PutInFront(pending, *link);
  }
  return {reached, std::nullopt, reached.native()};
}

}  // namespace habuki
