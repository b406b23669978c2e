#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <filesystem>

#include "core/io/executable_folder.h"
#include "core/io/program_start.h"
#include "core/io/user_config_folder.h"
#include "core/text/utf16_text.h"
#include "ui/win32/win32_form1_view.h"

// The window, with the parameter file named on the command line, if any, opened as ﾌｧｲﾙ > 開く
// would open it.
int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  // The file dialogs use the shell's objects, which need COM on this thread.
  if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) {
    return 1;
  }
  const std::vector<std::string> arguments = habuki::Utf8Arguments(0, nullptr);
  int status = 0;
  {
    habuki::ui::win32::Win32Form1View window(
        instance,
        {habuki::ExecutableFolder(), habuki::UserConfigFolder(), habuki::UserHomeFolder()});
    window.Show(show);
    if (arguments.size() > 1) {
      std::error_code error;
      const std::filesystem::path file(habuki::WideFromUtf8(arguments[1]));
      const std::filesystem::path absolute = std::filesystem::absolute(file, error);
      window.form().OpenFile(error ? file : absolute);
    }
    status = window.Run();
  }
  ::CoUninitialize();
  return status;
}
