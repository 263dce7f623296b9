// The C interface of librv7solv.so: result codes, decoding, geometry and the step text.
#include "rv7solv.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "level_text.h"
#include "replay_check.h"
#include "solve_helper.h"

namespace {

constexpr int16_t kWallCode = 4;

Answer solve(std::string_view drawing) {
  return solve_drawing(&Rv7Solver2, drawing);
}

// Checks a code-6 answer by replaying it on the drawing.
void expect_replays(std::string_view drawing, const Answer& answer) {
  ASSERT_EQ(answer.code, 6);
  EXPECT_EQ(answer.returned, 6);
  EXPECT_TRUE(answer.text_guarded);
  const ReplayResult replay = replay_steps(rows_of(drawing), answer.text);
  EXPECT_TRUE(replay.legal);
  EXPECT_TRUE(replay.solved);
  EXPECT_EQ(replay.moves, answer.moves);
  EXPECT_EQ(replay.pushes, answer.pushes);
}

void expect_refused(const Answer& answer, int32_t code) {
  EXPECT_EQ(answer.code, code);
  EXPECT_EQ(answer.returned, code);
  EXPECT_EQ(answer.moves, 0);
  EXPECT_EQ(answer.pushes, 0);
  EXPECT_TRUE(answer.text_guarded);
}

constexpr char kCornerTurn[] = R"(
######
#@   #
#    #
#  $.#
######
)";

TEST(Rv7Solver, CrateCountAboveThirteenIsCodeOneBeforeGoalsAreChecked) {
  expect_refused(solve(R"(
#################
#@$$$$$$$$$$$$$$#
#               #
#################
)"),
                 1);
  expect_refused(solve(R"(
#################
#@$$$$$$$$$$$$$$#
#.............. #
#################
)"),
                 1);
}

TEST(Rv7Solver, ThirteenCratesAreAccepted) {
  constexpr char kThirteen[] = R"(
################
#@************ #
#  $.          #
################
)";
  const Answer answer = solve(kThirteen);
  expect_replays(kThirteen, answer);
  EXPECT_EQ(answer.pushes, 1);
}

TEST(Rv7Solver, MalformedLevelsAreCodeTwo) {
  expect_refused(solve("#####\n# $.#\n#####\n"), 2);     // no player
  expect_refused(solve("######\n#@$.@#\n######\n"), 2);  // two players
  expect_refused(solve("#####\n#@  #\n#####\n"), 2);     // no goal, no crate
  expect_refused(solve("######\n#@$..#\n######\n"), 2);  // goals differ from crates
  expect_refused(solve("######\n#@$$.#\n######\n"), 2);  // crates differ from goals
}

TEST(Rv7Solver, PlayerOnGoalCountsAsPlayerAndAsGoal) {
  constexpr char kPlayerOnGoal[] = R"(
######
#+ $ #
#    #
######
)";
  const Answer answer = solve(kPlayerOnGoal);
  expect_replays(kPlayerOnGoal, answer);
  EXPECT_EQ(answer.pushes, 2);
}

TEST(Rv7Solver, UnsolvableLevelIsCodeThree) {
  // The crate stands against the top wall, the goal lies below it.
  expect_refused(solve(R"(
#######
#  $  #
#   @ #
#  .  #
#######
)"),
                 3);
  // A two-by-two block of crates can never move.
  expect_refused(solve(R"(
########
#      #
# $$   #
# $$ ..#
#  @ ..#
########
)"),
                 3);
}

TEST(Rv7Solver, FullPositionStoreIsCodeFour) {
  expect_refused(solve(R"(
##############
#            #
# $$$$$ ...  #
#     @ ...  #
# $$$$$ .... #
#            #
##############
)"),
                 4);
}

TEST(Rv7Solver, LevelSolvedAtStartGivesNoStepsAndNoText) {
  const Answer answer = solve("######\n#@ **#\n######\n");
  EXPECT_EQ(answer.code, 6);
  EXPECT_EQ(answer.moves, 0);
  EXPECT_EQ(answer.pushes, 0);
  EXPECT_TRUE(answer.text_guarded);
}

TEST(Rv7Solver, StepTextHoldsExactlyMovesLettersWithoutTerminator) {
  const Answer answer = solve(kCornerTurn);
  expect_replays(kCornerTurn, answer);
  EXPECT_EQ(answer.text.find_first_not_of("ldru"), std::string::npos);
}

TEST(Rv7Solver, WalkTiesGoLeftBeforeDownBeforeRightBeforeUp) {
  // Down and right lead equally fast to the cell behind the crate: down comes first.
  EXPECT_EQ(solve(kCornerTurn).text, "ddrr");
  // From the bottom left, right and up tie: right comes first.
  EXPECT_EQ(solve(R"(
######
#  $.#
#    #
#@   #
######
)")
                .text,
            "ruur");
}

