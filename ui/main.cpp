#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>

#include "core/executable_folder.h"
#include "habuki/version.h"
#include "ui/form1.h"
#include "ui/qt_window_system.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("habuki-gui"));
  QApplication::setApplicationVersion(QString::fromUtf8(habuki::kVersionText));

  QCommandLineParser parser;
  parser.setApplicationDescription(QString::fromUtf8(
      "ハブキ丸: the window that thins FANUC CNC parameter files, leaving out every parameter,\n"
      "and every entry of a multi-value parameter, whose value is 0."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QString::fromUtf8("A parameter file to open at start, as ﾌｧｲﾙ > "
                                                 "開く would."),
                               QStringLiteral("[FILE]"));
  parser.process(application);

  habuki::ui::QtWindowSystem windowSystem(habuki::ExecutableFolder());
  habuki::ui::Form1 form(windowSystem);
  form.show();
  if (!parser.positionalArguments().isEmpty()) {
    form.OpenFile(QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath());
  }
  return application.exec();
}
