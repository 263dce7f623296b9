#include "report_shell.h"

#include <QApplication>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <thread>

#include "display_choice.h"
#include "display_hooks.h"
#include "html_page.h"
#include "kernel.h"
#include "named_event.h"
#include "report_window.h"
#include "rv7ini.h"
#include "rv7list.h"
#include "rv7score.h"

namespace {

constexpr char kLogModule[] = "rv7";
constexpr char kInitialStatus[] = "Initialising...";
constexpr char kDoneStatus[] = "Done.";
constexpr int kWorkerPauseMs = 500;
constexpr int kWorkerPollMs = 100;

// The report programs show no board: only their SizeWindow does something, and it always
// runs on the window thread.
class ReportDisplayHooks : public NullDisplayHooks {
 public:
  explicit ReportDisplayHooks(ReportWindow& window) : window_(window) {}
  void SizeWindow() override { window_.PostSizeWindow(); }

 private:
  ReportWindow& window_;
};

// Everything the window thread and the worker share. The Status line has its own lock; the
// rest are flags. The Sync event is the one of the Paint handshake.
struct Shell {
  const ReportIdentity* identity = nullptr;
  std::mutex status_mutex;
  std::string status = kInitialStatus;
  NamedEvent* sync = nullptr;
  std::atomic<ReportWindow*> window{nullptr};
  std::atomic<bool> entry_released{false};  // the entry has seen the worker start
  std::atomic<bool> painting_ended{false};  // no paint can come any more
  std::atomic<bool> window_hidden{false};   // no paint comes while the window is unseen
  std::atomic<bool> handshake_pending{false};
  std::atomic<bool> worker_done{false};
  std::string failure;  // what ended the worker's run early; written by the worker only
  // The settings gate: opened by the entry once the settings files are read. It keeps the
  // worker off the settings tables even when the shared Sync event is set from elsewhere.
  std::mutex gate_mutex;
  std::condition_variable gate_changed;
  bool settings_read = false;
};

Shell& shell() {
  static Shell instance;
  return instance;
}

void ResetShell(const ReportIdentity& identity) {
  Shell& state = shell();
  state.identity = &identity;
  SetStatusLine(kInitialStatus);
  state.window = nullptr;
  state.entry_released = false;
  state.painting_ended = false;
  state.window_hidden = false;
  state.handshake_pending = false;
  state.worker_done = false;
  state.failure.clear();
  std::lock_guard lock(state.gate_mutex);
  state.settings_read = false;
}

// Waits for the Sync event and resets it, unless painting has ended (or the shell is not
// running, as when a worker's passes are used on their own).
void WaitForPaint() {
  Shell& state = shell();
  if (state.painting_ended || state.window_hidden || state.sync == nullptr) {
    return;
  }
  state.handshake_pending = true;
  state.sync->Wait();
  state.handshake_pending = false;
  state.sync->Reset();
}

void OpenSettingsGate() {
  Shell& state = shell();
  {
    std::lock_guard lock(state.gate_mutex);
    state.settings_read = true;
  }
  state.gate_changed.notify_all();
}

void WaitForSettingsGate() {
  Shell& state = shell();
  std::unique_lock lock(state.gate_mutex);
  state.gate_changed.wait(lock, [&state] { return state.settings_read; });
}

// Worker start: releases the entry's wait, then waits for the window's first paint (or
// for the news that there will be none) and for the settings to be read.
void WorkerStart() {
  Shell& state = shell();
  do {
    state.sync->Set();
    Sleep(kWorkerPauseMs);
  } while (!state.entry_released);
  WaitForPaint();
  WaitForSettingsGate();
}

// Ends the worker's run: "Done." is shown only after a complete run.
void WorkerEnd(bool complete) {
  if (complete) {
    SetStatusLine(kDoneStatus);
    PaintHandshake();
    Sleep(kWorkerPauseMs);
  }
  if (ReportWindow* window = shell().window; window != nullptr) {
    window->PostQuit();
  }
}

// The program's run: the page folder, then the worker proper. Returns false when a page
// could not be written, which ends the run at once.
bool RunWorker(ReportWorker worker) {
  try {
    MakePageFolder();
    worker();
    return true;
  } catch (const PageWriteError& error) {
    shell().failure = error.what();
    RV7_LOG_AS("Thread", kLogInfo, "run ended, %s", error.what());
    return false;
  }
}

void WorkerThread(ReportWorker worker) {
  RV7_LOG_AS("Thread", kLogFunc, "Entry");
  WorkerStart();
  WorkerEnd(RunWorker(worker));
  RV7_LOG_AS("Thread", kLogFunc, "Exit");
  shell().worker_done = true;
}

// From here on the worker never waits for a paint.
void EndPainting() {
  Shell& state = shell();
  state.painting_ended = true;
  state.sync->Set();
}

// Waits for the worker to end. While it runs without a window, the Sync event is set
// again at every poll, so that a reset made by another process using the same event name
// cannot hold it.
void AwaitWorker(std::thread& worker) {
  Shell& state = shell();
  while (!state.worker_done) {
    if (state.painting_ended) {
      state.sync->Set();
    }
    Sleep(kWorkerPollMs);
  }
  worker.join();
}

// The window and the display hooks that size it; both must outlive the worker's last
// posts to the window, so the entry keeps them until the worker has ended.
struct WindowParts {
  std::unique_ptr<ReportWindow> window;
  std::unique_ptr<ReportDisplayHooks> hooks;

