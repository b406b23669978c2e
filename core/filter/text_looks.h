#pragma once

#include <optional>

#include "core/filter/text_place.h"
#include "core/text/cp932_text.h"

namespace habuki {

// What a text that holds no record head looks like, for the message that refuses it.
enum class Resemblance {
  Binary,   // control bytes a text has not: an image, an archive, a workbook
  Json,     // a JSON document, habuki's own --to json among them
  Table,    // a CSV or tab-separated table, habuki's own --to csv among them
  Program,  // a part program: lines with sequence numbers such as "N10 G01 X10."
  Text,     // any other text
};

struct TextLooks {
  Resemblance kind = Resemblance::Text;
  std::optional<TextPlace> example;  // the line that shows it, for a table or a program
};

TextLooks LooksOf(const Cp932Text& text);

}  // namespace habuki
