#pragma once

#include <system_error>

namespace habuki {

// Why a file was not written where the system has no error number for it.
enum class WriteRefusal {
  DanglingLink = 1,   // the target is a symbolic link to a file that does not exist
  TargetMoved,        // the file checked no longer stands where it was found
  AclNotKept,         // the ACL of the file to replace cannot be given to its successor
  AttributesNotKept,  // nor can its extended attributes
  OtherUsersFile,     // another user's file or pipe in a shared folder with the sticky bit
  AppendOnlyFolder,   // a folder that takes new names but lets none be replaced
  NameTaken,          // a new file's name was taken by another program meanwhile
};
std::error_code make_error_code(WriteRefusal refusal);

}  // namespace habuki

template <>
struct std::is_error_code_enum<habuki::WriteRefusal> : std::true_type {};
