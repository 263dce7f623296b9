// The step letters spoken by the move history, the score files, the clipboard and the
// solver: "u" "d" "l" "r" for a plain step, "U" "D" "L" "R" for a push, and the key letters
// "H" (up) "P" (down) "K" (left) "M" (right) that a slot holds while its step is being made,
// read with the meaning of the lower-case letters. One set of helpers for all of them.
#pragma once

#include <cstdint>
#include <optional>

enum class Direction { kUp, kDown, kLeft, kRight };

// The player's facing: the virtual-key code of the arrow key of his last movement.
// kNone until the first movement; the renderer then shows him facing right.
enum class Facing : int16_t { kNone = 0, kLeft = 37, kUp = 38, kRight = 39, kDown = 40 };

struct StepVector {
  int rows;
  int cols;
};

// The direction a letter stands for; none for a byte that is no step letter (zero included).
constexpr std::optional<Direction> DirectionOfLetter(char letter) {
  switch (letter) {
    case 'u':
    case 'U':
    case 'H':
      return Direction::kUp;
    case 'd':
    case 'D':
    case 'P':
      return Direction::kDown;
    case 'l':
    case 'L':
    case 'K':
      return Direction::kLeft;
    case 'r':
    case 'R':
    case 'M':
      return Direction::kRight;
    default:
      return std::nullopt;
  }
}

constexpr bool IsStepLetter(char letter) {
  return DirectionOfLetter(letter).has_value();
}

// True for "U" "D" "L" "R" only: a step that pushed a crate.
constexpr bool IsPushLetter(char letter) {
  return letter == 'U' || letter == 'D' || letter == 'L' || letter == 'R';
}

// Key letters become the plain lower-case letters, as files and the clipboard write them;
// every other byte stays as it is.
constexpr char StoredLetter(char letter) {
  switch (letter) {
    case 'H':
      return 'u';
    case 'P':
      return 'd';
    case 'K':
      return 'l';
    case 'M':
      return 'r';
    default:
      return letter;
  }
}

constexpr char PlainLetter(Direction direction) {
  constexpr char kLetters[] = {'u', 'd', 'l', 'r'};
  return kLetters[static_cast<int>(direction)];
}

constexpr char PushLetter(Direction direction) {
  constexpr char kLetters[] = {'U', 'D', 'L', 'R'};
  return kLetters[static_cast<int>(direction)];
}

constexpr char KeyLetter(Direction direction) {
  constexpr char kLetters[] = {'H', 'P', 'K', 'M'};
  return kLetters[static_cast<int>(direction)];
}

constexpr Facing FacingOf(Direction direction) {
  constexpr Facing kFacings[] = {Facing::kUp, Facing::kDown, Facing::kLeft, Facing::kRight};
  return kFacings[static_cast<int>(direction)];
}

// (row change, column change) of one step.
constexpr StepVector VectorOf(Direction direction) {
  constexpr StepVector kVectors[] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
  return kVectors[static_cast<int>(direction)];
}

constexpr Direction Opposite(Direction direction) {
  constexpr Direction kOpposites[] = {Direction::kDown, Direction::kUp, Direction::kRight,
                                      Direction::kLeft};
  return kOpposites[static_cast<int>(direction)];
}
