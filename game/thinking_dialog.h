// The Thinking dialog: "... Solver is Thinking Very Hard ..." on screen over the main window
// while the solver runs on a worker thread, so that every window keeps painting.
#pragma once

#include <QEvent>

#include <functional>

#include "display_hooks.h"

class QWidget;

// The dialog's private events: the first private message, which it posts itself once it is
// on screen and painted (the call starts then), and the worker's report that the call
// returned.
inline constexpr QEvent::Type kThinkingEvent = static_cast<QEvent::Type>(kFirstPrivateMessage);
inline constexpr QEvent::Type kCallReturnedEvent =
    static_cast<QEvent::Type>(kFirstPrivateMessage + 1);

// The dialog shows "Cancel" this long after it appeared.
inline constexpr int kCancelDelayMs = 1000;

struct ThinkingOutcome {
  bool cancelled = false;       // "Cancel" was clicked
  bool quit_requested = false;  // the main window was closed meanwhile
};

// Opens the Thinking dialog (objectName "Thinking", no caption text, no close box) centred
// over `owner` and runs `call` on a worker thread once the dialog has been painted. After
// kCancelDelayMs the dialog grows a "Cancel" button ("id2") when `stop` is given; Cancel asks
// `stop` to end the call, and so does closing the main window, which is otherwise refused
// while the dialog is open and reported in the outcome. `stop` is repeated until the call
// returns, so a request made just before the call began is not lost. Escape does nothing.
// While the dialog is open no input reaches any other window of the game. Returns once the
// call has returned and the worker has ended.
ThinkingOutcome RunThinking(QWidget* owner, const std::function<void()>& call,
                            const std::function<void()>& stop);
