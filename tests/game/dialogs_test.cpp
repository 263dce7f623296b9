// The dialogs through their templates, driven as a player would: Goto, Setup (also at
// start-up), the message dialogs and About, CentreWindow, and what every template shares.
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialog_driver.h"
#include "dialogs.h"
#include "engine.h"
#include "game_fixture.h"
#include "rv7ini.h"
#include "rv7log.h"
#include "rv7score.h"
#include "services.h"

namespace {

class DialogTest : public GameWindowTest {
 protected:
  void SetUp() override {
    GameWindowTest::SetUp();
    InstallDialogServices(Services());
  }

  // Set "Set" with `count` corridor levels, at `level`, for `player`.
  void CorridorSet(std::string_view player, int level, int count) {
    WriteSettings(player, "Set", level, count);
    for (int n = 1; n <= count; ++n) {
      WriteFile("Mazes\\Set\\Set." + std::to_string(n), kCorridor);
    }
  }
};

QLineEdit* Field(QDialog& dialog, const char* name) {
  return ControlOf<QLineEdit>(dialog, name);
}
bool ButtonEnabled(QDialog& dialog, const char* name) {
  auto* button = ControlOf<QPushButton>(dialog, name);
  return button != nullptr && button->isEnabled();
}
QString LabelText(QDialog& dialog, const char* name) {
  auto* label = ControlOf<QLabel>(dialog, name);
  return label != nullptr ? label->text() : QString();
}

// Replaces the text of a field by typing, as a player would.
void Retype(QLineEdit* field, const QString& text) {
  field->selectAll();
  QTest::keyClick(field, Qt::Key_Backspace);
  QTest::keyClicks(field, text);
}

using GotoTest = DialogTest;

TEST_F(GotoTest, GoIsEnabledOnlyForAnotherLevelOfTheSet) {
  CorridorSet("Tester", 5, 40);
  Start();
  struct Typed {
    const char* text;
    bool go;
  };
  const std::vector<Typed> cases = {{"41", false}, {"0", false},  {"5", false}, {"x", false},
                                    {"", false},   {"40", true},  {"7", true},  {" 7", true},
                                    {"7x", true},  {"007", true}, {"1", true}};
  WhenDialogOpens("Goto", [&](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Goto Level"));
    EXPECT_EQ(LabelText(dialog, "id102"), QStringLiteral("Level (1-40)"));
    QLineEdit* field = Field(dialog, "id108");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->text(), QStringLiteral("5"));
    EXPECT_EQ(field->maxLength(), 3);
    EXPECT_FALSE(ButtonEnabled(dialog, "id1"));
    for (const Typed& typed : cases) {
      Retype(field, QString::fromLatin1(typed.text));
      EXPECT_EQ(ButtonEnabled(dialog, "id1"), typed.go) << '"' << typed.text << '"';
    }
    Retype(field, QStringLiteral("7"));
    ClickButton(dialog, "id1");
  });
  DoCommand(kCmdGoto);
  EXPECT_EQ(current_level(), 7);
}

TEST_F(GotoTest, CancelAndEscapeAfterAValidNumberLeaveTheLevel) {
  CorridorSet("Tester", 5, 40);
  Start();
  Press(Qt::Key_Right);
  for (const bool escape : {false, true}) {
    WhenDialogOpens("Goto", [escape](QDialog& dialog) {
      Retype(Field(dialog, "id108"), QStringLiteral("7"));
      ASSERT_TRUE(ButtonEnabled(dialog, "id1"));
      if (escape) {
        QTest::keyClick(&dialog, Qt::Key_Escape);
      } else {
        ClickButton(dialog, "id2");
      }
    });
    if (escape) {
      EXPECT_EQ(GotoDialog(window_.get()), kIdCancel);
      EXPECT_EQ(GotoChosenLevel(), 5);
    } else {
      DoCommand(kCmdGoto);
    }
  }
  EXPECT_EQ(current_level(), 5);
  EXPECT_EQ(move_count(), 1);  // nothing was reloaded
}

using SetupTest = DialogTest;