  WindowParts() = default;
  WindowParts(const WindowParts&) = delete;
  WindowParts& operator=(const WindowParts&) = delete;
  ~WindowParts() {
    if (hooks != nullptr) {
      SetDisplayHooks(nullptr);
    }
  }
};

// Creates and shows the window and serves its message loop until the quit message. Without
// an application object no window is made and the loop is skipped. Opens the settings gate
// once the display hooks are in place.
void RunWindow(const ReportIdentity& identity, WindowParts& parts) {
  RV7_LOG_AS("main2", kLogFunc, "Entry");
  if (QApplication::instance() != nullptr) {
    parts.window = std::make_unique<ReportWindow>(identity);
    parts.hooks = std::make_unique<ReportDisplayHooks>(*parts.window);
    SetDisplayHooks(parts.hooks.get());
    shell().window = parts.window.get();
    OpenSettingsGate();
    parts.window->show();
    parts.window->update();
    QApplication::exec();
  } else {
    RV7_LOG_AS("main2", kLogInfo, "no display, running without a window");
    OpenSettingsGate();
  }
  RV7_LOG_AS("main2", kLogFunc, "Exit");
}

// The toolkit's own messages (warnings about the platform, for example) go to the trace log
// rather than the error output, where only the program's own lines appear; fatal messages
// still reach the error output.
void RouteToolkitMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  const QByteArray text = message.toLocal8Bit();
  if (type == QtFatalMsg) {
    std::fprintf(stderr, "%s\n", text.constData());
    return;
  }
  RV7_LOG_AS("Qt", kLogInfo, "%s", text.constData());
}

std::string CommandLineText(int argc, char** argv) {
  std::string text;
  for (int index = 1; index < argc; ++index) {
    if (index > 1) {
      text += ' ';
    }
    text += argv[index];
  }
  return text;
}

// Entry steps 5 to 9: the worker, the settings, the window, the end of the worker.
int RunWithSyncEvent(const ReportIdentity& identity, ReportWorker worker) {
  Shell& state = shell();
  state.sync->Reset();
  std::thread thread(WorkerThread, worker);
  state.sync->Wait();
  state.sync->Reset();
  state.entry_released = true;
  MazesIni();
  const int rc = GameIni();
  WindowParts parts;
  RunWindow(identity, parts);
  EndPainting();
  AwaitWorker(thread);
  state.window = nullptr;
  return rc;
}

// After the run: a run that a page ended says why on the error output and fails.
int RunResult(const ReportIdentity& identity, int rc) {
  const std::string& failure = shell().failure;
  if (failure.empty()) {
    return rc;
  }
  std::fprintf(stderr, "%s: %s\n", identity.program, failure.c_str());
  return kPageFailureExitCode;
}

}  // namespace

void SetStatusLine(std::string_view text) {
  std::lock_guard lock(shell().status_mutex);
  shell().status.assign(text);
}

std::string StatusLine() {
  std::lock_guard lock(shell().status_mutex);
  return shell().status;
}

void PaintHandshake() {
  Shell& state = shell();
  if (state.painting_ended || state.window_hidden) {
    return;
  }
  if (ReportWindow* window = state.window; window != nullptr) {
    window->InvalidateStatus();
  }
  WaitForPaint();
}

std::string_view ProgramTitle() {
  return shell().identity != nullptr ? shell().identity->title : "";
}

std::string_view ProgramVersion() {
  return shell().identity != nullptr ? shell().identity->version : "";
}

void ReportPaintDone() {
  if (NamedEvent* sync = shell().sync; sync != nullptr) {
    sync->Set();
  }
}

bool ReportHandshakePending() {
  return shell().handshake_pending;
}

void ReportWindowVisible(bool visible) {
  Shell& state = shell();
  state.window_hidden = !visible;
  if (!visible && state.sync != nullptr) {
    state.sync->Set();
  }
}

int RunReportProgram(const ReportIdentity& identity, std::string_view command_line,
                     ReportWorker worker) {
  LogSelectProgram(identity.log_program);
  const std::string command(command_line);
  LogSetProgramIdentity(command.c_str());
  RV7_LOG_AS("main", kLogFunc, "Entry");
  RV7_LOG_AS("main", kLogInfo, "invoked, dir=\"%s\", app=\"%s\"", LogProgramDirectory(),
             LogProgramName());
  pool_start();
  ResetShell(identity);
  int rc = 0;
  {
    // A fresh event for every run: a copy of the program running at the same time keeps
    // the event it mapped, so the two copies never set each other's event.
    RemoveNamedEvent(identity.sync_event_name);
    NamedEvent created(identity.sync_event_name);
    NamedEvent opened(identity.sync_event_name);
    shell().sync = &opened;
    rc = RunResult(identity, RunWithSyncEvent(identity, worker));
    shell().sync = nullptr;
  }
  RemoveNamedEvent(identity.sync_event_name);
  ClearStats();
  release_ini();
  pool_free_all();
  RV7_LOG_AS("main", kLogFunc, "%s, rc=%d", "Exit", rc);
  return rc;
}

int RunReportMain(int argc, char** argv, const ReportIdentity& identity, ReportWorker worker) {
  const std::string command_line = CommandLineText(argc, argv);
  const DisplayDecision display =
      ChooseDisplay(DisplaySettingsOf(argc, argv), SystemDisplayProbes());
  if (display.choice != DisplayChoice::kWindow) {
    if (display.choice == DisplayChoice::kUnreachable) {
      std::fprintf(stderr, "%s\n", UnreachableDisplayText(identity.program, display).c_str());
    }
    return RunReportProgram(identity, command_line, worker);
  }
  // The log is ready for the messages of the toolkit's start.
  LogSelectProgram(identity.log_program);
  LogSetProgramIdentity(command_line.c_str());
  qInstallMessageHandler(RouteToolkitMessages);
  QApplication application(argc, argv);
  return RunReportProgram(identity, command_line, worker);
}
