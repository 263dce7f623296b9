#include <gtest/gtest.h>

#include "dialog_driver.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

constexpr int kPollMs = 10;
// A dialog may follow a search that takes seconds in a sanitizer build on a busy machine.
constexpr int kAppearPatienceMs = 120000;
constexpr int kClosePatienceMs = 3000;

QDialog* VisibleDialog(const QString& name) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    auto* dialog = qobject_cast<QDialog*>(widget);
    if (dialog != nullptr && dialog->isVisible() && dialog->objectName() == name) {
      return dialog;
    }
  }
  return nullptr;
}

void CloseIfStillOpen(const QPointer<QDialog>& dialog, const QString& name) {
  QTimer::singleShot(kClosePatienceMs, qApp, [dialog, name] {
    if (dialog != nullptr && dialog->isVisible()) {
      ADD_FAILURE() << name.toStdString() << " was left open";
      dialog->done(-1);
    }
  });
}

}  // namespace

void WhenDialogOpens(const QString& name, std::function<void(QDialog&)> act) {
  auto* timer = new QTimer(qApp);
  auto* clock = new QElapsedTimer;
  clock->start();
  QObject::connect(timer, &QTimer::timeout, qApp, [timer, clock, name, act] {
    QDialog* dialog = VisibleDialog(name);
    if (dialog == nullptr && clock->elapsed() < kAppearPatienceMs) {
      return;
    }
    timer->stop();
    timer->deleteLater();
    delete clock;
    if (dialog == nullptr) {
      ADD_FAILURE() << name.toStdString() << " did not open";
      return;
    }
    const QPointer<QDialog> guarded(dialog);
    act(*dialog);
    CloseIfStillOpen(guarded, name);
  });
  timer->start(kPollMs);
}

void ClickButton(QDialog& dialog, const char* name) {
  if (auto* button = ControlOf<QPushButton>(dialog, name)) {
    QTest::mouseClick(button, Qt::LeftButton);
  }
}
