#include "comment/comment_choice.h"

namespace habuki {

namespace {

void Toggle(bool& clicked, bool& other) {
  if (clicked) {
    clicked = false;
  } else {
    clicked = true;
    other = false;
  }
}

}  // namespace

void ToggleCommentJ(CommentChoice& choice) { Toggle(choice.japanese, choice.english); }
void ToggleCommentE(CommentChoice& choice) { Toggle(choice.english, choice.japanese); }

}  // namespace habuki
