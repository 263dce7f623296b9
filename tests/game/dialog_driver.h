// Drives the game's dialogs from inside their own event loops, as a player would: a timer
// waits until the dialog with a given objectName is on screen and then acts on it.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QString>

#include <functional>

// Runs `act` once the visible top-level dialog named `name` appears (within two minutes,
// else the test fails). A dialog that `act` leaves open for three seconds fails the test and
// is closed with result -1, so a test never hangs on a dialog.
void WhenDialogOpens(const QString& name, std::function<void(QDialog&)> act);

// The dialog's child with this objectName; fails the test (and returns nullptr) when missing.
template <typename T>
T* ControlOf(QDialog& dialog, const char* name) {
  T* control = dialog.findChild<T*>(QString::fromLatin1(name));
  if (control == nullptr) {
    ADD_FAILURE() << "no control " << name << " in " << dialog.objectName().toStdString();
  }
  return control;
}

// Clicks the push button `name` of the dialog.
void ClickButton(QDialog& dialog, const char* name);
