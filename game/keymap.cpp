#include "keymap.h"

#include <QChar>
#include <QGuiApplication>
#include <QKeyEvent>

#include <array>

namespace {

// XKB key codes (X11 and Wayland alike) of the main-row digit keys "1" to "9" and "0" on
// every PC keyboard.
constexpr quint32 kXkbKeyCodeOne = 10;
constexpr quint32 kXkbKeyCodeZero = 19;

// The letter keys by their place on the keyboard: XKB key code and the letter the key bears
// on a US keyboard.
struct LetterKey {
  quint32 code;
  char letter;
};
constexpr std::array<LetterKey, 26> kLetterPositions{{
    {24, 'Q'}, {25, 'W'}, {26, 'E'}, {27, 'R'}, {28, 'T'}, {29, 'Y'}, {30, 'U'},
    {31, 'I'}, {32, 'O'}, {33, 'P'}, {38, 'A'}, {39, 'S'}, {40, 'D'}, {41, 'F'},
    {42, 'G'}, {43, 'H'}, {44, 'J'}, {45, 'K'}, {46, 'L'}, {52, 'Z'}, {53, 'X'},
    {54, 'C'}, {55, 'V'}, {56, 'B'}, {57, 'N'}, {58, 'M'},
}};

// The main-row digit of a key by its place, whatever the layout and Shift make of it
// ("&" or "é" on a French keyboard).
int DigitFromScanCode(const KeyPress& press) {
  if (!press.xkb_scan_code || press.scan_code < kXkbKeyCodeOne ||
      press.scan_code > kXkbKeyCodeZero) {
    return kVkOther;
  }
  if (press.scan_code == kXkbKeyCodeZero) {
    return kVk0;
  }
  return kVk0 + 1 + static_cast<int>(press.scan_code - kXkbKeyCodeOne);
}

// A letter of another script than the Latin one (Cyrillic, Greek, ...).
bool IsNonLatinLetter(int key) {
  if (key <= 0 || key >= Qt::Key_Escape) {
    return false;  // the toolkit's codes of named keys lie above the characters
  }
  const auto character = static_cast<char32_t>(key);
  return QChar::isLetter(character) && QChar::script(character) != QChar::Script_Latin;
}

// With a layout of another script the letter keys count by their place, as the letter the
// key bears on a US keyboard, so that the key in the N position still goes to the next
// level. Keys of a Latin layout keep their own letter, and symbols stay other keys.
int LetterFromScanCode(const KeyPress& press) {
  if (!press.xkb_scan_code || !IsNonLatinLetter(press.key)) {
    return kVkOther;
  }
  for (const LetterKey& position : kLetterPositions) {
    if (position.code == press.scan_code) {
      return position.letter;
    }
  }
  return kVkOther;
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

bool HasXkbKeyCodes(QStringView platform) {
  return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

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
  if (const int named = NamedKey(press.key); named != kVkOther) {
    return named;
  }
  if (const int digit = DigitFromScanCode(press); digit != kVkOther) {
    return digit;
  }
  return LetterFromScanCode(press);
}

int VirtualKeyOf(const QKeyEvent& event) {
  static const bool xkb = HasXkbKeyCodes(QGuiApplication::platformName());
  return VirtualKeyOf(KeyPress{event.key(), event.modifiers(), event.nativeScanCode(), xkb});
}
