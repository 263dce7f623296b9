// Display hooks for tests: they record every call of the core, keep the board copy that the
// window's InitBitmap makes, and queue posted replay messages. PumpMessages() then drives
// those messages exactly as the game window does (replay message -> one replay step; when
// the queue is empty and something was invalidated -> paint, then post the replay message
// again while a replay runs), so replays run end to end without a window.
#pragma once

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "display_hooks.h"

class RecordingHooks : public DisplayHooks {
 public:
  // Installs itself as the core's display hooks; the destructor puts the no-op hooks back.
  RecordingHooks();
  ~RecordingHooks() override;
  RecordingHooks(const RecordingHooks&) = delete;
  RecordingHooks& operator=(const RecordingHooks&) = delete;

  void DrawCell(int row, int col) override;
  void InitBitmap() override;
  void SizeWindow() override;
  void NoSizeWindow() override;
  void CheckTileSize() override;
  void RedrawStatusField(StatusField field) override;
  void PostReplayMessage() override;

  // Forgets what was recorded so far (the queue and the invalid state stay).
  void ClearRecord();

  // The cells passed to DrawCell, in call order.
  std::vector<std::pair<int, int>> drawn_cells;
  // The status fields asked for, in call order.
  std::vector<StatusField> redrawn_fields;
  // Names of the window-level calls ("CheckTileSize", "InitBitmap", "SizeWindow",
  // "NoSizeWindow"), in call order.
  std::vector<std::string> window_calls;

  // The window's message queue (only replay messages are ever posted by the core).
  std::deque<int> queue;
  // Something was invalidated since the last paint.
  bool invalid = false;
  // The engine's move count at each paint.
  std::vector<int> moves_at_paint;
};

// Runs the message loop until the queue is empty and nothing is left to paint, or until
// `message_limit` replay messages were handled. Returns the number of replay messages
// handled.
int PumpMessages(RecordingHooks& hooks, int message_limit = 1000000);
