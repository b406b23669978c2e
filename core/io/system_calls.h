#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "core/io/file_identity.h"

namespace habuki {

// The calls on open files that each system makes in its own way. Descriptors are the C
// runtime's: POSIX file descriptors, or on Windows those of _wopen and _open_osfhandle, always
// in binary mode.

enum class FileKind { Regular, Directory, Other };

struct DescriptorStatus {
  FileKind kind = FileKind::Other;
  std::uint64_t size = 0;  // a regular file's size
  FileIdentity identity;   // a regular file's identity
};

std::error_code StatusOf(int descriptor, DescriptorStatus& status);
// Where the next read of a regular file starts.
std::error_code PositionOf(int descriptor, std::uint64_t& position);
// Reads at most `size` bytes: how many, 0 at the end, or an error.
std::error_code ReadSome(int descriptor, char* data, std::size_t size, std::size_t& got);
// Opens a file to read it; with `noWaiting`, a named pipe without a writer is not waited for.
// Gives -1 and the error when it cannot.
int OpenToRead(const std::filesystem::path& path, bool noWaiting, std::error_code& error);
void CloseDescriptor(int descriptor);

// Whether the descriptor is a terminal (on Windows a console) that text is shown on.
bool IsTerminal(int descriptor);
// Whether `path` names one (/dev/tty, CON): opened to ask, without waiting, and closed again.
bool NamesATerminal(const std::filesystem::path& path);
// Shows UTF-8 text on the terminal on `descriptor` as text, whatever the terminal's encoding.
std::error_code WriteToTerminal(int descriptor, std::string_view utf8);

}  // namespace habuki