TEST_F(SetupTest, ListsTheSetsSortedWithTheCurrentOneSelected) {
  CorridorSet("Tester", 1, 1);
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nzeta = 3\nSet = 1\nAlpha = 12\nbeta = 5\n");
  Start();
  WhenDialogOpens("Setup", [](QDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Setup Korvala v1.1.6"));
    auto* list = ControlOf<QComboBox>(dialog, "id114");
    ASSERT_NE(list, nullptr);
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
      entries.push_back(list->itemText(i));
    }
    EXPECT_EQ(entries, QStringList({"Alpha (1-12)", "beta (1-5)", "Set (1-1)", "zeta (1-3)"}));
    EXPECT_EQ(list->currentText(), QStringLiteral("Set (1-1)"));
    QLineEdit* name = Field(dialog, "id102");
    EXPECT_EQ(name->text(), QStringLiteral("Tester"));
    EXPECT_EQ(name->maxLength(), 99);
    EXPECT_TRUE(ButtonEnabled(dialog, "id1"));
    Retype(name, QString());
    EXPECT_FALSE(ButtonEnabled(dialog, "id1"));
    QTest::keyClick(name, Qt::Key_Return);  // the default button is disabled: nothing
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClicks(name, QStringLiteral("A"));
    EXPECT_TRUE(ButtonEnabled(dialog, "id1"));
    ClickButton(dialog, "id2");
  });
  EXPECT_EQ(SetupDialog(window_.get()), kIdCancel);
  EXPECT_STREQ(player_name(), "Tester");
}

TEST_F(SetupTest, NameChangeReloadsTheLevelAndTheOwnLineFollows) {
  CorridorSet("Tester", 1, 1);
  WriteFile("Mazes\\Set\\Set.1.rv7", "[3.1.Anna]\nrrR\n");
  Start();
  ASSERT_EQ(OwnMoves(), 0);
  Press(Qt::Key_Right);
  // Cancel after typing, and Ok without a change, reload nothing.
  WhenDialogOpens("Setup", [](QDialog& dialog) {
    Retype(Field(dialog, "id102"), QStringLiteral("Anna"));
    ClickButton(dialog, "id2");
  });
  DoCommand(kCmdSetup);
  WhenDialogOpens("Setup", [](QDialog& dialog) { ClickButton(dialog, "id1"); });
  DoCommand(kCmdSetup);
  EXPECT_EQ(move_count(), 1);
  EXPECT_STREQ(player_name(), "Tester");
  // Leading spaces are skipped; the new name is stored and its solution becomes the Own one.
  WhenDialogOpens("Setup", [](QDialog& dialog) {
    Retype(Field(dialog, "id102"), QStringLiteral("  Anna"));
    ClickButton(dialog, "id1");
  });
  DoCommand(kCmdSetup);
  EXPECT_STREQ(player_name(), "Anna");
  EXPECT_STREQ(game_chk("Player"), "Anna");
  EXPECT_EQ(move_count(), 0);
  EXPECT_EQ(OwnMoves(), 3);
  EXPECT_EQ(LowBeeps(), 0);
}

TEST_F(SetupTest, BlankNameConfirmsAsEmptyAndLongNamesAreCutWhole) {
  CorridorSet("Tester", 1, 1);
  Start();
  WhenDialogOpens("Setup", [](QDialog& dialog) {
    Retype(Field(dialog, "id102"), QStringLiteral("   "));
    ASSERT_TRUE(ButtonEnabled(dialog, "id1"));
    ClickButton(dialog, "id1");
  });
  EXPECT_EQ(SetupDialog(window_.get()), kIdOk);
  EXPECT_STREQ(player_name(), "");
  EXPECT_STREQ(game_chk("Player"), "");
  // 98 letters and a two-byte letter fill the 99-character field but not the 99-byte room:
  // the last letter is dropped whole, never split.
  const QString long_name = QString(98, QLatin1Char('a')) + QChar(0xE9);
  WhenDialogOpens("Setup", [&long_name](QDialog& dialog) {
    Field(dialog, "id102")->setText(long_name + QStringLiteral("zz"));  // as if pasted
    EXPECT_EQ(Field(dialog, "id102")->text(), long_name);
    ClickButton(dialog, "id1");
  });
  SetupDialog(window_.get());
  EXPECT_EQ(std::string(player_name()), std::string(98, 'a'));
}

TEST_F(SetupTest, ChosenSetBecomesCurrentAtItsRememberedLevel) {
  CorridorSet("Tester", 1, 1);
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nSet = 1\nOther = 3\nMy Set = 2\n");
  WriteFile("Ini\\Game.Ini", "[Game]\nMaze = Set\nPlayer = Tester\nSet = 1\nOther = 2\n");
  WriteFile("Mazes\\Other\\Other.2", kOnePush);
  Start();
  ASSERT_EQ(MazeWidth(), 7);
  WhenDialogOpens("Setup", [](QDialog& dialog) {
    auto* list = ControlOf<QComboBox>(dialog, "id114");
    list->setCurrentIndex(list->findText(QStringLiteral("Other (1-3)")));
    ClickButton(dialog, "id1");
  });
  DoCommand(kCmdSetup);
  EXPECT_STREQ(current_set(), "Other");
  EXPECT_EQ(current_level_count(), 3);
  EXPECT_EQ(current_level(), 2);
  EXPECT_STREQ(game_chk("Maze"), "Other");
  EXPECT_EQ(MazeWidth(), 5);  // the level of the new set was loaded
  // A set whose name holds a blank is cut at it, names no set, and changes nothing.
  WhenDialogOpens("Setup", [](QDialog& dialog) {
    auto* list = ControlOf<QComboBox>(dialog, "id114");
    list->setCurrentIndex(list->findText(QStringLiteral("My Set (1-2)")));
    ClickButton(dialog, "id1");
  });
  DoCommand(kCmdSetup);
  EXPECT_STREQ(current_set(), "Other");
  EXPECT_STREQ(game_chk("Maze"), "Other");
}

