#include <gtest/gtest.h>

#include <QProcess>

#include "habuki/version.h"

namespace habuki::ui {
namespace {

// The built program, run with its arguments where there is no display at all, as from a plain
// terminal or a script: help, the version and wrong arguments are answered without one.
TEST(GuiArguments, AnsweredWithoutADisplay) {
  struct Case {
    QStringList arguments;
    int status;
    const char* output;  // what standard output or standard error holds
  };
  const Case cases[] = {
      {{"--help-all"}, 0, "--platform <platformName[:options]>"},
      {{"--help"}, 0, "[FILE]"},
      {{"--version"}, 0, kVersionText},
      {{"--bogus"}, 2, "habuki-gui: Unknown option 'bogus'."},
      {{"-platform", "offscreen", "--bogus", "a.txt"}, 2, "habuki-gui: Unknown option 'bogus'."},
      {{"--platform"}, 2, "habuki-gui: Missing value after '--platform'."}};
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    environment.remove(QLatin1String(name));
  }
  for (const Case& run : cases) {
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(HABUKI_GUI_PROGRAM), run.arguments);
    ASSERT_TRUE(program.waitForFinished(30000)) << run.arguments.join(' ').toStdString();
    const QString output =
        QString::fromLocal8Bit(program.readAllStandardOutput() + program.readAllStandardError());
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << run.arguments.join(' ').toStdString();
    EXPECT_EQ(program.exitCode(), run.status) << run.arguments.join(' ').toStdString();
    EXPECT_TRUE(output.contains(QString::fromUtf8(run.output))) << output.toStdString();
  }
}

}  // namespace
}  // namespace habuki::ui
