#include "core/io/write_refusal.h"

#include <string>

namespace habuki {

namespace {

class WriteRefusalCategory : public std::error_category {
 public:
  const char* name() const noexcept override { return "habuki write"; }
  std::string message(int refusal) const override {
    switch (static_cast<WriteRefusal>(refusal)) {
      case WriteRefusal::DanglingLink:
        return "not writing through a dangling symbolic link";
      case WriteRefusal::TargetMoved:
        return "the file was moved or replaced while it was being checked; not replacing it";
      case WriteRefusal::AclNotKept:
        return "its ACL cannot be kept; not replacing it";
      case WriteRefusal::AttributesNotKept:
        return "its extended attributes cannot be kept; not replacing it";
      case WriteRefusal::OtherUsersFile:
        return "it belongs to another user in a folder that others may write (the sticky bit "
               "is set); not writing to it, as the system's protected_regular rule refuses it";
      case WriteRefusal::AppendOnlyFolder:
        return "its folder is append-only: it takes new files, but none in it can be replaced";
      case WriteRefusal::NameTaken:
        return "another program made a file of that name meanwhile; not replacing it";
    }
    return "refused";
  }
};

}  // namespace

std::error_code make_error_code(WriteRefusal refusal) {
  static const WriteRefusalCategory category;
  return {static_cast<int>(refusal), category};
}

}  // namespace habuki
