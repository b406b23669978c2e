#include "tests/support/reference/plain_decimal.h"

#include <array>

namespace habuki::reference {

namespace {

enum State { Lead, Signed, Whole, Point, Fraction, Trail, Reject, kStates };
enum Symbol { Blank, Sign, Digit, Dot, Other, kSymbols };

// Next state for each state and symbol. A number ends in Whole, Point after digits, Fraction or
// Trail; Point straight after the sign or the blanks still needs a digit.
constexpr std::array<std::array<State, kSymbols>, kStates> kNext{{
    /* Lead     */ {Lead, Signed, Whole, Point, Reject},
    /* Signed   */ {Reject, Reject, Whole, Point, Reject},
    /* Whole    */ {Trail, Reject, Whole, Point, Reject},
    /* Point    */ {Trail, Reject, Fraction, Reject, Reject},
    /* Fraction */ {Trail, Reject, Fraction, Reject, Reject},
    /* Trail    */ {Trail, Reject, Reject, Reject, Reject},
    /* Reject   */ {Reject, Reject, Reject, Reject, Reject},
}};

Symbol Classify(char16_t c) {
  switch (c) {
    case u' ':
    case u'\t':
    case u'\r':
    case u'\n':
      return Blank;
    case u'+':
    case u'-':
      return Sign;
    case u'.':
      return Dot;
    default:
      return c >= u'0' && c <= u'9' ? Digit : Other;
  }
}

}  // namespace

std::optional<PlainNumber> ReadPlainNumber(std::u16string_view value) {
  State state = Lead;
  PlainNumber number{true};
  bool sawDigit = false;
  for (const char16_t c : value) {
    const Symbol symbol = Classify(c);
    if (symbol == Digit) {
      sawDigit = true;
      number.zero = number.zero && c == u'0';
    }
    state = kNext[state][symbol];
  }
  // "." alone, or a sign and ".", gets as far as Point or Trail without a digit.
  const bool complete = state == Whole || state == Point || state == Fraction || state == Trail;
  if (!complete || !sawDigit) return std::nullopt;
  return number;
}

}  // namespace habuki::reference
