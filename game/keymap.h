// Translation of the toolkit's key events into the virtual-key codes that the game's key
// table is written in. The codes are those of the original platform, so the table reads the
// same on every system: arrows 37-40, Insert 45, Delete 46, Space 32, main-row digits 48-57,
// letters 65-90.
#pragma once

#include <QStringView>
#include <Qt>
#include <QtGlobal>

class QKeyEvent;

inline constexpr int kVkSpace = 32;
inline constexpr int kVkLeft = 37;
inline constexpr int kVkUp = 38;
inline constexpr int kVkRight = 39;
inline constexpr int kVkDown = 40;
inline constexpr int kVkInsert = 45;
inline constexpr int kVkDelete = 46;
inline constexpr int kVk0 = '0';
inline constexpr int kVk9 = '9';
inline constexpr int kVkA = 'A';
inline constexpr int kVkZ = 'Z';

// A key that has no place in the table (keypad, function keys, modifiers alone, symbols):
// the key handler refuses it with the low beep.
inline constexpr int kVkOther = 0;
// A key combination that is not a plain key press at all (held Alt, as a system key): the
// window passes it on without answering it.
inline constexpr int kVkNone = -1;

// The parts of a key event the translation looks at. `scan_code` is the XKB key code (X11
// and Wayland) when `xkb_scan_code` is true, otherwise it is not used. It names the physical
// key whatever the layout makes of it: the main-row digit keys count as digits on every
// layout (French "&" is 1), and with a layout of another script (Russian, Greek) the letter
// keys count as the letters they bear on a US keyboard.
struct KeyPress {
  int key = 0;
  Qt::KeyboardModifiers modifiers;
  quint32 scan_code = 0;
  bool xkb_scan_code = false;
};

// The virtual-key code of a key press: a code of the table, kVkOther or kVkNone.
int VirtualKeyOf(const KeyPress& press);

// True for the toolkit platforms whose key events carry XKB key codes ("xcb", "wayland...").
bool HasXkbKeyCodes(QStringView platform);

// The same for a key event as the window receives it.
int VirtualKeyOf(const QKeyEvent& event);
