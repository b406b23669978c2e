#pragma once

#include <QString>
#include <string_view>

namespace habuki::ui {

// How a pane shows a text: decoded from CP932 (bytes that are no character show as U+FFFD),
// each CR LF, CR or LF as one line break. For display only: the commands never read it back.
QString PaneText(std::string_view cp932);

}  // namespace habuki::ui
