#pragma once

#include <QRect>
#include <QWidget>

namespace habuki::ui {

// The window's geometry is given in twips, 1440 to the inch; it becomes pixels at the screen's
// logical resolution (at 96 dots per inch, 15 twips make a pixel).
inline int TwipsToPixels(int twips, int dotsPerInch) { return (twips * dotsPerInch + 720) / 1440; }

inline QRect TwipsRect(const QWidget& widget, int left, int top, int width, int height) {
  const int x = widget.logicalDpiX();
  const int y = widget.logicalDpiY();
  return {TwipsToPixels(left, x), TwipsToPixels(top, y), TwipsToPixels(width, x),
          TwipsToPixels(height, y)};
}

}  // namespace habuki::ui
