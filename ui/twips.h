#pragma once

namespace habuki::ui {

// The window's geometry is given in twips, 1440 to the inch; it becomes pixels at the screen's
// logical resolution (at 96 dots per inch, 15 twips make a pixel).
inline constexpr int TwipsToPixels(int twips, int dotsPerInch) {
  return (twips * dotsPerInch + 720) / 1440;
}

struct TwipsBox {
  int left;
  int top;
  int width;
  int height;
};

// Where the window's controls stand, as the window was drawn, relative to the client area (the
// option buttons relative to their frame). Every view lays them out from here; a resize moves
// nothing.
inline constexpr TwipsBox kClientArea{0, 0, 6780, 5535};
inline constexpr TwipsBox kCommand1Box{3960, 4800, 2175, 615};
inline constexpr TwipsBox kText1Box{120, 480, 3375, 4140};
inline constexpr TwipsBox kText2Box{3600, 480, 3015, 4140};
inline constexpr TwipsBox kLabel1Box{240, 120, 6015, 255};
inline constexpr TwipsBox kFrame1Box{240, 4680, 2775, 735};
inline constexpr TwipsBox kOption1Box{120, 120, 1215, 255};
inline constexpr TwipsBox kOption2Box{120, 360, 1095, 255};
inline constexpr TwipsBox kOption3Box{1320, 120, 1335, 255};

}  // namespace habuki::ui
