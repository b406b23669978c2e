#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <optional>
#include <string>

#include "core/io/executable_folder.h"
#include "core/io/exit_status.h"
#include "core/io/user_config_folder.h"
#include "habuki/version.h"
#include "ui/qt/qt_form1_view.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/qt_translations.h"

namespace {

// The options Qt's window system takes from the command line itself, with the texts of Qt's own
// help: known to the first parse, so that they are not taken for unknown options, and listed by
// --help-all. The last ones Qt takes without listing them.
struct QtOption {
  const char* name;
  const char* valueName;  // empty for a flag
  const char* description;
  bool listed = true;
};

constexpr QtOption kQtOptions[] = {
    {"qmljsdebugger", "value",
     "Activates the QML/JS debugger with a specified port. The value must be of format "
     "port:1234[,block]. \"block\" makes the application wait for a connection."},
    {"platform", "platformName[:options]",
     "QPA plugin. See QGuiApplication documentation for available options for each plugin."},
    {"platformpluginpath", "path", "Path to the platform plugins."},
    {"platformtheme", "theme", "Platform theme."},
    {"plugin", "plugin", "Additional plugins to load, can be specified multiple times."},
    {"qwindowgeometry", "geometry",
     "Window geometry for the main window, using the X11-syntax, like 100x100+50+50."},
    {"qwindowicon", "icon", "Default window icon."},
    {"qwindowtitle", "title", "Title of the first window."},
    {"reverse", "", "Sets the application's layout direction to Qt::RightToLeft."},
    {"session", "session", "Restores the application from an earlier session."},
    {"display", "display", "The X server to use.", false},
    {"geometry", "geometry", "Window geometry for the main window.", false},
    {"style", "style", "The widget style.", false},
    {"stylesheet", "file", "The widget style sheet.", false},
    {"widgetcount", "", "Prints the number of widgets left at the end.", false},
};

enum class QtOptionsShown { No, Yes };

void DescribeArguments(QCommandLineParser& parser, QtOptionsShown qtOptions) {
  const std::string description =
      "ハブキ丸: the window that thins FANUC CNC parameter files, leaving out every parameter,\n"
      "and every entry of a multi-value parameter, whose value is 0. Comment files are looked\n"
      "for in " +
      std::string(habuki::kUserConfigFolderName) +
      ", then beside the program;\n"
      "the window leaves ｺﾒﾝﾄ.txt in the first of these folders.";
  parser.setApplicationDescription(QString::fromStdString(description));
  // Qt's own options are written with one dash as well as two: "-platform" is one option.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  parser.addHelpOption();
  parser.addVersionOption();
  for (const QtOption& qt : kQtOptions) {
    QCommandLineOption option(QString::fromLatin1(qt.name), QString::fromLatin1(qt.description),
                              QString::fromLatin1(qt.valueName));
    if (qtOptions == QtOptionsShown::No || !qt.listed) {
      option.setFlags(QCommandLineOption::HiddenFromHelp);
    }
    parser.addOption(option);
  }
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QString::fromUtf8("A parameter file to open at start, as ﾌｧｲﾙ > "
                                                 "開く would."),
                               QStringLiteral("[FILE]"));
}

void NameTheApplication() {
  QCoreApplication::setApplicationName(QStringLiteral("habuki-gui"));
  QCoreApplication::setApplicationVersion(QString::fromUtf8(habuki::kVersionText));
}

void Print(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
}

// What the command line asks for: an answer given at once (help, version, a usage error), or
// the window, with the file to open at start, if any.
struct Request {
  std::optional<int> answered;  // the exit status
  QString file;
};

// Every argument is read before the window system starts, so that help, the version and a
// wrong argument are answered without a display; Qt's own options are left for it to take.
Request ReadArguments(int argc, char** argv) {
  int count = argc;
  const QCoreApplication arguments(count, argv);
  NameTheApplication();
  QCommandLineParser parser;
  DescribeArguments(parser, QtOptionsShown::No);
  if (!parser.parse(QCoreApplication::arguments())) {
    Print(stderr, QStringLiteral("habuki-gui: %1\nTry 'habuki-gui --help' for more.\n")
                      .arg(parser.errorText()));
    return {habuki::kExitUsage, {}};
  }
  if (parser.isSet(QStringLiteral("help"))) {
    Print(stdout, parser.helpText());
    return {0, {}};
  }
  if (parser.isSet(QStringLiteral("help-all"))) {
    QCommandLineParser all;
    DescribeArguments(all, QtOptionsShown::Yes);
    Print(stdout, all.helpText());
    return {0, {}};
  }
  if (parser.isSet(QStringLiteral("version"))) {
    std::printf("habuki-gui %s\n", habuki::kVersionText);
    return {0, {}};
  }
  const QStringList files = parser.positionalArguments();
  return {std::nullopt,
          files.isEmpty() ? QString() : QFileInfo(files.constFirst()).absoluteFilePath()};
}

}  // namespace

int main(int argc, char** argv) {
  const Request request = ReadArguments(argc, argv);
  if (request.answered) return *request.answered;
  QApplication application(argc, argv);
  NameTheApplication();
  QTranslator translator;
  if (habuki::ui::LoadQtTranslations(translator, QLocale::system())) {
    application.installTranslator(&translator);
  }

  habuki::ui::QtForm1View window(
      {habuki::ExecutableFolder(), habuki::UserConfigFolder(), habuki::UserHomeFolder()});
  window.show();
  if (!request.file.isEmpty()) window.form().OpenFile(habuki::ui::PathOf(request.file));
  return application.exec();
}
