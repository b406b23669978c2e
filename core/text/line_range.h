#pragma once

#include <cstddef>
#include <iterator>
#include <string_view>

#include "core/text/cp932_text.h"

namespace habuki {

// The lines of a loaded text, which ends each of them with CR LF (see line_breaks.h): views into
// the text's bytes, without their CR LF, found as they are asked for. A line holds no CR, so a
// file of ten million empty lines costs no memory beyond its text.
class LineRange {
 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = const std::string_view*;
    using reference = const std::string_view&;

    Iterator() = default;
    explicit Iterator(std::string_view rest) : rest_(rest) {
      line_ = rest.substr(0, rest.find('\r'));
    }

    reference operator*() const { return line_; }
    pointer operator->() const { return &line_; }
    Iterator& operator++() { return *this = Iterator(rest_.substr(line_.size() + 2)); }
    Iterator operator++(int) {
      const Iterator before = *this;
      ++*this;
      return before;
    }
    friend bool operator==(const Iterator& a, const Iterator& b) {
      return a.rest_.size() == b.rest_.size();
    }

   private:
    std::string_view rest_;  // this line and all after it
    std::string_view line_;
  };

  LineRange() = default;
  explicit LineRange(Cp932Text text) : text_(std::move(text)) {}

  Iterator begin() const { return Iterator(text_.Bytes()); }
  Iterator end() const { return Iterator(text_.Bytes().substr(text_.Bytes().size())); }
  bool empty() const { return text_.empty(); }
  std::size_t size() const;
  std::string_view front() const { return *begin(); }
  std::string_view back() const;

 private:
  Cp932Text text_;
};

}  // namespace habuki
