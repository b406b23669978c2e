#include "ui/form1.h"

#include <string>

#include "habuki/version.h"
#include "ui/window_texts.h"

namespace habuki::ui {

Form1::Form1(Form1View& view) : view_(view) {
  CDG.fileTypes = kFileTypes;
  SetTitle();
  ShowCommentChoice();
}

void Form1::SetTitle() {
  view_.SetTitle(std::string(kTitleStart) + "Ver" + std::to_string(kVersionMajor) + "." +
                 std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision));
}

void Form1::ToggleCommentJ() {
  habuki::ToggleCommentJ(comments_);
  ShowCommentChoice();
}

void Form1::ToggleCommentE() {
  habuki::ToggleCommentE(comments_);
  ShowCommentChoice();
}

// The check marks are the comment choice; a click on an item does not check it by itself.
void Form1::ShowCommentChoice() {
  view_.SetChecked(MenuItem::mnuCommentJ, comments_.japanese);
  view_.SetChecked(MenuItem::mnuCommentE, comments_.english);
}

}  // namespace habuki::ui
