#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace habuki {

struct ParameterNamesReading;

// Names a user gives parameters in a names file, to show beside their numbers.
class ParameterNames {
 public:
  // The name of a parameter, by its number as a backup writes it: leading zeros do not count, so
  // "01020" finds the name of 1020. None for a number without a name or a text that is no
  // number. A view of this object's bytes.
  std::optional<std::string_view> NameOf(std::string_view number) const;

  std::size_t size() const { return names_.size(); }

 private:
  friend ParameterNamesReading ParseParameterNames(std::string_view bytes);

  // Numbers in the order the comparisons give them, where "01020" and "1020" are one.
  struct ByNumber {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
  };
  // Names `number` as line `line` of the file does; what is wrong when it has a name already.
  std::string Add(std::string_view number, std::string name, std::size_t line);

  struct Named {
    std::string name;  // UTF-8
    std::size_t line;  // where the file names it
  };
  std::map<std::string, Named, ByNumber> names_;
};

// A bad line of a names file, and what is wrong with it.
struct NamesFileError {
  std::size_t line = 0;  // as an editor numbers it
  std::string problem;   // UTF-8, the file's bytes in it escaped as EscapeControls escapes them

  // "line 3: no comma between the number and the name"
  std::string Message() const;
};

struct ParameterNamesReading {
  ParameterNames names;                // nothing when there are errors
  std::vector<NamesFileError> errors;  // every bad line, in the order of the file
};

// Reads the bytes of a names file: one parameter a line, its number of 1 to 9 digits, a comma,
// then its name, which is the rest of the line without the blanks around it and may hold commas.
// A name in double quotes, as a spreadsheet saves one with a comma or a quote in it, loses them
// and has each doubled quote inside taken as one. Lines that are blank or start with "#" say
// nothing. Lines end with LF or CR LF. The bytes are UTF-8, after a byte order mark or without;
// bytes that are no UTF-8 are read as CP932, which a spreadsheet in Japanese saves, and the names
// turned into UTF-8. Every bad line is told at once, so that the file is put right in one go.
ParameterNamesReading ParseParameterNames(std::string_view bytes);

}  // namespace habuki
