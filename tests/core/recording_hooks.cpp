#include "recording_hooks.h"

#include "engine.h"

RecordingHooks::RecordingHooks() {
  SetDisplayHooks(this);
}

RecordingHooks::~RecordingHooks() {
  SetDisplayHooks(nullptr);
}

void RecordingHooks::DrawCell(int row, int col) {
  drawn_cells.emplace_back(row, col);
  invalid = true;
}

void RecordingHooks::InitBitmap() {
  CopyLevelToBoard();
  window_calls.emplace_back("InitBitmap");
  invalid = true;
}

void RecordingHooks::SizeWindow() {
  window_calls.emplace_back("SizeWindow");
  invalid = true;
}

void RecordingHooks::NoSizeWindow() {
  window_calls.emplace_back("NoSizeWindow");
  invalid = true;
}

void RecordingHooks::CheckTileSize() {
  window_calls.emplace_back("CheckTileSize");
}

void RecordingHooks::RedrawStatusField(StatusField field) {
  redrawn_fields.push_back(field);
  invalid = true;
}

void RecordingHooks::PostReplayMessage() {
  queue.push_back(kReplayMessage);
}

void RecordingHooks::ClearRecord() {
  drawn_cells.clear();
  redrawn_fields.clear();
  window_calls.clear();
  moves_at_paint.clear();
}

namespace {

// The paint of a running replay: the window is drawn, then the next replay message posted.
void Paint(RecordingHooks& hooks) {
  hooks.invalid = false;
  hooks.moves_at_paint.push_back(move_count());
  if (replay_mode() != ReplayMode::kNone) {
    hooks.PostReplayMessage();
  }
}

}  // namespace

int PumpMessages(RecordingHooks& hooks, int message_limit) {
  int handled = 0;
  while (handled < message_limit) {
    if (!hooks.queue.empty()) {
      const int message = hooks.queue.front();
      hooks.queue.pop_front();
      // Without a replay running the window ignores the replay message.
      if (message == kReplayMessage && replay_mode() != ReplayMode::kNone) {
        replay_step();
        ++handled;
      }
    } else if (hooks.invalid) {
      // As on the platform, a paint comes only when no posted message is waiting.
      Paint(hooks);
    } else {
      break;
    }
  }
  return handled;
}
