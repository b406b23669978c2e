#pragma once

#include <QString>
#include <filesystem>
#include <string_view>

#include "core/io/path_text.h"

namespace habuki::ui {

// Between Form1's UTF-8 texts and paths and Qt's strings.
inline QString QtText(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

inline QString QtPath(const std::filesystem::path& path) { return QtText(Utf8Of(path)); }

inline std::filesystem::path PathOf(const QString& text) {
  return PathFromUtf8(text.toStdString());
}

}  // namespace habuki::ui
