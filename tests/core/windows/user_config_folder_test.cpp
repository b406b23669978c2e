#include "core/io/user_config_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace habuki {
namespace {

// Windows tells where the user's roaming application data lives; habuki's folder is in it,
// whether or not it exists yet.
TEST(UserConfigFolder, IsHabukiInAnExistingFolderOfTheUser) {
  const std::filesystem::path folder = UserConfigFolder();
  EXPECT_TRUE(folder.is_absolute()) << folder;
  EXPECT_EQ(folder.filename(), "habuki");
  EXPECT_TRUE(std::filesystem::is_directory(folder.parent_path())) << folder;
}

}  // namespace
}  // namespace habuki
