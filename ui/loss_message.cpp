#include "ui/loss_message.h"

#include <string>

#include "ui/window_texts.h"

namespace habuki::ui {

std::string LossMessage(const FilterStats& stats) {
  const std::pair<Pos, const char*> losses[] = {{stats.recordsUnhandled, kLossUnhandled},
                                                {stats.recordsLostAfterEnd, kLossAfterEnd},
                                                {stats.entriesUnmarked, kLossUnmarked}};
  std::string lines;
  for (const auto& [count, line] : losses) {
    if (count != 0) lines += WithArg(line, std::to_string(count));
  }
  return lines.empty() ? std::string() : kLossStart + lines;
}

}  // namespace habuki::ui
