#include <string>
#include <vector>

#include "cli/habuki_cli.h"
#include "comment/comment_folders.h"
#include "core/io/executable_folder.h"
#include "core/io/program_start.h"
#include "core/io/system_calls.h"
#include "core/io/text_stream.h"
#include "core/io/user_config_folder.h"

int main(int argc, char** argv) {
  habuki::UseBinaryStandardStreams();
  habuki::EndOnInterrupt();
  habuki::TreatClosedPipesAsErrors();
  const std::vector<std::string> arguments = habuki::Utf8Arguments(argc, argv);
  std::vector<const char*> pointers;
  for (const std::string& argument : arguments) pointers.push_back(argument.c_str());
  habuki::TextStream err(2);
  habuki::CliIo io{{},
                   err,
                   habuki::IsTerminal(1),
                   habuki::CommentFolders(habuki::UserConfigFolder(), habuki::ExecutableFolder()),
                   habuki::IsTerminal(0),
                   habuki::UserConfigFolder()};
  return habuki::RunHabuki(static_cast<int>(pointers.size()), pointers.data(), io);
}
