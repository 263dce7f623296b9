// The "Import.." command through the game window: the file dialog, the Exists question, the
// Message dialog, and what lands on disk and in the settings.
#include "import_dialog.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "file_size_limit.h"
#include "game_fixture.h"
#include "rv7cfg.h"
#include "rv7ini.h"
#include "services.h"

namespace {

constexpr char kDemoText[] =
    "Title: One\n"
    "\n"
    "#####\n"
    "#@$.#\n"
    "#####\n"
    "\n"
    "\n"
    "####\n"
    "#@*#\n"
    "####\n";

// A modal dialog as it was seen, and the button it was answered with.
struct SeenDialog {
  std::string name;
  std::vector<std::string> texts;
};

// Answers the modal dialogs that open while it lives, in order, by clicking the button with
// the given object name in each ("id1" Ok, "id2" Cancel).
class DialogAnswerer {
 public:
  explicit DialogAnswerer(std::vector<std::string> buttons) : buttons_(std::move(buttons)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Answer(); });
    timer_.start(10);
  }
  std::vector<SeenDialog> seen;

 private:
  void Answer() {
    QWidget* dialog = QApplication::activeModalWidget();
    if (dialog == nullptr || dialog->property("answered").toBool() ||
        seen.size() >= buttons_.size()) {
      return;
    }
    SeenDialog entry{dialog->objectName().toStdString(), {}};
    for (const QLabel* label : dialog->findChildren<QLabel*>()) {
      entry.texts.push_back(label->text().toStdString());
    }
    auto* button = dialog->findChild<QPushButton*>(QString::fromStdString(buttons_[seen.size()]));
    seen.push_back(entry);
    dialog->setProperty("answered", true);
    if (auto* box = qobject_cast<QMessageBox*>(dialog)) {
      box->accept();  // a file that could not be written, named with its reason
    } else if (button != nullptr) {
      button->click();
    }
  }

  std::vector<std::string> buttons_;
  QTimer timer_;
};

// The failure box of the file at `path`, or no such text.
std::string WriteFailure(const SeenDialog& dialog, const std::string& path) {
  for (const std::string& shown : dialog.texts) {
    if (shown.find("Could not write " + path + ":") != std::string::npos) {
      return shown;
    }
  }
  return {};
}

bool Shows(const SeenDialog& dialog, const std::string& text) {
  for (const std::string& shown : dialog.texts) {
    if (shown == text) {
      return true;
    }
  }
  return false;
}

class ImportDialogTest : public GameWindowTest {
 protected:
  void SetUp() override {
    GameWindowTest::SetUp();
    InstallImportService(Services());
    WriteSettings("Tester", "Set", 1, 1);
    WriteFile("Mazes\\Set\\Set.1", kCorridor);
    WriteFile("texts\\Demo.txt", kDemoText);
    text_path_ = (std::filesystem::current_path() / "texts" / "Demo.txt").string();
    SetImportFileChooser([this](QWidget*) { return chosen_; });
    chosen_ = text_path_;
  }
  void TearDown() override {
    SetImportFileChooser({});
    GameWindowTest::TearDown();
  }

  // Runs the command with the dialogs answered by `buttons`; returns what they showed.
  std::vector<SeenDialog> RunImport(std::vector<std::string> buttons) {
    DialogAnswerer answerer(std::move(buttons));
    window_->Button(kCmdImport)->click();
    return answerer.seen;
  }

  std::string text_path_;
  std::string chosen_;
};

TEST_F(ImportDialogTest, ImportWritesTheSetAndTellsHowManyLevelsFromWhichFile) {
  Start();
  const std::vector<SeenDialog> seen = RunImport({"id1"});
  ASSERT_EQ(seen.size(), 1U);
  EXPECT_EQ(seen[0].name, "Message");
  EXPECT_TRUE(Shows(seen[0], "Number of Korvala levels Imported: 2"));
  EXPECT_TRUE(Shows(seen[0], "From File: " + text_path_));
  EXPECT_EQ(ReadFile("Mazes\\Demo\\Demo.2"), "####\n#@*#\n####\n");
  EXPECT_NE(ReadFile("Ini\\Mazes.Ini").find("Demo   = 2\n"), std::string::npos);
  EXPECT_NE(ReadFile("Ini\\Game.Ini").find("Demo   = 1\n"), std::string::npos);
  // The level in play stays; the import directory is remembered and written at the end.
  EXPECT_STREQ(current_set(), "Set");
  EXPECT_EQ(std::string(import_dir()), (std::filesystem::current_path() / "texts").string() + "/");
  Finish();
  EXPECT_NE(ReadFile("Ini\\Config.Ini").find("ImportDir = \"" + std::string(import_dir())),
            std::string::npos);
}

TEST_F(ImportDialogTest, ImportingTwiceAsksAndOkRewritesTheSameFiles) {
  Start();
  RunImport({"id1"});
  WriteFile("Mazes\\Demo\\Demo.1", "changed");
  const std::vector<SeenDialog> seen = RunImport({"id1", "id1"});
  ASSERT_EQ(seen.size(), 2U);
  EXPECT_EQ(seen[0].name, "Exists");
  EXPECT_TRUE(Shows(seen[0], "The directory Mazes\\Demo already exists."));
  EXPECT_TRUE(Shows(seen[0], "Click on 'Ok' to Import levels and overwite existing files."));
  EXPECT_EQ(seen[1].name, "Message");
  EXPECT_EQ(ReadFile("Mazes\\Demo\\Demo.1"), "Title: One\n#####\n#@$.#\n#####\n\n");
}

