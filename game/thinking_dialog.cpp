#include "thinking_dialog.h"

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

#include "dialog_base.h"
#include "dialogs.h"
#include "rv7game.h"
#include "rv7log.h"
#include "ui_Thinking.h"

namespace {

constexpr const char* kLogModule = kDialogLogModule;
constexpr int kStopRepeatMs = 10;
constexpr int kCancelMargin = 10;  // pixels below the Cancel button
constexpr int kCentreDivisor = 2;

class ThinkingDialog : public GameDialog {
 public:
  ThinkingDialog(QWidget* owner, const std::function<void()>& call,
                 const std::function<void()>& stop);
  ~ThinkingDialog() override;

  // Ends the call as soon as the library lets it (nothing without `stop`).
  void RequestStop();
  // The main window asked to close: stop the call, remember it for the caller.
  void RequestQuit();
  // Waits for the worker, stopping the call first when the dialog ended some other way.
  void FinishCall();

  const ThinkingOutcome& outcome() const { return outcome_; }

  void reject() override {}  // Escape and close requests do not end it

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void StartCall();
  void ShowCancel();

  Ui::Thinking form_;
  std::function<void()> call_;
  std::function<void()> stop_;
  std::thread worker_;
  std::atomic<bool> returned_{false};
  QTimer stop_repeat_;
  bool posted_ = false;
  ThinkingOutcome outcome_;
};

// Keeps every input event away from the game's other windows while the dialog is open, as a
// modal dialog does; a close request for the main window stops the call instead.
class InputGuard : public QObject {
 public:
  explicit InputGuard(ThinkingDialog* dialog) : dialog_(dialog) { qApp->installEventFilter(this); }
  ~InputGuard() override { qApp->removeEventFilter(this); }
  InputGuard(const InputGuard&) = delete;
  InputGuard& operator=(const InputGuard&) = delete;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ThinkingDialog* dialog_;
};

bool InputGuard::eventFilter(QObject* watched, QEvent* event) {
  if (!watched->isWidgetType()) {
    return false;
  }
  auto* widget = static_cast<QWidget*>(watched);
  if (widget == dialog_ || dialog_->isAncestorOf(widget)) {
    return false;
  }
  if (event->type() == QEvent::Close) {
    if (widget == MainWindow()) {
      dialog_->RequestQuit();
    }
    event->ignore();
    return true;
  }
  return event->isInputEvent() || event->type() == kCommandEvent ||
         event->type() == QEvent::Shortcut || event->type() == QEvent::ShortcutOverride;
}

ThinkingDialog::ThinkingDialog(QWidget* owner, const std::function<void()>& call,
                               const std::function<void()>& stop)
    : GameDialog(owner, kIdCancel), call_(call), stop_(stop) {
  // A caption bar without text and without a close box.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  form_.setupUi(this);
  Prepare();
  stop_repeat_.setInterval(kStopRepeatMs);
  connect(&stop_repeat_, &QTimer::timeout, this, [this] { stop_(); });
  connect(form_.id2, &QPushButton::clicked, this, [this] {
    outcome_.cancelled = true;
    form_.id2->setEnabled(false);
    RequestStop();
  });
}

ThinkingDialog::~ThinkingDialog() {
  FinishCall();
}

void ThinkingDialog::paintEvent(QPaintEvent* event) {
  GameDialog::paintEvent(event);
  if (!posted_) {
    posted_ = true;
    QCoreApplication::postEvent(this, new QEvent(kThinkingEvent));
  }
}

bool ThinkingDialog::event(QEvent* event) {
  if (event->type() == kThinkingEvent) {
    StartCall();
    return true;
  }
  if (event->type() == kCallReturnedEvent) {
    FinishCall();
    done(0);
    return true;
  }
  return GameDialog::event(event);
}

void ThinkingDialog::StartCall() {
  if (outcome_.quit_requested) {
    done(0);  // closed before the call began: it is not made
    return;
  }
  RV7_LOG(kLogTrace, "call");
  worker_ = std::thread([this] {
    call_();
    returned_ = true;
    QCoreApplication::postEvent(this, new QEvent(kCallReturnedEvent));
  });
  if (stop_) {
    QTimer::singleShot(kCancelDelayMs, this, [this] { ShowCancel(); });
  }
}

void ThinkingDialog::ShowCancel() {
  form_.id2->show();
  setFixedHeight(form_.id2->geometry().bottom() + 1 + kCancelMargin);
  CentreWindow(this, parentWidget(), kCentreDivisor, kCentreDivisor);
}

void ThinkingDialog::RequestStop() {
  if (stop_ && worker_.joinable()) {
    stop_();
    stop_repeat_.start();
  }
}

void ThinkingDialog::RequestQuit() {
  outcome_.quit_requested = true;
  RequestStop();
}

void ThinkingDialog::FinishCall() {
  if (!worker_.joinable()) {
    return;
  }
  // Ending without the worker's report (the event loop was told to quit): stop the call.
  while (stop_ && !returned_) {
    stop_();
    std::this_thread::sleep_for(std::chrono::milliseconds(kStopRepeatMs));
  }
  worker_.join();
  stop_repeat_.stop();
}

}  // namespace

ThinkingOutcome RunThinking(QWidget* owner, const std::function<void()>& call,
                            const std::function<void()>& stop) {
  RV7_ENTRY();
  ThinkingDialog dialog(owner, call, stop);
  const InputGuard guard(&dialog);
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog.show();
  loop.exec(QEventLoop::DialogExec);
  dialog.FinishCall();
  RV7_EXIT();
  return dialog.outcome();
}
