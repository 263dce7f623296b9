// The dialog frame shared by every dialog, CentreWindow, and the dialogs that only show
// texts: About, Message, Exists and Solver message.
#include "dialogs.h"

#include <QLabel>
#include <QPushButton>
#include <QVariant>

#include <initializer_list>
#include <string>

#include "credits.h"
#include "dialog_base.h"
#include "rv7game.h"
#include "rv7log.h"
#include "ui_About.h"
#include "ui_Exists.h"
#include "ui_Message.h"
#include "ui_SolverMessage.h"

namespace {

constexpr const char* kLogModule = kDialogLogModule;
constexpr int kCentreDivisor = 2;
constexpr char kCreditProperty[] = "credit";

struct MessageLines {
  std::string first;
  std::string second;
};
MessageLines g_message_lines;

// The screen the sizing arithmetic works with: the size the window read (or a test set) at
// the primary screen's origin; the primary screen itself before the window read it.
QRect ScreenRect() {
  const QRect primary = PrimaryScreenGeometry();
  const ScreenMetrics& metrics = Metrics();
  if (metrics.screen_width <= 0 || metrics.screen_height <= 0) {
    return primary;
  }
  return QRect(primary.topLeft(), QSize(metrics.screen_width, metrics.screen_height));
}

// One coordinate clamped to the screen: past the far edge it is pulled back, and a window
// larger than the screen keeps its near edge (its caption) on the screen.
int ClampToScreen(int start, int extent, int screen_start, int screen_extent) {
  if (start + extent > screen_start + screen_extent) {
    start = screen_start + screen_extent - extent;
  }
  return start < screen_start ? screen_start : start;
}

void FillCredits(QWidget& dialog) {
  for (QLabel* label : dialog.findChildren<QLabel*>()) {
    const QVariant line = label->property(kCreditProperty);
    const int number = line.isValid() ? line.toInt() : 0;
    if (number >= 1 && number <= static_cast<int>(kCreditLines.size())) {
      label->setText(QString::fromUtf8(kCreditLines[static_cast<std::size_t>(number - 1)]));
    }
  }
}

// The procedure shared by Message, Exists and Solver message: the platform, version and
// credit lines greyed, the message lines filled in, each button closing with its identifier.
template <typename Form>
void FillMessageForm(GameDialog& dialog, Form& form) {
  for (QLabel* label : {form.id110, form.id111, form.id112, form.id113, form.id114}) {
    label->setEnabled(false);
  }
  form.id125->setText(FromUtf8(g_message_lines.first));
  if constexpr (requires { form.id126; }) {
    form.id126->setText(FromUtf8(g_message_lines.second));
  }
  dialog.CloseOn(form.id1, kIdOk);
  if constexpr (requires { form.id2; }) {
    dialog.CloseOn(form.id2, kIdCancel);
  }
}

template <typename Form>
int RunMessageForm(QWidget* owner, int escape_result) {
  return RunForm<Form>(owner, escape_result, &FillMessageForm<Form>);
}

}  // namespace

GameDialog::GameDialog(QWidget* owner, int escape_result)
    : QDialog(owner), owner_(owner), escape_result_(escape_result) {
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
}

void GameDialog::Prepare() {
  setFixedSize(size());
  FillCredits(*this);
  CentreWindow(this, owner_, kCentreDivisor, kCentreDivisor);
}

void GameDialog::CloseOn(QPushButton* button, int result) {
  connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
}

void GameDialog::reject() {
  done(escape_result_);
}

std::string ToUtf8Cut(const QString& text, std::size_t room) {
  std::string bytes = text.toStdString();
  if (bytes.size() <= room) {
    return bytes;
  }
  std::size_t cut = room;
  // Step back over continuation bytes to the start of the character that does not fit.
  while (cut > 0 && (static_cast<unsigned char>(bytes[cut]) & 0xC0) == 0x80) {
    --cut;
  }
  bytes.resize(cut);
  return bytes;
}

void CentreWindow(QWidget* window, QWidget* relation, int horizontal_divisor,
                  int vertical_divisor) {
  RV7_ENTRY();
  const QRect screen = ScreenRect();
  const QRect own = window->frameGeometry();
  const QRect related = relation != nullptr ? relation->frameGeometry() : screen;
  const int left = (related.width() - own.width()) / horizontal_divisor + related.left();
  const int top = (related.height() - own.height()) / vertical_divisor + related.top();
  window->move(ClampToScreen(left, own.width(), screen.left(), screen.width()),
               ClampToScreen(top, own.height(), screen.top(), screen.height()));
  RV7_EXIT();
}

void SetMessageLines(std::string_view first, std::string_view second) {
  g_message_lines.first.assign(first);
  g_message_lines.second.assign(second);
}

int MessageDialog(QWidget* owner) {
  RV7_ENTRY();
  const int rc = RunMessageForm<Ui::Message>(owner, kIdOk);
  RV7_EXIT_RC(rc);
  return rc;
}

int ExistsDialog(QWidget* owner) {
  RV7_ENTRY();
  const int rc = RunMessageForm<Ui::Exists>(owner, kIdCancel);
  RV7_EXIT_RC(rc);
  return rc;
}

int SolverMessageDialog(QWidget* owner) {
  RV7_ENTRY();
  const int rc = RunMessageForm<Ui::SolverMessage>(owner, kIdOk);
  RV7_EXIT_RC(rc);
  return rc;
}

int AboutDialog(QWidget* owner) {
  RV7_ENTRY();
  const int rc = RunForm<Ui::About>(
      owner, kIdCancel, [](GameDialog& dialog, Ui::About& form) { dialog.CloseOn(form.id1, kIdOk); });
  RV7_EXIT_RC(rc);
  return rc;
}
