// The two dialogs that change the selection: Setup (player name and level set) and Goto.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStringList>

#include <algorithm>
#include <string>

#include "dialog_base.h"
#include "dialogs.h"
#include "engine.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "services.h"
#include "ui_Goto.h"
#include "ui_Setup.h"

namespace {

constexpr const char* kLogModule = kDialogLogModule;

constexpr char kPlayerKey[] = "Player";
constexpr char kSetKey[] = "Maze";
constexpr int kGotoReadRoom = 9;  // characters of the number field that are read
constexpr int kGotoFieldRoom = 3;

struct GotoState {
  int first = 0;   // the level as first shown
  int chosen = 0;  // the level typed
};
GotoState g_goto;

QString SetEntry(const char* name, int count) {
  return QStringLiteral("%1 (1-%2)").arg(QString::fromUtf8(name)).arg(count);
}

// Entries of a sorted list compare without regard to case, as a sorted list box does; equal
// ones keep a fixed order by their exact text.
bool SortsBefore(const QString& a, const QString& b) {
  const int folded = a.compare(b, Qt::CaseInsensitive);
  return folded != 0 ? folded < 0 : a < b;
}

// Fills the set list with "name (1-count)" for every set of the level-set table, sorted, and
// selects the current set's entry.
void FillSetList(QComboBox* list) {
  QStringList entries;
  for (const LevelSetEntry* set = first_level_set(); set != nullptr; set = next_level_set(set)) {
    entries.push_back(SetEntry(set->name, set->count));
  }
  std::stable_sort(entries.begin(), entries.end(), SortsBefore);
  list->clear();
  list->addItems(entries);
  list->setCurrentIndex(list->findText(SetEntry(current_set(), level_count(current_set()))));
}

// The name as confirmed: leading spaces skipped, cut to the player name's room.
std::string ConfirmedName(const QString& text) {
  qsizetype start = 0;
  while (start < text.size() && text[start] == QLatin1Char(' ')) {
    ++start;
  }
  return ToUtf8Cut(text.mid(start), kMaxPlayerName);
}

void ConfirmName(const std::string& name) {
  if (name == player_name()) {
    return;
  }
  RV7_LOG(kLogInfo, "new name, %s", name.c_str());
  set_game_value(kPlayerKey, name);
  set_player_name(name);
}

// The set of the selected entry: its text up to the first blank. A name that lists no
// levels (no entry selected, or a set whose own name holds a blank) keeps the current set.
void ConfirmSet(const QString& entry) {
  const std::string name = ToUtf8Cut(entry.section(QLatin1Char(' '), 0, 0), kMaxSetName);
  if (name == current_set() || level_count(name) <= 0) {
    return;
  }
  RV7_LOG(kLogInfo, "new maze, %s", name.c_str());
  set_game_value(kSetKey, name);
  make_set_current(name);
}

void ConfirmSetup(const Ui::Setup& form) {
  LogMessage(kLogModule, "IDOK", __LINE__, kLogFunc, "Entry");
  ConfirmName(ConfirmedName(form.id102->text()));
  ConfirmSet(form.id114->currentText());
}

// The number field read as a decimal number: at most its first nine characters, leading
// blanks skipped, reading up to the first non-digit; no digits give 0.
int ReadLevelNumber(const QString& text) {
  const QString head = text.left(kGotoReadRoom);
  qsizetype at = 0;
  while (at < head.size() && head[at].isSpace()) {
    ++at;
  }
  int number = 0;
  for (; at < head.size() && head[at] >= QLatin1Char('0') && head[at] <= QLatin1Char('9'); ++at) {
    number = number * 10 + (head[at].unicode() - u'0');
  }
  return number;
}

bool GoAllowed() {
  return g_goto.chosen != g_goto.first && g_goto.chosen > 0 &&
         g_goto.chosen <= current_level_count();
}

// Setup's controls: the name with "Ok" enabled while it is not empty, the set list, and
// "Ok" confirming both.
void FillSetup(GameDialog& dialog, Ui::Setup& form) {
  form.id102->setMaxLength(kMaxPlayerName);
  form.id102->setText(QString::fromUtf8(player_name()));
  form.id1->setEnabled(!form.id102->text().isEmpty());
  QObject::connect(form.id102, &QLineEdit::textChanged, form.id1,
                   [&form](const QString& text) { form.id1->setEnabled(!text.isEmpty()); });
  FillSetList(form.id114);
  QObject::connect(form.id1, &QPushButton::clicked, &dialog, [&dialog, &form] {
    ConfirmSetup(form);
    dialog.done(kIdOk);
  });
  dialog.CloseOn(form.id2, kIdCancel);
}

// Goto's controls: the label and number field, "Go" enabled only for a level it may go to.
void FillGoto(GameDialog& dialog, Ui::Goto& form) {
  form.id102->setText(QStringLiteral("Level (1-%1)").arg(current_level_count()));
  form.id108->setMaxLength(kGotoFieldRoom);
  form.id108->setText(QString::number(current_level()));
  form.id1->setEnabled(false);
  g_goto = GotoState{current_level(), current_level()};
  QObject::connect(form.id108, &QLineEdit::textChanged, form.id1, [&form](const QString& text) {
    g_goto.chosen = ReadLevelNumber(text);
    form.id1->setEnabled(GoAllowed());
  });
  dialog.CloseOn(form.id1, kIdOk);
  dialog.CloseOn(form.id2, kIdCancel);
}

}  // namespace

int SetupDialog(QWidget* owner) {
  RV7_ENTRY();
  const int rc = RunForm<Ui::Setup>(owner, kIdCancel, &FillSetup);
  RV7_EXIT_RC(rc);
  return rc;
}

int GotoDialog(QWidget* owner) {
  RV7_ENTRY();
  const int rc = RunForm<Ui::Goto>(owner, kIdCancel, &FillGoto);
  if (rc != kIdOk) {
    g_goto.chosen = g_goto.first;
  }
  RV7_EXIT_RC(rc);
  return rc;
}

int GotoChosenLevel() {
  return g_goto.chosen;
}

void InstallDialogServices(GameServices& services) {
  services.setup = &SetupDialog;
  services.goto_level = [](QWidget* owner) {
    GotoDialog(owner);
    return GotoChosenLevel();
  };
  services.about = [](QWidget* owner) { AboutDialog(owner); };
}
