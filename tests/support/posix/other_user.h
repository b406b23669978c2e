#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>

namespace habuki::test {

// The user "nobody", for checks that need a user other than the one running the tests.
inline constexpr uid_t kOtherUser = 65534;
inline constexpr gid_t kOtherGroup = 65534;

// Runs `work` in a child process as kOtherUser when the tests run as root, as the test's own
// user otherwise; gives the value `work` returned, or -1 if the child did not end normally.
int RunAsOtherUser(const std::function<int()>& work);

// Hands a file or folder to kOtherUser (only root can).
void GiveToOtherUser(const std::filesystem::path& file);

}  // namespace habuki::test