TEST_F(SetupTest, OkIsTracedWithTheNewNameAndSet) {
  CorridorSet("Tester", 1, 1);
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nSet = 1\nOther = 3\n");
  ::setenv("RV7LOG", "all", 1);
  LogReadSwitch();
  Start();
  WhenDialogOpens("Setup", [](QDialog& dialog) {
    Retype(Field(dialog, "id102"), QStringLiteral("Anna"));
    auto* list = ControlOf<QComboBox>(dialog, "id114");
    list->setCurrentIndex(list->findText(QStringLiteral("Other (1-3)")));
    ClickButton(dialog, "id1");
  });
  SetupDialog(window_.get());
  ::unsetenv("RV7LOG");
  LogReadSwitch();
  const std::string log = ReadFile("RV7LOG.01");
  const std::size_t ok = log.find(":IDOK: Entry\n");
  const std::size_t name = log.find(": new name, Anna\n");
  const std::size_t set = log.find(": new maze, Other\n");
  ASSERT_NE(set, std::string::npos) << log;
  EXPECT_LT(ok, name);
  EXPECT_LT(name, set);
}

using StartSetupTest = DialogTest;

TEST_F(StartSetupTest, PlaceholderPlayerGetsSetupCentredOnTheScreenBeforeTheWindow) {
  CorridorSet("Player", 1, 1);
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nSet = 1\nOther = 1\n");
  WriteFile("Mazes\\Other\\Other.1", kOnePush);
  bool seen = false;
  WhenDialogOpens("Setup", [&seen](QDialog& dialog) {
    seen = true;
    EXPECT_EQ(MainWindow(), nullptr);
    EXPECT_EQ(dialog.parentWidget(), nullptr);
    EXPECT_EQ(dialog.pos(), QPoint((kTestScreen.screen_width - dialog.width()) / 2,
                                   (kTestScreen.screen_height - dialog.height()) / 2));
    Retype(Field(dialog, "id102"), QStringLiteral("Anna"));
    auto* list = ControlOf<QComboBox>(dialog, "id114");
    list->setCurrentIndex(list->findText(QStringLiteral("Other (1-1)")));
    ClickButton(dialog, "id1");
  });
  Start();
  EXPECT_TRUE(seen);
  EXPECT_STREQ(current_set(), "Other");
  EXPECT_EQ(MazeWidth(), 5);
  Finish();
  const std::string game_ini = ReadFile("Ini\\Game.Ini");
  EXPECT_NE(game_ini.find("Maze   = Other\n"), std::string::npos) << game_ini;
  EXPECT_NE(game_ini.find("Player = Anna\n"), std::string::npos) << game_ini;
}

using MessageTest = DialogTest;

struct MessageCase {
  const char* dialog;
  int (*open)(QWidget*);
  const char* caption;
  const char* button;  // what closes it
  int result;
};

TEST_F(MessageTest, MessageDialogsShowTheirLinesAndCloseWithTheirButton) {
  CorridorSet("Tester", 1, 1);
  Start();
  SetMessageLines("First line", "Second line");
  const std::vector<MessageCase> cases = {
      {"Message", &MessageDialog, "Import(ant) Message", "id1", 1},
      {"Message", &MessageDialog, "Import(ant) Message", "Escape", 1},
      {"Exists", &ExistsDialog, "Import(ant) Message", "id1", 1},
      {"Exists", &ExistsDialog, "Import(ant) Message", "id2", 2},
      {"Exists", &ExistsDialog, "Import(ant) Message", "Escape", 2},
      {"SolverMessage", &SolverMessageDialog, "Solver Message", "id1", 1},
      {"About", &AboutDialog, "About Korvala v1.1.6", "id1", 1},
      {"About", &AboutDialog, "About Korvala v1.1.6", "Escape", 2},
  };
  for (const MessageCase& c : cases) {
    WhenDialogOpens(c.dialog, [&c](QDialog& dialog) {
      EXPECT_EQ(dialog.windowTitle(), QString::fromLatin1(c.caption));
      const std::string name = c.dialog;
      const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
      const auto shows = [&labels](const char* text) {
        return std::any_of(labels.begin(), labels.end(),
                           [text](QLabel* l) { return l->text() == QString::fromLatin1(text); });
      };
      EXPECT_TRUE(shows("Korvala for Linux desktops")) << name;
      EXPECT_TRUE(shows("Version 1.1.6")) << name;
      if (name != "About") {
        EXPECT_FALSE(ControlOf<QLabel>(dialog, "id110")->isEnabled());
        EXPECT_FALSE(ControlOf<QLabel>(dialog, "id114")->isEnabled());
        EXPECT_EQ(LabelText(dialog, "id125"), QStringLiteral("First line"));
        EXPECT_EQ(shows("Second line"), name != "SolverMessage") << name;
      }
      EXPECT_EQ(dialog.findChild<QPushButton*>(QStringLiteral("id2")) != nullptr,
                name == "Exists")
          << name;
      if (std::string(c.button) == "Escape") {
        QTest::keyClick(&dialog, Qt::Key_Escape);
      } else {
        ClickButton(dialog, c.button);
      }
    });
    EXPECT_EQ(c.open(window_.get()), c.result) << c.dialog << " closed by " << c.button;
  }
}

