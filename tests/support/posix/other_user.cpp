#include "tests/support/posix/other_user.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace habuki::test {

int RunAsOtherUser(const std::function<int()>& work) {
  const pid_t child = ::fork();
  if (child == 0) {
    const bool switched =
        ::geteuid() != 0 ||
        (::setgroups(0, nullptr) == 0 && ::setgid(kOtherGroup) == 0 && ::setuid(kOtherUser) == 0);
    ::_exit(switched ? work() : 120);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

void GiveToOtherUser(const std::filesystem::path& file) {
  ASSERT_EQ(::chown(file.c_str(), kOtherUser, kOtherGroup), 0) << file;
}

}  // namespace habuki::test
