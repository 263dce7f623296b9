#include "import_dialog.h"

#include <QFileDialog>
#include <QShowEvent>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

#include "dialogs.h"
#include "engine.h"
#include "import.h"
#include "rv7cfg.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "services.h"

namespace {

constexpr char kLogModule[] = "import";

constexpr char kDialogTitle[] = "Import Korvala Levels from .Txt File";
constexpr char kFilter[] = "Korvala Levels in .Txt File (*.txt)";
constexpr char kDefaultSuffix[] = "txt";
constexpr int kCentreDivisor = 2;

constexpr char kExistsFirst[] = "The directory %s already exists.";
constexpr char kExistsSecond[] = "Click on 'Ok' to Import levels and overwite existing files.";
constexpr char kImportedFirst[] = "Number of Korvala levels Imported: %d";
constexpr char kImportedSecond[] = "From File: %s";
constexpr std::size_t kMessageLineRoom = 255;

ImportFileChooser g_chooser;

// The file dialog of the import, centred over its owner when it appears.
class ImportFileDialog : public QFileDialog {
 public:
  explicit ImportFileDialog(QWidget* owner) : QFileDialog(owner), owner_(owner) {
    setWindowTitle(QString::fromLatin1(kDialogTitle));
    setNameFilter(QString::fromLatin1(kFilter));
    setDirectory(QString::fromUtf8(import_dir()));
    setDefaultSuffix(QString::fromLatin1(kDefaultSuffix));
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    // The toolkit's own dialog, so that it can be placed over the game; the filter shows
    // only its description.
    setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  }

 protected:
  void showEvent(QShowEvent* event) override {
    QFileDialog::showEvent(event);
    CentreWindow(this, owner_, kCentreDivisor, kCentreDivisor);
  }

 private:
  QWidget* owner_;
};

// A message line: printf-formatted and cut to the room of a message line.
__attribute__((format(printf, 1, 2))) std::string MessageLine(const char* format, ...) {
  std::string line(kMessageLineRoom + 1, '\0');
  std::va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(line.data(), line.size(), format, arguments);
  va_end(arguments);
  line.resize(std::strlen(line.c_str()));
  return line;
}

// Asks before the levels of an existing set directory are overwritten. True for "Ok".
bool ConfirmOverwrite(QWidget* owner, const std::string& set) {
  SetMessageLines(MessageLine(kExistsFirst, ("Mazes\\" + set).c_str()), kExistsSecond);
  return ExistsDialog(owner) == kIdOk;
}

void ReportImport(QWidget* owner, int levels, const std::string& path) {
  const std::string first = MessageLine(kImportedFirst, levels);
  RV7_LOG(kLogInfo, "%s", first.c_str());
  SetMessageLines(first, MessageLine(kImportedSecond, path.c_str()));
  MessageDialog(owner);
}

}  // namespace

void SetImportFileChooser(ImportFileChooser chooser) {
  g_chooser = std::move(chooser);
}

std::string ChooseImportFile(QWidget* owner) {
  if (g_chooser) {
    return g_chooser(owner);
  }
  ImportFileDialog dialog(owner);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return {};
  }
  return dialog.selectedFiles().front().toStdString();
}

void Import(QWidget* owner) {
  RV7_ENTRY();
  const std::string chosen = ChooseImportFile(owner);
  if (chosen.empty()) {
    RV7_EXIT();
    return;
  }
  const ImportSource source = SplitImportPath(chosen);
  RV7_LOG(kLogInfo, "szFile=%s<", source.path.c_str());
  RV7_LOG(kLogInfo, "drive=%s<", "");
  RV7_LOG(kLogInfo, "dir=%s<", source.directory.c_str());
  RV7_LOG(kLogInfo, "fname=%s<", source.file_name.c_str());
  RV7_LOG(kLogInfo, "ext=%s<", source.extension.c_str());
  set_import_dir(source.directory);
  if (!IsSafeSetName(source.set)) {
    LowBeep();
    RV7_EXIT_RC(1);
    return;
  }
  RV7_LOG(kLogInfo, "set=%s<", source.set.c_str());
  const int rc = MakeSetDirectory(source.set);
  RV7_LOG(kLogInfo, "mkdir, rc=%d", rc);
  if (rc != 0 && !ConfirmOverwrite(owner, source.set)) {
    RV7_EXIT();
    return;
  }
  const ImportResult result = ImportLevelFile(source.path, source.set);
  if (!result.opened) {
    RV7_EXIT();
    return;
  }
  RegisterImportedSet(source.set, result.levels);
  ReportImport(owner, result.levels, source.path);
  RV7_EXIT();
}

void InstallImportService(GameServices& services) {
  services.import_levels = &Import;
}
