#include "keymap.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {

// X11 key codes of the main-row digit keys "1" to "9" and "0" on every PC keyboard (evdev).
constexpr quint32 kX11KeyCodeOne = 10;
constexpr quint32 kX11KeyCodeZero = 19;

int DigitFromScanCode(const KeyPress& press) {
  if (!press.x11_scan_code || press.scan_code < kX11KeyCodeOne ||
      press.scan_code > kX11KeyCodeZero) {
    return kVkOther;
  }
  if (press.scan_code == kX11KeyCodeZero) {
    return kVk0;
  }
  return kVk0 + 1 + static_cast<int>(press.scan_code - kX11KeyCodeOne);
}

int NamedKey(int key) {
  switch (key) {
    case Qt::Key_Left:
      return kVkLeft;
    case Qt::Key_Up:
      return kVkUp;
    case Qt::Key_Right:
      return kVkRight;
    case Qt::Key_Down:
      return kVkDown;
    case Qt::Key_Insert:
      return kVkInsert;
    case Qt::Key_Delete:
      return kVkDelete;
    case Qt::Key_Space:
      return kVkSpace;
    default:
      return kVkOther;
  }
}

}  // namespace

int VirtualKeyOf(const KeyPress& press) {
  if (press.modifiers.testFlag(Qt::AltModifier)) {
    return kVkNone;
  }
  // Keypad keys, whatever Num Lock makes of them, are not the keys of the table.
  if (press.modifiers.testFlag(Qt::KeypadModifier)) {
    return kVkOther;
  }
  if (press.key >= Qt::Key_A && press.key <= Qt::Key_Z) {
    return kVkA + (press.key - Qt::Key_A);
  }
  if (press.key >= Qt::Key_0 && press.key <= Qt::Key_9) {
    return kVk0 + (press.key - Qt::Key_0);
  }
  const int named = NamedKey(press.key);
  return named != kVkOther ? named : DigitFromScanCode(press);
}

int VirtualKeyOf(const QKeyEvent& event) {
  static const bool on_x11 = QGuiApplication::platformName() == QLatin1String("xcb");
  return VirtualKeyOf(KeyPress{event.key(), event.modifiers(), event.nativeScanCode(), on_x11});
}
