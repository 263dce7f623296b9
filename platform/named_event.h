// A named manual-reset event shared by every process that uses the same name: once set it
// stays set, releasing every waiter, until it is reset.
#pragma once

#include <string_view>

struct EventBlock;  // the shared-memory word that holds the event

class NamedEvent {
 public:
  // Opens the event of that name, or creates it not set when none exists. valid() tells
  // whether that worked; the operations of an invalid event do nothing.
  explicit NamedEvent(std::string_view name);
  ~NamedEvent();
  NamedEvent(const NamedEvent&) = delete;
  NamedEvent& operator=(const NamedEvent&) = delete;

  bool valid() const { return block_ != nullptr; }
  // Sets the event and wakes every waiter.
  void Set();
  // Clears the event; later waits block until the next Set.
  void Reset();
  // Returns once the event is set, or once it has been set since the call began even if it
  // was reset again before this thread ran; without time limit. Returns at once when invalid.
  void Wait();

 private:
  EventBlock* block_ = nullptr;
};

// Removes the event's name so that the next creation makes a fresh, unset event. Returns 0
// or the system error code.
int RemoveNamedEvent(std::string_view name);
