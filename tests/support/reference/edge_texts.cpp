#include "tests/support/reference/edge_texts.h"

#include <cstdio>

#include "core/text/cp932_text.h"

namespace habuki::reference {

namespace {

constexpr char kLeadByte = '\x82';  // with kTrailByte: a double-byte character (hiragana "a")
constexpr char kTrailByte = '\xA0';

}  // namespace

std::string_view EdgeTexts::Pick(std::initializer_list<std::string_view> choices) {
  return choices.begin()[random_() % choices.size()];
}

std::string EdgeTexts::Next() {
  std::string text(Pick({"%\n", "%\r\n", "%\r", "", "(PMC)\r\n", "x%\n", "%\n\xE3\x81\n",
                         "\xEF\xBB\xBF%\r\n", " %\n", "% \r\n", "\t%", "\xEF\xBB\xBF"}));
  for (unsigned records = random_() % 6; records-- > 0;) text += Record();
  text += Pick({"%", "%\n", "%\r\n", "", "%\r"});
  if (OneIn(4)) text += Record() + std::string(Pick({"", "%", "\n%\n"}));
  if (OneIn(3)) Spoil(text);
  return text;
}

std::string EdgeTexts::NextSingleBytes() { return WithoutPairs(Next()); }

std::string EdgeTexts::Record() {
  std::string record = Head();
  if (OneIn(3)) {
    record += Entries();
  } else {
    record += Pick({"P", "M", "L", "P", "A", "Q", "X", "T", ""});
    record += Value();
  }
  return record + LineBreak();
}

// The head of each format ("N00001Q1", "N1005Q1", "N600000 "), and heads too short for any.
std::string EdgeTexts::Head() {
  switch (random_() % 6) {
    case 0:
      return "N1005Q1";
    case 1:
      return "N600000 ";
    case 2:
      return std::string("N1").append(random_() % 3, '0');
    default:
      return "N00001Q1";
  }
}

// Entries of one letter, now and then without a number, a marker or a value, or of another
// letter in between.
std::string EdgeTexts::Entries() {
  const char letter = Pick({"A", "L", "S", "T"})[0];
  std::string entries;
  for (unsigned count = 1 + random_() % (OneIn(8) ? 12 : 4); count-- > 0;) {
    entries += OneIn(12) ? Pick({"A", "L", "S"})[0] : letter;
    if (!OneIn(6)) entries += std::to_string(1 + random_() % 12);
    if (OneIn(6)) continue;
    entries += Pick({"P", "P", "M", "Q"});
    entries += Value();
  }
  return entries;
}

// Plain numbers of every length up to past 64 characters, zero or not, and values that are no
// plain number or no number at all.
std::string EdgeTexts::Value() {
  if (OneIn(3)) {
    return std::string(
        Pick({"",          "0",   "1",   "0.0", ".5",       "5.",        ".",
              "-0",        "+1",  "-",   " 5",  "5 ",       "0 1",       "1.2.3",
              ":",         "0\r", "0\t", "1e5", "\x82\x4F", "0\x82\xA0", std::string_view("\0", 1),
              "00000000 ", "0x1", "\xA0"}));
  }
  std::string digits(random_() % (OneIn(4) ? 80 : 20), '0');
  if (!digits.empty() && OneIn(2))
    digits[random_() % digits.size()] = static_cast<char>('1' + random_() % 9);
  if (!digits.empty() && OneIn(4)) digits[random_() % digits.size()] = '.';
  if (OneIn(5)) digits += Pick({" ", "  ", "\t", " \r"});
  return digits;
}

std::string EdgeTexts::LineBreak() { return std::string(Pick({"\n", "\r\n", "\r", "", "\n\r"})); }

// One byte overwritten with one that the filter treats specially, or that starts a pair.
void EdgeTexts::Spoil(std::string& text) {
  if (text.empty()) return;
  static constexpr char kSpoilers[] = {'\0',   'N', '%', '\r', '\n', kLeadByte, kTrailByte,
                                       '\xFF', 'P', 'M', '.',  ' ',  'A'};
  text[random_() % text.size()] = kSpoilers[random_() % sizeof kSpoilers];
}

// 0xA0 starts no pair, and a lead byte is what the filter must not take for a character.
std::string WithoutPairs(std::string bytes) {
  for (char& byte : bytes) {
    if (IsCp932LeadByte(static_cast<unsigned char>(byte))) byte = kTrailByte;
  }
  return bytes;
}

std::string Escaped(std::string_view bytes) {
  std::string escaped;
  for (const char byte : bytes) {
    const auto code = static_cast<unsigned char>(byte);
    if (byte == '\r') {
      escaped += "\\r";
    } else if (byte == '\n') {
      escaped += "\\n";
    } else if (byte == '\t') {
      escaped += "\\t";
    } else if (code < 0x20 || code >= 0x7F || byte == '\\') {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", code);
      escaped += hex;
    } else {
      escaped += byte;
    }
  }
  return escaped;
}

}  // namespace habuki::reference
