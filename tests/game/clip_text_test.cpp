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

std::string Letters(std::size_t count) {
  std::string letters;
  for (std::size_t i = 0; i < count; ++i) {
    letters += "rlRL"[i % 4];
  }
  return letters;
}

TEST(ClipboardText, LinesOf64LettersThenAnEmptyLine) {
  const std::string letters = Letters(130);
  const std::string text = ClipboardText({"Screens", 7, 130, 65, "Anna", letters});
  EXPECT_EQ(text, "[Screens.7]\n[130.65.Anna]\n" + letters.substr(0, 64) + "\n" +
                      letters.substr(64, 64) + "\n" + letters.substr(128) + "\n\n");

  const std::string full = Letters(128);
  EXPECT_EQ(ClipboardText({"S", 1, 128, 64, "B", full}),
            "[S.1]\n[128.64.B]\n" + full.substr(0, 64) + "\n" + full.substr(64) + "\n\n");
}

TEST(ClipboardText, KeyLettersAreWrittenAsPlainSteps) {
  EXPECT_EQ(ClipboardText({"S", 2, 5, 1, "Morilan.Solver", "HPKMR"}),
            "[S.2]\n[5.1.Morilan.Solver]\nudlrR\n\n");
}

TEST(ClipboardText, ScannedBackGivesTheSameSolution) {
  const std::string letters = Letters(200);
  const Scan scan(ClipboardText({"My.Set", 12, 200, 100, "Morilan.Solver", letters}));
  EXPECT_FALSE(scan.result.malformed);
  EXPECT_EQ(scan.result.set, "My.Set");
  EXPECT_EQ(scan.result.level, 12);
  EXPECT_EQ(scan.result.moves, 200);
  EXPECT_EQ(scan.result.pushes, 100);
  EXPECT_EQ(scan.result.name, "Morilan.Solver");
  EXPECT_EQ(scan.result.steps, letters);
  EXPECT_EQ(DecidePaste(scan.result, "my.set", 12), PasteAction::kRecordAndReplay);
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
  // No line end at all, and a text that begins with a line end.
  EXPECT_EQ(Scan("rrR").result.steps, "rrR");
  EXPECT_EQ(Scan("\nrrR").result.steps, "");
  // A zero byte ends the text even inside a line.
  EXPECT_EQ(Scan(std::string_view("rr\0R\n", 5)).result.steps, "rr");
  // Blanks and other characters of a step line are kept as they are.
  EXPECT_EQ(Scan("r r\tx\n").result.steps, "r r\tx");
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
  const Scan digits("[100Boxes.4]\n");
  EXPECT_EQ(digits.result.set, "100Boxes");
  EXPECT_EQ(digits.result.level, 4);
  EXPECT_EQ(digits.result.moves, 0);
}

TEST(PasteScan, MalformedHeadersAndFieldsBeyondTheirLimits) {
  const std::string set49(49, 's');
  const std::string name99(99, 'n');
  EXPECT_FALSE(Scan("[" + set49 + ".1]\n").result.malformed);
  EXPECT_EQ(Scan("[" + set49 + ".1]\n").result.set, set49);
  EXPECT_FALSE(Scan("[1.0." + name99 + "]\n").result.malformed);
  EXPECT_EQ(Scan("[1.0." + name99 + "]\n").result.name, name99);

  for (const std::string& text : {
           "[" + set49 + "s.1]\n",             // set name of 50
           "[1.0." + name99 + "n]\n",          // name of 100
           std::string("[Set.1\nrrR]\n"),      // no "]" on the header's line
           std::string("[Set.1"),              // no "]" before the end of the text
           std::string("[Set]\n"),             // no level number
           std::string("[Set.1x]\n"),          // level number with a letter
           std::string("[Set.1234567890]\n"),  // ten digits
           std::string("[3.x.Anna]\n"),        // pushes not a number, no level number either
           std::string("[.3]\n"),              // empty set name
           std::string("[]\n"),
           std::string("[\n"),
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
      {"rrR\n", PasteAction::kReplayCrediting},
      {"xyz\n", PasteAction::kReplayCrediting},  // a replay stops at the first non-step
      {"[Set.3]\n", PasteAction::kNothing},
      {"", PasteAction::kNothing},
      {"[3.1.Anna]\n", PasteAction::kReject},             // a solution header asks for steps
      {"[Set.0]\nrrR\n", PasteAction::kReplayCrediting},  // level 0: no level header
      {"[0.0.Anna]\nrrR\n", PasteAction::kReplayCrediting},
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

TEST(PasteScan, HostileTextsStayWithinTheBuffer) {
  // Megabytes without a line end, cut to the buffer the paste uses.
  const Scan long_line(std::string(1 << 20, 'r'));
  EXPECT_EQ(long_line.result.steps.size(), std::size_t{1} << 20);
  // Ten thousand headers, the last one counts.
  std::string headers;
  for (int i = 1; i <= 10000; ++i) {
    headers += "[Set." + std::to_string(i) + "]\n[" + std::to_string(i) + ".0.P" + "]\n";
  }
  const Scan many(headers);
  EXPECT_EQ(many.result.level, 10000);
  EXPECT_EQ(many.result.moves, 10000);
  EXPECT_TRUE(many.result.steps.empty());
  // Every byte value but the line ends, zero and "[", in one line.
  std::string binary;
  for (int c = 1; c < 256; ++c) {
    if (c != '\r' && c != '\n' && c != '[') {
      binary += static_cast<char>(c);
    }
  }
  const Scan bytes(binary + "\n[" + binary);
  EXPECT_EQ(bytes.result.steps, binary);
  EXPECT_TRUE(bytes.result.malformed);
}

}  // namespace
