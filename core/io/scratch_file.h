#pragma once

#include <memory>
#include <string>
#include <system_error>

#include "core/io/file_reading.h"

namespace habuki {

// A private temporary file for a library that writes only to a file it opens by name, whose
// bytes the program then reads back. It is made new (never a file that was there), readable
// and writable by its owner alone, under a short random name in the system's temporary folder;
// a signal or Ctrl-C that ends the program meanwhile removes it (see InterruptCleanup), and so
// does the end of the ScratchFile.
//
// The program holds it open from the moment it is made, and reads it back through that
// descriptor: what it reads is the file it made, whatever happens to the name meanwhile.
class ScratchFile {
 public:
  ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile();

  // Why the file could not be made; nothing else is asked of it then.
  std::error_code error() const { return error_; }
  // Its path as UTF-8, for the library to open.
  const std::string& Utf8Path() const { return utf8Path_; }
  // Its whole contents, from its start, within `limit` as ReadDescriptor reads.
  FileContents ReadBack(ReadLimit limit) const;

 private:
  // What each system holds to remove the file: its folder and a watch, or its path.
  struct State;
  std::unique_ptr<State> state_;
  std::error_code error_;
  std::string utf8Path_;
};

}  // namespace habuki
