// What the game's dialogs share (internal to the dialog modules): the dialog frame built
// around a template, and the small conversions between the selection's UTF-8 texts and Qt.
#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <string_view>

class QPushButton;

// The trace module of the dialogs and the solver binding.
inline constexpr char kDialogLogModule[] = "rv7";

// A modal dialog of the game: a caption bar with the close box only, the size of its
// template fixed, its credit labels filled from the credit table, centred over its owner
// (over the screen without one). Escape and the close box end it with `escape_result`.
class GameDialog : public QDialog {
 public:
  GameDialog(QWidget* owner, int escape_result);

  // Called after the template is set up: fixes the size, fills the credit labels and
  // centres the dialog with CentreWindow(dialog, owner, 2, 2).
  void Prepare();
  // Ends the dialog with `result` when `button` is clicked.
  void CloseOn(QPushButton* button, int result);

  void reject() override;

 private:
  QWidget* owner_;
  int escape_result_;
};

// Builds the dialog of template `Form` over `owner`, lets `fill(dialog, form)` fill in and
// connect its controls, runs it modally and returns the result it closed with.
template <typename Form, typename Fill>
int RunForm(QWidget* owner, int escape_result, Fill fill) {
  GameDialog dialog(owner, escape_result);
  Form form;
  form.setupUi(&dialog);
  dialog.Prepare();
  fill(dialog, form);
  return dialog.exec();
}

inline QString FromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The text as UTF-8, cut to at most `room` bytes without splitting a character.
std::string ToUtf8Cut(const QString& text, std::size_t room);
