#pragma once

#include <QRect>
#include <QWidget>

#include "ui/twips.h"

namespace habuki::ui {

// A place in twips as pixels at the widget's logical resolution.
inline QRect TwipsRect(const QWidget& widget, const TwipsBox& box) {
  const int x = widget.logicalDpiX();
  const int y = widget.logicalDpiY();
  return {TwipsToPixels(box.left, x), TwipsToPixels(box.top, y), TwipsToPixels(box.width, x),
          TwipsToPixels(box.height, y)};
}

}  // namespace habuki::ui
