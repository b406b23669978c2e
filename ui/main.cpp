#include <QApplication>

#include "executable_folder.h"
#include "form1.h"
#include "qt_window_system.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  habuki::ui::QtWindowSystem windowSystem(habuki::ExecutableFolder());
  habuki::ui::Form1 form(windowSystem);
  form.show();
  return application.exec();
}
