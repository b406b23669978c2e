#include "core/io/user_config_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace habuki {
namespace {

// Sets an environment variable, or unsets it for nullptr, until it ends.
class Environment {
 public:
  Environment(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~Environment() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(UserConfigFolder, FollowsXdgConfigHomeThenHome) {
  const Environment home("HOME", "/home/someone");
  {
    const Environment config("XDG_CONFIG_HOME", "/elsewhere/config");
    EXPECT_EQ(UserConfigFolder(), "/elsewhere/config/habuki");
  }
  for (const char* ignored : {static_cast<const char*>(nullptr), "relative/config"}) {
    const Environment config("XDG_CONFIG_HOME", ignored);
    EXPECT_EQ(UserConfigFolder(), "/home/someone/.config/habuki");
  }
  const Environment config("XDG_CONFIG_HOME", nullptr);
  const Environment noHome("HOME", nullptr);
  EXPECT_EQ(UserConfigFolder(), "");
}

}  // namespace
}  // namespace habuki
