#include "replay_check.h"

#include <algorithm>
#include <cctype>

namespace {

struct Point {
  int row;
  int column;
};

class Board {
 public:
  explicit Board(const std::vector<std::string>& rows) : rows_(rows) {
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row) {
      const auto column = rows_[row].find_first_of("@+");
      if (column != std::string::npos) {
        player_ = {row, static_cast<int>(column)};
      }
    }
  }

  char at(Point p) const {
    if (p.row < 0 || p.row >= static_cast<int>(rows_.size()) || p.column < 0 ||
        p.column >= static_cast<int>(rows_[p.row].size())) {
      return '#';
    }
    return rows_[p.row][p.column];
  }

  static bool is_crate(char c) { return c == '$' || c == '*'; }
  static bool is_free(char c) { return c == ' ' || c == '.' || c == '@' || c == '+'; }
  static bool is_goal(char c) { return c == '.' || c == '*' || c == '+'; }

  // Moves what stands on from onto to, leaving the floor or goal beneath.
  void carry(Point from, Point to, char goal_form, char floor_form) {
    rows_[to.row][to.column] = is_goal(at(to)) ? goal_form : floor_form;
    rows_[from.row][from.column] = is_goal(at(from)) ? '.' : ' ';
  }

  // One step in direction (dr, dc); returns false when it is illegal.
  bool step(int dr, int dc, ReplayResult& result) {
    const Point next{player_.row + dr, player_.column + dc};
    if (is_crate(at(next))) {
      const Point beyond{next.row + dr, next.column + dc};
      if (!is_free(at(beyond))) {
        return false;
      }
      carry(next, beyond, '*', '$');
      ++result.pushes;
    } else if (!is_free(at(next))) {
      return false;
    }
    carry(player_, next, '+', '@');
    player_ = next;
    ++result.moves;
    return true;
  }

  bool solved() const {
    return std::none_of(rows_.begin(), rows_.end(),
                        [](const std::string& row) { return row.find('$') != std::string::npos; });
  }

 private:
  std::vector<std::string> rows_;
  Point player_{-1, -1};
};

}  // namespace

ReplayResult replay_steps(const std::vector<std::string>& rows, std::string_view steps) {
  Board board(rows);
  ReplayResult result;
  for (const char letter : steps) {
    int dr = 0;
    int dc = 0;
    switch (std::tolower(static_cast<unsigned char>(letter))) {
      case 'l':
        dc = -1;
        break;
      case 'r':
        dc = 1;
        break;
      case 'u':
        dr = -1;
        break;
      case 'd':
        dr = 1;
        break;
      default:
        result.legal = false;
        return result;
    }
    if (!board.step(dr, dc, result)) {
      result.legal = false;
      return result;
    }
  }
  result.solved = board.solved();
  return result;
}

char CellCharacter(int16_t code) {
  switch (code) {
    case 1:
    case '.':
      return '.';
    case 2:
    case '$':
      return '$';
    case 3:
    case '*':
      return '*';
    case 4:
    case '#':
      return '#';
    case 5:
    case '@':
      return '@';
    case 9:
    case '+':
      return '+';
    default:
      return ' ';
  }
}
