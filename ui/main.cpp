#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <optional>

#include "comment/comment_folders.h"
#include "core/executable_folder.h"
#include "habuki/version.h"
#include "ui/form1.h"
#include "ui/qt_translations.h"
#include "ui/qt_window_system.h"

namespace {

void DescribeArguments(QCommandLineParser& parser) {
  parser.setApplicationDescription(QString::fromUtf8(
      "ハブキ丸: the window that thins FANUC CNC parameter files, leaving out every parameter,\n"
      "and every entry of a multi-value parameter, whose value is 0. Comment files are looked\n"
      "for in $XDG_CONFIG_HOME/habuki (or ~/.config/habuki), then beside the program; the\n"
      "window leaves ｺﾒﾝﾄ.txt in the first of these folders."));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QString::fromUtf8("A parameter file to open at start, as ﾌｧｲﾙ > "
                                                 "開く would."),
                               QStringLiteral("[FILE]"));
}

void NameTheApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("habuki-gui"));
  QCoreApplication::setApplicationVersion(QString::fromUtf8(habuki::kVersionText));
}

// --help and --version are answered before the window system starts, so that they work
// without a display. Anything else is left to the window's own parsing.
std::optional<int> AnswerWithoutDisplay(int argc, char** argv) {
  int count = argc;
  const QCoreApplication arguments(count, argv);
  NameTheApplication();
  QCommandLineParser parser;
  DescribeArguments(parser);
  parser.parse(QCoreApplication::arguments());
  if (parser.isSet(QStringLiteral("help"))) {
    std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::printf("habuki-gui %s\n", habuki::kVersionText);
    return 0;
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (const std::optional<int> answered = AnswerWithoutDisplay(argc, argv)) return *answered;
  QApplication application(argc, argv);
  NameTheApplication();
  QTranslator translator;
  if (habuki::ui::LoadQtTranslations(translator, QLocale::system())) {
    application.installTranslator(&translator);
  }

  QCommandLineParser parser;
  DescribeArguments(parser);
  parser.process(application);

  habuki::ui::QtWindowSystem windowSystem(habuki::ExecutableFolder(), habuki::UserConfigFolder());
  habuki::ui::Form1 form(windowSystem);
  form.show();
  if (!parser.positionalArguments().isEmpty()) {
    form.OpenFile(QFileInfo(parser.positionalArguments().constFirst()).absoluteFilePath());
  }
  return application.exec();
}
