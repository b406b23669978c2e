// The text and filter rooms built a second time without the vector instructions' macro (see
// thinning_looks.h), held to the build the programs use: whole runs on the same texts must give
// the same bytes, the same counts and the same places for the messages to name.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "bench/param_generator.h"
#include "core/io/param_file.h"
#include "tests/core/thinning_looks.h"
#include "tests/support/reference/edge_texts.h"
#include "tests/support/test_support.h"

namespace habuki::test {
namespace {

#ifdef HABUKI_SANITIZED
constexpr int kEdgeTexts = 1000;
#else
constexpr int kEdgeTexts = 5000;
#endif

// Both builds on `text`, its format guessed and thinned in every format, with and without a
// comment, by RunFilter and by RunFilterOnCodes; the first difference.
::testing::AssertionResult BuildsAgreeOn(std::string_view text, std::string_view only = "") {
  const std::string nativeGuess = habuki_native_build::Guessed(text);
  const std::string portableGuess = habuki_portable_build::Guessed(text);
  if (nativeGuess != portableGuess) {
    return ::testing::AssertionFailure() << "guessed\n"
                                         << nativeGuess << "\nnatively, but\n"
                                         << portableGuess;
  }
  for (const int kind : {0, 1, 2}) {
    for (const char* comment : {static_cast<const char*>(nullptr), "comment \x82\xA0"}) {
      for (const bool byCodes : {false, true}) {
        const thinning_looks::Run run{text, kind, comment, byCodes, only};
        const thinning_looks::Looks native = habuki_native_build::Thin(run);
        const thinning_looks::Looks portable = habuki_portable_build::Thin(run);
        if (native == portable) continue;
        auto failure = ::testing::AssertionFailure()
                       << "format " << kind << (comment ? " with a comment" : "")
                       << (byCodes ? " by RunFilterOnCodes" : " by RunFilter") << ": ";
        if (native.outcome != portable.outcome) {
          return failure << "natively\n" << native.outcome << "\nbut\n" << portable.outcome;
        }
        const auto apart = std::mismatch(native.out.begin(), native.out.end(), portable.out.begin(),
                                         portable.out.end());
        return failure << "the results part at byte " << apart.first - native.out.begin() << " of "
                       << native.out.size() << " and " << portable.out.size();
      }
    }
  }
  return ::testing::AssertionSuccess();
}

TEST(PortableBuild, IsBuiltWithoutTheVectorInstructions) {
  EXPECT_FALSE(habuki_portable_build::BuiltWithVectorInstructions());
}

// As the files are, as the program loads them (every line ending in CR LF), and with a choice of
// numbers.
TEST(PortableBuild, ThinsTheBackupsAsTheNativeBuildDoes) {
  for (const auto& [file, kind] : KnownBackups()) {
    const std::string bytes = ReadBytes(file);
    FilterState loaded;
    ASSERT_TRUE(LoadParamBytes(loaded, bytes)) << file;
    EXPECT_TRUE(BuildsAgreeOn(bytes)) << file;
    EXPECT_TRUE(BuildsAgreeOn(loaded.AllText.Bytes())) << file << " loaded";
    EXPECT_TRUE(BuildsAgreeOn(bytes, "1000-1999,6700")) << file << " with --only";
  }
}

TEST(PortableBuild, ThinsGeneratedAndOddTextsAsTheNativeBuildDoes) {
  EXPECT_TRUE(BuildsAgreeOn(bench::GenerateShaped30i(2000)));
  EXPECT_TRUE(BuildsAgreeOn(bench::GenerateShaped16i(2000)));
  EXPECT_TRUE(BuildsAgreeOn(bench::GenerateAdversarial30i(20000)));
  for (const auto& entry : std::filesystem::recursive_directory_iterator(HABUKI_FUZZ_CORPUS_DIR)) {
    if (entry.is_regular_file()) {
      EXPECT_TRUE(BuildsAgreeOn(ReadBytes(entry.path()))) << entry.path();
    }
  }
  reference::EdgeTexts texts(20261207);
  for (int i = 0; i < kEdgeTexts; ++i) {
    const std::string text = i % 2 == 0 ? texts.NextSingleBytes() : texts.Next();
    ASSERT_TRUE(BuildsAgreeOn(text)) << reference::Escaped(text);
  }
}

}  // namespace
}  // namespace habuki::test
