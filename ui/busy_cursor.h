#pragma once

#include <QApplication>

namespace habuki::ui {

// The wait cursor over the whole program for as long as it lives, taken back on every way out
// (an exception included). The window loads and thins on its one thread: without it a large
// file looks like a frozen window.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace habuki::ui
