#include "core/text/cp932_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/filter/detect_format.h"
#include "core/filter/run_filter.h"
#include "core/text/cp932_decoder.h"
#include "core/text/display_text.h"
#include "core/text/utf16_text.h"
#include "tests/support/test_support.h"
#include "tests/support/test_system.h"

namespace habuki {
namespace {

TEST(Cp932Text, EveryByteSequenceComesBackUnchanged) {
  std::string all;
  for (int lead = 0; lead < 256; ++lead) {
    for (int second : {0x00, 0x0A, 0x0D, 0x3F, 0x40, 0x4E, 0x7E, 0x7F, 0x80, 0xFC, 0xFD, 0xFF}) {
      all.push_back(static_cast<char>(lead));
      all.push_back(static_cast<char>(second));
    }
  }
  all.push_back('\x81');  // a lead byte at the very end
  EXPECT_EQ(Cp932Text::FromBytes(all).Bytes(), all);
}

TEST(Cp932Text, DoubleByteCharacterCountsAsOnePosition) {
  const Cp932Text text = Cp932Text::FromBytes(
      "\x83\x4E"
      "N\x81\x7F\x82"
      "A\xFD\x41");
  // ク, N, a lone 0x81 (0x7F is no trail byte), 0x7F, the pair 0x82 0x41, 0xFD, A
  EXPECT_EQ(text.size(), 7u);
  EXPECT_EQ(text.codes()[0], u'\x834E');
  EXPECT_EQ(text.codes()[1], u'N');
  EXPECT_EQ(text.codes()[2], u'\x81');
  EXPECT_EQ(text.codes()[4], u'\x8241');
  EXPECT_EQ(text.codes()[6], u'A');
}

TEST(Cp932Text, TrailBytesAreNeverTakenForLetters) {
  // ク ends in "N", ケ in "P" and ギ in "M": none of them may start or end a record.
  const std::string ku = "\x83\x4E", ke = "\x83\x50", gi = "\x83\x4D";
  const std::string first = "N" + ku + ke + gi + "0001P5\r\n";  // a head of 8 characters
  const std::string entry = "A2" + gi + ke + "P7\r\n";
  FilterState state = test::StateWithText("%\r\n" + first + "N00002Q1A1P0" + entry + "%\r\n");
  const FilterOutcome outcome = RunFilter(state, FormatKind::Fs30i, false);
  ASSERT_TRUE(outcome.produced) << (outcome.error ? Describe(outcome.error->kind) : "");
  EXPECT_EQ(outcome.stats.recordsRead, 2);
  EXPECT_EQ(state.OutText.Bytes(), "%\n" + first + "N00002Q1" + entry + "%");
  // A ク before the first record is not its "N" either: the first "N" is at position 4.
  EXPECT_EQ(DetectFormat(Cp932Text::FromBytes(ku + "%\r\nN1")), FormatKind::Fs16i);
}

TEST(Cp932Text, InvalidBytesInAKeptRecordAreKeptExactly) {
  // The head and the part of an entry between its letter and its marker are never examined, so
  // any bytes may stand there: NUL, 0x1A, bytes CP932 does not use, a lead byte without trail.
  const std::string head = std::string(
      "N\xFD\xFE\x00\x1A\x85\x40"
      "Q1",
      9);
  const std::string entry = std::string("A\x81\x7F\xA0P5", 6);
  FilterState state = test::StateWithText("%\r\n" + head + entry + "A2P0\r\n%\r\n");
  state.CommentText = Cp932Text::FromBytes("\xFF\x80");
  ASSERT_TRUE(RunFilter(state, FormatKind::Fs30i, true).produced);
  EXPECT_EQ(state.OutText.Bytes(), "\xFF\x80\n%\n" + head + entry + "\n%");
}

// Every lead byte makes one character with the "N" after it, at both ends of both lead ranges:
// a pair before the first record puts that record's "N" at position 7, past the fifth, which
// makes the text a PMC text. A lead byte that did not lead would leave a lone "N" at 5.
TEST(Cp932Text, EveryLeadByteTakesTheNAfterIt) {
  for (const char lead : {'\x81', '\x9F', '\xE0', '\xEF', '\xF0', '\xFC'}) {
    const std::string pair{lead, 'N'};
    EXPECT_EQ(Cp932Text::FromBytes(pair).size(), 1u) << int(lead & 0xFF);
    EXPECT_EQ(DetectFormat(Cp932Text::FromBytes("%\r\n" + pair + "\r\nN00001Q1P5\r\n")),
              FormatKind::Pmc)
        << int(lead & 0xFF);
  }
  for (const char notLead : {'\x80', '\xA0', '\xDF', '\xFD'}) {
    EXPECT_EQ(Cp932Text::FromBytes(std::string{notLead, 'N'}).size(), 2u) << int(notLead & 0xFF);
  }
}

// What a message or a table shows of a name: UTF-8 as it is, controls and every byte that is no
// part of UTF-8 escaped, so that neither a terminal nor a document is broken by a name.
TEST(DisplayText, NamesAreEscapedWhereTheyAreNoUtf8) {
  const std::pair<std::string_view, std::string_view> shown[] = {
      {"機械1.txt", "機械1.txt"},
      {"a\x1B[2Jb", "a\\x1B[2Jb"},
      {"a\xC2\x9B"
       "b",
       "a\\x9Bb"},  // C1 CSI in UTF-8
      {"a\x9B"
       "2Jb",
       "a\\x9B2Jb"},                                 // a lone CSI byte
      {"\x8B\x40\x8A\x42.txt", "\\x8B@\\x8AB.txt"},  // CP932 機械
      {"\xE0\x80\xAF \xED\xA0\x80 \xF4\x90\x80\x80",
       "\\xE0\\x80\\xAF \\xED\\xA0\\x80 \\xF4\\x90\\x80\\x80"},
  };
  for (const auto& [name, message] : shown) {
    EXPECT_EQ(EscapeControls(name), message) << name;
  }
  EXPECT_EQ(Utf8Escaped("機械\x95\x73.txt\x1B"), "機械\\x95s.txt\x1B");
  EXPECT_TRUE(IsUtf8("機械 ﾊﾌﾞｷ"));
  EXPECT_FALSE(IsUtf8("\xC0\xAF"));
}

// habuki's own table against the system's converter, on every single byte and every lead byte
// with every trail byte: the same character, or none on both, but for the single bytes that
// some systems map to control or private characters and habuki shows as no character.
TEST(Cp932Decoder, AgreesWithTheSystemOnEveryCharacter) {
  std::vector<std::string> characters;
  for (int first = 0; first < 256; ++first) {
    characters.emplace_back(1, static_cast<char>(first));
    if (!IsCp932LeadByte(static_cast<unsigned char>(first))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail != 0x7F) characters.push_back({static_cast<char>(first), static_cast<char>(trail)});
    }
  }
  int differences = 0;
  for (const std::string& character : characters) {
    const char32_t code = Cp932Character(character);
    std::optional<std::string> ours;
    if (code != kNoCp932Character) AppendUtf8(ours.emplace(), code);
    const bool refused =
        character == "\x80" || character == "\xA0" ||
        (character.size() == 1 && static_cast<unsigned char>(character[0]) >= 0xFD);
    const std::optional<std::string> expected =
        refused ? std::nullopt : test::SystemCp932ToUtf8(character);
    if (ours != expected && ++differences <= 5) {
      ADD_FAILURE() << EscapeControls(Utf8Escaped(character)) << ": habuki "
                    << (ours ? *ours : "none") << ", the system "
                    << (expected ? *expected : "none");
    }
  }
  EXPECT_EQ(differences, 0);
  EXPECT_EQ(Cp932ToUtf8("\x80\xA0\xFD\x81 \x85\x40\x82\xA0"), "\uFFFD\uFFFD\uFFFD\uFFFD \uFFFDあ");
}

// UTF-8 and UTF-16 as Windows' wide calls take them: every plane, and U+FFFD for what is not
// valid, a byte or a lone surrogate each.
TEST(Utf16Text, ConvertsBothWaysAndReplacesWhatIsNotValid) {
  const std::string text = "A\u00E9\u6A5F\uFF8A\U0001F600";
  EXPECT_EQ(Utf16FromUtf8(text), u"A\u00E9\u6A5F\uFF8A\U0001F600");
  EXPECT_EQ(Utf8FromUtf16(Utf16FromUtf8(text)), text);
  EXPECT_EQ(Utf16FromUtf8("a\xFF\xE6\xA9"
                          "b"),
            u"a\uFFFD\uFFFD\uFFFDb");
  EXPECT_EQ(Utf8FromUtf16(std::u16string{u'a', 0xD800, u'b', 0xDC00}), "a\uFFFDb\uFFFD");
}

}  // namespace
}  // namespace habuki
