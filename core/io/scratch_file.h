#pragma once

#include <memory>
#include <string>
#include <system_error>

#include "core/io/file_reading.h"

namespace habuki {

// A private place for a library that writes only to files it opens by name (libxlsxwriter): a
// folder of its own, made new in the system's temporary folder ($TMPDIR, /tmp when that is unset
// or empty; %TEMP% on Windows) and readable, writable and searchable by its owner alone, for the
// library's own temporary files, and in it the one file whose bytes the program reads back.
// Another user who may write the temporary folder, even one who owns it, can neither swap a name
// inside it nor read what is written there. A signal or Ctrl-C that ends the program meanwhile
// removes the folder with everything in it (see InterruptCleanup), and so does the end of the
// ScratchFile.
//
// On Linux the library is given both through the descriptors the program holds (/proc/self/fd),
// and the file has no name at all where the file system allows (O_TMPFILE); what the program
// reads back is the file it made, whatever happens to any name meanwhile.
class ScratchFile {
 public:
  ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile();

  // Why the folder or the file could not be made; nothing else is asked of it then.
  std::error_code error() const { return error_; }
  // Where the folder is, or was to be made, for messages.
  const std::string& Place() const { return place_; }
  // The folder and the file, as UTF-8 paths for the library to open.
  const std::string& Utf8Folder() const { return utf8Folder_; }
  const std::string& Utf8Path() const { return utf8Path_; }
  // The file's whole contents, from its start, within `limit` as ReadDescriptor reads.
  FileContents ReadBack(ReadLimit limit) const;

 private:
  // What each system holds to remove the folder: descriptors and a watch, or paths.
  struct State;
  std::unique_ptr<State> state_;
  std::error_code error_;
  std::string place_;
  std::string utf8Folder_;
  std::string utf8Path_;
};

}  // namespace habuki
