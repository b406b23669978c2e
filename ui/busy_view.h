#pragma once

#include "ui/form1_view.h"

namespace habuki::ui {

// The view busy (the wait cursor) for as long as this lives, taken back on every way out (an
// exception included). The window loads and thins on its one thread: without it a large file
// looks like a frozen window.
class BusyView {
 public:
  explicit BusyView(Form1View& view) : view_(view) { view_.ShowBusy(true); }
  ~BusyView() { view_.ShowBusy(false); }
  BusyView(const BusyView&) = delete;
  BusyView& operator=(const BusyView&) = delete;

 private:
  Form1View& view_;
};

}  // namespace habuki::ui