using TemplateTest = DialogTest;

// Every dialog as its template makes it: size in pixels, font, a caption bar with only the
// close box, credit lines filled in, and every text inside its label.
TEST_F(TemplateTest, DialogsKeepTheirTemplateSizesAndEveryTextFits) {
  CorridorSet("Tester", 1, 1);
  WriteFile("Ini\\Mazes.Ini", "[Mazes]\nSet = 1\n");
  Start();
  SetMessageLines("Solver finds it too Complex! and Difficult!!", "x");
  struct Template {
    const char* name;
    int (*open)(QWidget*);
    QSize size;
    int credits;
  };
  const std::vector<Template> templates = {
      {"Setup", &SetupDialog, {330, 216}, 6},   {"Goto", &GotoDialog, {300, 36}, 0},
      {"About", &AboutDialog, {330, 216}, 7},   {"Message", &MessageDialog, {330, 167}, 3},
      {"Exists", &ExistsDialog, {330, 167}, 3}, {"SolverMessage", &SolverMessageDialog, {330, 195}, 5},
  };
  for (const Template& t : templates) {
    WhenDialogOpens(t.name, [&t](QDialog& dialog) {
      const std::string name = t.name;
      EXPECT_EQ(dialog.size(), t.size) << name;
      EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << name;
      EXPECT_EQ(dialog.font().family(), QStringLiteral("DejaVu Sans"));
      EXPECT_EQ(dialog.font().pointSize(), 8);
      EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint)) << name;
      EXPECT_FALSE(dialog.windowFlags().testFlag(Qt::WindowContextHelpButtonHint)) << name;
      int credits = 0;
      for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->property("credit").isValid()) {
          ++credits;
          EXPECT_FALSE(label->text().isEmpty()) << name << " " << label->objectName().toStdString();
        }
        const int advance = QFontMetrics(label->font()).horizontalAdvance(label->text());
        EXPECT_LE(advance, label->width())
            << name << ": \"" << label->text().toStdString() << "\" does not fit";
      }
      EXPECT_EQ(credits, t.credits) << name;
      QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    t.open(window_.get());
  }
}

using CentreTest = DialogTest;

// CentreWindow over a related window and over the screen (1023 x 768), clamped at each edge.
TEST_F(CentreTest, CentresTruncatesAndClampsAtEveryScreenEdge) {
  CorridorSet("Tester", 1, 1);
  Start();  // the window reads the screen
  QWidget window;
  window.resize(100, 50);
  QWidget relation;
  struct Case {
    QRect related;  // empty: the screen
    int h_divisor;
    int v_divisor;
    QPoint expected;
  };
  const std::vector<Case> cases = {
      {{200, 100, 400, 300}, 2, 2, {350, 225}},
      {{}, 2, 2, {461, 359}},
      {{-300, 100, 200, 100}, 2, 2, {0, 125}},    // off the left edge
      {{1000, 100, 200, 100}, 2, 2, {923, 125}},  // past the right edge
      {{100, -200, 200, 100}, 2, 2, {150, 0}},    // above the top
      {{100, 760, 200, 100}, 2, 2, {150, 718}},   // below the bottom
      {{500, 300, 50, 40}, 3, 4, {484, 298}},     // a smaller relation: truncated toward zero
  };
  for (const Case& c : cases) {
    relation.setGeometry(c.related);
    CentreWindow(&window, c.related.isEmpty() ? nullptr : &relation, c.h_divisor, c.v_divisor);
    EXPECT_EQ(window.pos(), c.expected) << c.related.x() << "," << c.related.y();
  }
  // Larger than the screen: its top-left corner stays on it.
  window.resize(1100, 800);
  CentreWindow(&window, nullptr, 2, 2);
  EXPECT_EQ(window.pos(), QPoint(0, 0));
}

}  // namespace