TEST(Rv7Solver, CharacterAndNumericCodesMayBeMixed) {
  const rv7solv::LevelText level{"", rows_of(kCornerTurn)};
  auto board = rv7solv::board_codes(level);
  const Answer numeric = call_solver(&Rv7Solver2, board.data(), level.width(), level.height());
  for (size_t cell = 0; cell < board.size(); cell += 2) {
    static constexpr std::array<char, 10> kCharacters = {' ', '.', '$', '*', '#',
                                                         '@', 0,   0,   0,   '+'};
    const char c = kCharacters[static_cast<size_t>(board[cell])];
    board[cell] = c != 0 ? c : board[cell];
  }
  EXPECT_EQ(call_solver(&Rv7Solver2, board.data(), level.width(), level.height()), numeric);
}

TEST(Rv7Solver, UnclassifiedCodesCountAsFloor) {
  const rv7solv::LevelText level{"", rows_of(kCornerTurn)};
  auto board = rv7solv::board_codes(level);
  const Answer plain = call_solver(&Rv7Solver2, board.data(), level.width(), level.height());
  const std::array<int16_t, 6> kOthers = {6, 7, 'x', -5, 1000, 65};
  size_t next = 0;
  for (int16_t& code : board) {
    if (code == 0 && next < kOthers.size()) {
      code = kOthers[next++];
    }
  }
  ASSERT_EQ(next, kOthers.size());
  EXPECT_EQ(call_solver(&Rv7Solver2, board.data(), level.width(), level.height()), plain);
}

// Rv7Solver through the test's common call shape.
int32_t solver_current_geometry(const int16_t* board, int32_t* code, int32_t* moves,
                                int32_t* pushes, char* text, int32_t, int32_t) {
  return Rv7Solver(board, code, moves, pushes, text);
}

TEST(Rv7Solver, GeometryPersistsUntilTheNextAcceptedRv7Solver2) {
  constexpr char kTenByNine[] = R"(
##########
#@       #
#        #
#   $    #
#        #
#     .  #
#        #
#        #
##########
)";
  const rv7solv::LevelText level{"", rows_of(kTenByNine)};
  const auto board = rv7solv::board_codes(level);
  const Answer first = call_solver(&Rv7Solver2, board.data(), 10, 9);
  expect_replays(kTenByNine, first);
  EXPECT_EQ(call_solver(&solver_current_geometry, board.data(), 0, 0), first);
  // A refused size keeps the geometry.
  expect_refused(call_solver(&Rv7Solver2, board.data(), 17, 16), 2);
  EXPECT_EQ(call_solver(&solver_current_geometry, board.data(), 0, 0), first);
}

TEST(Rv7Solver, BoardsAboveTheCellTablesAreRefusedWithCodeTwo) {
  std::vector<int16_t> board(400, kWallCode);
  expect_refused(call_solver(&Rv7Solver2, board.data(), 20, 20), 2);
  expect_refused(call_solver(&Rv7Solver2, board.data(), 257, 1), 2);
  expect_refused(call_solver(&Rv7Solver2, board.data(), -4, -4), 2);
  expect_refused(call_solver(&Rv7Solver2, board.data(), 0, 9), 2);
  expect_refused(call_solver(&Rv7Solver2, board.data(), 65536, 65536), 2);
}

TEST(Rv7Solver, LevelsOpenToTheBoardEdgeAreRefused) {
  expect_refused(solve("#####\n#@$. \n#####\n"), 2);  // gap in the right wall
  expect_refused(solve("#@###\n# $.#\n#####\n"), 2);  // player on the top row
  expect_refused(solve("#####\n#@$.#\n## ##\n"), 2);  // gap in the bottom wall
  // Floor outside the walls is fine as long as nothing stands there.
  constexpr char kOutsideFloor[] = "       \n #####\n #@$.#\n #####\n";
  expect_replays(kOutsideFloor, solve(kOutsideFloor));
}

TEST(Rv7Solver, NarrowBoardAfterWideBoardsAnswersLikeAFreshStart) {
  // The crate stands against the bottom wall and can never reach the goal. The bottom wall
  // of this board was inner floor of the wider boards solved before.
  constexpr char kNarrow[] = R"(
#######
#  .  #
#   @ #
#  $  #
#######
)";
  const Answer fresh = solve(kNarrow);
  expect_refused(fresh, 3);
  for (int32_t width = 8; width <= 16; ++width) {
    const std::string wide_row = std::string("#").append(width - 2, ' ').append("#\n");
    const std::string wall_row = std::string(width, '#') + "\n";
    const std::string wide = wall_row + "#@$." + std::string(width - 5, ' ') + "#\n" + wide_row +
                             wide_row + wide_row + wall_row;
    expect_replays(wide, solve(wide));
    EXPECT_EQ(solve(kNarrow), fresh) << "after width " << width;
  }
}

}  // namespace
