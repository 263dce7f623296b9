// Entry of the game program nrv7.
#include <QApplication>
#include <QStringList>

#include <cstdio>
#include <string>

#include "clipboard.h"
#include "dialogs.h"
#include "display_choice.h"
#include "import_dialog.h"
#include "rv7game.h"
#include "rv7log.h"
#include "services.h"
#include "solver_command.h"
#include "tone.h"

namespace {

constexpr char kLogModule[] = "rv7game";
constexpr char kProgramName[] = "nrv7";
constexpr int kNoWindowExitCode = 1;

// The command-line text: the arguments after the program name, joined by blanks (what is
// left after the toolkit took its own options).
std::string CommandLineText(const QStringList& arguments) {
  return arguments.mid(1).join(QLatin1Char(' ')).toStdString();
}

// Without a sound device a refused action rings the display's bell instead.
void RingDisplayBell() {
  QApplication::beep();
}

}  // namespace

int main(int argc, char** argv) {
  // The toolkit aborts on a display it cannot open; say so and end cleanly instead.
  const DisplayDecision display =
      ChooseDisplay(DisplaySettingsOf(argc, argv), SystemDisplayProbes());
  if (display.choice != DisplayChoice::kWindow) {
    std::fprintf(stderr, "%s\n", NoWindowText(kProgramName, display).c_str());
    return kNoWindowExitCode;
  }
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  SetBeepFallback(&RingDisplayBell);
  InstallDialogServices(Services());
  InstallSolverService(Services());
  InstallClipboardServices(Services());
  InstallImportService(Services());
  const std::string command_line = CommandLineText(QApplication::arguments());
  LogSelectProgram(kGameLog);
  LogSetProgramIdentity(command_line.c_str());
  RV7_ENTRY();
  RV7_LOG(kLogInfo, "cmdline=%s", command_line.c_str());
  RV7_LOG(kLogInfo, "path=%s, name=%s", LogProgramDirectory(), LogProgramName());
  LoadSettings();
  main2();
  SaveSettings();
  RV7_EXIT_RC(0);
  return 0;
}
