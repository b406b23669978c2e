#pragma once

namespace habuki {

// Which comment line leads a result: the check marks of the two settings menu items. At most one
// is set; neither means no comment. The program starts with the Japanese comment.
struct CommentChoice {
  bool japanese = true;
  bool english = false;

  bool WithComment() const { return japanese || english; }
};

// Clicking a checked item clears it; clicking an unchecked one checks it and clears the other.
void ToggleCommentJ(CommentChoice& choice);
void ToggleCommentE(CommentChoice& choice);

}  // namespace habuki
