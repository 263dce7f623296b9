// The clipboard's solution text: what the copy writes, how the paste scanner reads lines and
// headers, and what the paste decides for the level in play.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "clip_text.h"

namespace {

// Scans a copy of `text` the way the paste does: in a buffer of its own with room for the
// terminating zero.
struct Scan {
  explicit Scan(std::string_view text) : buffer(text) {
    buffer.push_back('\0');
    result = ScanPaste(buffer.data(), text.size());
  }
  std::string buffer;
  PastedText result;
};

TEST(ClipboardText, LinesOf64LettersThenAnEmptyLineAndBackAgain) {
  std::string letters;
  for (int i = 0; i < 130; ++i) {
    letters += "rlRL"[i % 4];
  }
  EXPECT_EQ(ClipboardText({"Screens", 7, 130, 65, "Anna", letters}),
            "[Screens.7]\n[130.65.Anna]\n" + letters.substr(0, 64) + "\n" + letters.substr(64, 64) +
                "\n" + letters.substr(128) + "\n\n");
  const std::string full = letters.substr(0, 128);
  EXPECT_EQ(ClipboardText({"S", 1, 128, 64, "B", full}),
            "[S.1]\n[128.64.B]\n" + full.substr(0, 64) + "\n" + full.substr(64) + "\n\n");
  // Key letters are written as plain steps.
  EXPECT_EQ(ClipboardText({"S", 2, 5, 1, "Morilan.Solver", "HPKMR"}),
            "[S.2]\n[5.1.Morilan.Solver]\nudlrR\n\n");

  // Scanned back: dots in the set name and in the finder's name survive.
  const Scan scan(ClipboardText({"My.Set", 12, 130, 65, "Morilan.Solver", letters}));
  EXPECT_FALSE(scan.result.malformed);
  EXPECT_EQ(scan.result.set, "My.Set");
  EXPECT_EQ(scan.result.level, 12);
  EXPECT_EQ(scan.result.moves, 130);
  EXPECT_EQ(scan.result.pushes, 65);
  EXPECT_EQ(scan.result.name, "Morilan.Solver");
  EXPECT_EQ(scan.result.steps, letters);
}

TEST(PasteScan, LineEndsDecideWhereTheTextStops) {
  // CR LF: one empty line ends the text.
  EXPECT_EQ(Scan("rr\r\nR\r\n\r\nuuu\r\n").result.steps, "rrR");
  // Bare LF: the first empty line is taken with the line end before it, the second ends it.
  EXPECT_EQ(Scan("rr\n\nR\n\n\nuuu\n").result.steps, "rrR");
  // Bare CR: each ends a line, an empty line ends the text.
  EXPECT_EQ(Scan("rr\rR\r\ruu").result.steps, "rrR");
  // LF CR: the CR starts an empty line.
  EXPECT_EQ(Scan("rr\n\rR").result.steps, "rr");
  EXPECT_EQ(Scan("\nrrR").result.steps, "");
  // A zero byte ends the text even inside a line; other characters are kept as they are.
  EXPECT_EQ(Scan(std::string_view("r r\tx\0R\n", 8)).result.steps, "r r\tx");
}

TEST(PasteScan, HeadersStandAnywhereAndLaterOnesReplaceEarlierOnes) {
  const Scan scan("rr\n[Other.2]\n[9.9.Someone]\nR\n[Set.1]\n[3.1.Anna] trailing text\n");
  EXPECT_FALSE(scan.result.malformed);
  EXPECT_EQ(scan.result.set, "Set");
  EXPECT_EQ(scan.result.level, 1);
  EXPECT_EQ(scan.result.moves, 3);
  EXPECT_EQ(scan.result.pushes, 1);
  EXPECT_EQ(scan.result.name, "Anna");
  EXPECT_EQ(scan.result.steps, "rrR");
  // A set name that starts with a digit is still a level header.
  EXPECT_EQ(Scan("[100Boxes.4]\n").result.set, "100Boxes");
}

TEST(PasteScan, MalformedHeadersAndFieldsBeyondTheirLimitsAreRefused) {
  const std::string set49(49, 's');
  const std::string name99(99, 'n');
  EXPECT_EQ(Scan("[" + set49 + ".1]\n").result.set, set49);
  EXPECT_EQ(Scan("[1.0." + name99 + "]\n").result.name, name99);
  for (const std::string& text : {
           "[" + set49 + "s.1]\n",         // set name of 50
           "[1.0." + name99 + "n]\n",      // name of 100
           std::string("[Set.1\nrrR]\n"),  // no "]" on the header's line
           std::string("[Set.1"),
           std::string("[Set]\n"),  // no level number
           std::string("[Set.1x]\n"),
           std::string("[Set.1234567890]\n"),
           std::string("[3.x.Anna]\n"),
           std::string("[.3]\n"),
           std::string("[]\n"),
       }) {
    const Scan scan(text);
    EXPECT_TRUE(scan.result.malformed) << text;
    EXPECT_EQ(DecidePaste(scan.result, "Set", 1), PasteAction::kReject) << text;
    EXPECT_LE(scan.result.set.size(), kMaxHeaderSetName);
    EXPECT_LE(scan.result.name.size(), kMaxHeaderName);
  }
}

TEST(PasteDecision, ChecksAgainstTheLevelInPlay) {
  struct Case {
    const char* text;
    PasteAction action;
  };
  const Case cases[] = {
      {"[Set.3]\n[3.1.Anna]\nrrR\n", PasteAction::kRecordAndReplay},
      {"[sET.3]\n[3.1.Anna]\nrrR\n", PasteAction::kRecordAndReplay},  // letter case ignored
      {"[Set.4]\n[3.1.Anna]\nrrR\n", PasteAction::kReject},           // another level
      {"[Sets.3]\n[3.1.Anna]\nrrR\n", PasteAction::kReject},          // another set
      {"[Set.3]\n[4.1.Anna]\nrrR\n", PasteAction::kReject},           // moves differ
      {"[Set.3]\nrrR\n", PasteAction::kReplay},
      {"[3.1.Anna]\nrrR\n", PasteAction::kReplay},
      {"xyz\n", PasteAction::kReplayCrediting},  // a replay stops at the first non-step
      {"[Set.3]\n", PasteAction::kNothing},
      {"[3.1.Anna]\n", PasteAction::kReject},  // a solution header asks for steps
      {"[Set.0]\n[0.0.Anna]\nrrR\n", PasteAction::kReplayCrediting},  // 0: no header
      // Recorded texts must be plausible solutions: step letters only, pushes matching the
      // upper-case letters, a name that reads back as a solution.
      {"[Set.3]\n[3.1.Anna]\nr#R\n", PasteAction::kReject},
      {"[Set.3]\n[3.1.Anna]\nrrM\n", PasteAction::kReject},
      {"[Set.3]\n[3.2.Anna]\nrrR\n", PasteAction::kReject},
      {"[Set.3]\n[3.1.MyBookmark]\nrrR\n", PasteAction::kReject},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecidePaste(Scan(c.text).result, "Set", 3), c.action) << c.text;
  }
}

}  // namespace