TEST_F(ImportDialogTest, ALevelFileThatCannotBeCreatedEndsWithTheCountSoFar) {
  Start();
  // A directory stands where level 2's file belongs.
  std::filesystem::create_directories("Mazes/Demo/Demo.2");
  const std::vector<SeenDialog> seen = RunImport({"id1", "ok", "id1"});
  ASSERT_EQ(seen.size(), 3U);
  EXPECT_EQ(seen[0].name, "Exists");
  EXPECT_NE(WriteFailure(seen[1], "Mazes\\Demo\\Demo.2").find(std::strerror(EISDIR)),
            std::string::npos);
  EXPECT_EQ(seen[2].name, "Message");
  EXPECT_TRUE(Shows(seen[2], "Number of Korvala levels Imported: 1"));
  EXPECT_EQ(level_count("Demo"), 1);
  EXPECT_TRUE(std::filesystem::is_directory("Mazes/Demo/Demo.2"));
}

// A full disk: the first level file and both settings files fail, each is named with its
// reason, and the import still ends with its message; the settings are written at exit.
TEST_F(ImportDialogTest, AFullDiskIsReportedAndTheSettingsAreWrittenLater) {
  Start();
  std::vector<SeenDialog> seen;
  {
    const FileSizeLimit full_disk(16);
    seen = RunImport({"ok", "ok", "ok", "id1"});
  }
  ASSERT_EQ(seen.size(), 4U);
  for (const char* path : {"Mazes\\Demo\\Demo.1", "Ini\\Game.Ini", "Ini\\Mazes.Ini"}) {
    const auto found = std::find_if(seen.begin(), seen.end(), [path](const SeenDialog& dialog) {
      return WriteFailure(dialog, path).find(std::strerror(EFBIG)) != std::string::npos;
    });
    EXPECT_NE(found, seen.end()) << path;
  }
  EXPECT_EQ(seen[3].name, "Message");
  EXPECT_TRUE(Shows(seen[3], "Number of Korvala levels Imported: 0"));
  EXPECT_EQ(ReadFile("Ini\\Mazes.Ini").find("Demo"), std::string::npos);
  Finish();
  EXPECT_NE(ReadFile("Ini\\Mazes.Ini").find("Demo   = 0\n"), std::string::npos);
}

TEST_F(ImportDialogTest, CancelInTheExistsQuestionWritesNothing) {
  Start();
  WriteFile("Mazes\\Demo\\Demo.1", "kept");
  const std::vector<SeenDialog> seen = RunImport({"id2", "id1"});
  ASSERT_EQ(seen.size(), 1U);
  EXPECT_EQ(seen[0].name, "Exists");
  EXPECT_EQ(ReadFile("Mazes\\Demo\\Demo.1"), "kept");
  EXPECT_FALSE(std::filesystem::exists("Mazes/Demo/Demo.2"));
  EXPECT_EQ(level_count("Demo"), 0);
}

TEST_F(ImportDialogTest, CancelledDialogUnreadableFileAndTheNamesOfSets) {
  Start();
  chosen_.clear();
  EXPECT_TRUE(RunImport({"id1"}).empty());
  EXPECT_FALSE(std::filesystem::exists("Mazes/Demo"));

  // A file that cannot be read: no message; the directory made for it stays.
  chosen_ = (std::filesystem::current_path() / "texts" / "Gone.txt").string();
  EXPECT_TRUE(RunImport({"id1"}).empty());
  EXPECT_TRUE(std::filesystem::is_directory("Mazes/Gone"));
  EXPECT_EQ(level_count("Gone"), 0);

  // A file name with blanks gives a set Setup can choose.
  WriteFile("texts\\My Levels.txt", kDemoText);
  chosen_ = (std::filesystem::current_path() / "texts" / "My Levels.txt").string();
  RunImport({"id1"});
  EXPECT_EQ(level_count("My_Levels"), 2);
  EXPECT_TRUE(std::filesystem::exists("Mazes/My_Levels/My_Levels.2"));

  // No set name can be made of ".txt": refused with the low beep.
  WriteFile("texts\\.txt", kDemoText);
  chosen_ = (std::filesystem::current_path() / "texts" / ".txt").string();
  EXPECT_TRUE(RunImport({"id1"}).empty());
  EXPECT_EQ(LowBeeps(), 1);
}

TEST_F(ImportDialogTest, FileDialogOpensInTheImportDirectoryCentredOverTheGame) {
  Start();
  set_import_dir((std::filesystem::current_path() / "texts").string() + "/");
  SetImportFileChooser({});
  QString title;
  QStringList filters;
  QString directory;
  QString suffix;
  QPoint centre_offset(-1000, -1000);
  QTimer::singleShot(50, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    title = dialog->windowTitle();
    filters = dialog->nameFilters();
    directory = dialog->directory().absolutePath();
    suffix = dialog->defaultSuffix();
    centre_offset = dialog->frameGeometry().center() - window_->frameGeometry().center();
    dialog->reject();
  });
  EXPECT_EQ(ChooseImportFile(window_.get()), "");
  EXPECT_EQ(title, "Import Korvala Levels from .Txt File");
  EXPECT_EQ(filters, QStringList{"Korvala Levels in .Txt File (*.txt)"});
  EXPECT_EQ(directory.toStdString(), (std::filesystem::current_path() / "texts").string());
  EXPECT_EQ(suffix, "txt");
  EXPECT_LE(std::abs(centre_offset.x()), 2);
  EXPECT_LE(std::abs(centre_offset.y()), 2);
}

}  // namespace
