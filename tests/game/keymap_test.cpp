// Key events become the virtual-key codes of the key table.
#include "keymap.h"

#include <gtest/gtest.h>

namespace {

int Code(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return VirtualKeyOf(KeyPress{key, modifiers, 0, false});
}

TEST(Keymap, ArrowsEditingKeysAndSpaceKeepTheirCodes) {
  EXPECT_EQ(Code(Qt::Key_Left), 37);
  EXPECT_EQ(Code(Qt::Key_Up), 38);
  EXPECT_EQ(Code(Qt::Key_Right), 39);
  EXPECT_EQ(Code(Qt::Key_Down), 40);
  EXPECT_EQ(Code(Qt::Key_Insert), 45);
  EXPECT_EQ(Code(Qt::Key_Delete), 46);
  EXPECT_EQ(Code(Qt::Key_Space), 32);
}

TEST(Keymap, LettersAreUpperCaseCodesWithOrWithoutShiftOrControl) {
  EXPECT_EQ(Code(Qt::Key_A), 'A');
  EXPECT_EQ(Code(Qt::Key_W, Qt::ShiftModifier), 'W');
  EXPECT_EQ(Code(Qt::Key_Z, Qt::ControlModifier), 'Z');
}

TEST(Keymap, MainRowDigitsCountButKeypadDigitsAndArrowsDoNot) {
  EXPECT_EQ(Code(Qt::Key_0), '0');
  EXPECT_EQ(Code(Qt::Key_3), '3');
  EXPECT_EQ(Code(Qt::Key_3, Qt::KeypadModifier), kVkOther);
  EXPECT_EQ(Code(Qt::Key_Up, Qt::KeypadModifier), kVkOther);
  EXPECT_EQ(Code(Qt::Key_Insert, Qt::KeypadModifier), kVkOther);
}

TEST(Keymap, ShiftedMainRowDigitIsFoundByItsKeyCode) {
  // Shift+3 on a US layout arrives as "#"; the physical key is still the digit 3.
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_NumberSign, Qt::ShiftModifier, 12, true}), '3');
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_ParenRight, Qt::ShiftModifier, 19, true}), '0');
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_Exclam, Qt::ShiftModifier, 10, true}), '1');
  // Without key codes the same symbol is just another key.
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_NumberSign, Qt::ShiftModifier, 12, false}), kVkOther);
  // Key codes beside the digit row are not digits.
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_Minus, Qt::NoModifier, 20, true}), kVkOther);
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_Escape, Qt::NoModifier, 9, true}), kVkOther);
}

// XKB key codes of some keys by their place on a PC keyboard.
constexpr quint32 kCodeOne = 10;
constexpr quint32 kCodeTwo = 11;
constexpr quint32 kCodeZero = 19;
constexpr quint32 kCodeQ = 24;
constexpr quint32 kCodeV = 55;
constexpr quint32 kCodeN = 57;
constexpr quint32 kCodeM = 58;
constexpr quint32 kCodeSemicolon = 47;

int OnXkb(int key, quint32 code, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  return VirtualKeyOf(KeyPress{key, modifiers, code, true});
}

TEST(Keymap, NonLatinLayoutsCountLetterKeysByTheirPlace) {
  // Russian: the key in the N place types "т", the one in the M place "ь".
  EXPECT_EQ(OnXkb(0x0422, kCodeN), 'N');
  EXPECT_EQ(OnXkb(0x042C, kCodeM), 'M');
  EXPECT_EQ(OnXkb(0x0422, kCodeN, Qt::ShiftModifier), 'N');
  // Greek: "ω" in the V place.
  EXPECT_EQ(OnXkb(0x03A9, kCodeV), 'V');
  // Without key codes, or off the letter places, such a letter is just another key.
  EXPECT_EQ(VirtualKeyOf(KeyPress{0x0422, Qt::NoModifier, kCodeN, false}), kVkOther);
  EXPECT_EQ(OnXkb(0x0416, kCodeSemicolon), kVkOther);
}

TEST(Keymap, LatinLayoutsKeepTheLettersTheirKeysBear) {
  // French: the key in the US Q place is A, the one in the M place a comma.
  EXPECT_EQ(OnXkb(Qt::Key_A, kCodeQ), 'A');
  EXPECT_EQ(OnXkb(Qt::Key_M, kCodeSemicolon), 'M');
  EXPECT_EQ(OnXkb(Qt::Key_Comma, kCodeM), kVkOther);
}

TEST(Keymap, MainRowDigitKeysAreDigitsOnEveryLayout) {
  // French unshifted main row: "&", "é", "à".
  EXPECT_EQ(OnXkb(Qt::Key_Ampersand, kCodeOne), '1');
  EXPECT_EQ(OnXkb(Qt::Key_Eacute, kCodeTwo), '2');
  EXPECT_EQ(OnXkb(Qt::Key_Agrave, kCodeZero), '0');
  // Russian shifted "№" on the 3 key.
  EXPECT_EQ(OnXkb(0x2116, 12, Qt::ShiftModifier), '3');
}

TEST(Keymap, X11AndWaylandEventsCarryXkbKeyCodes) {
  EXPECT_TRUE(HasXkbKeyCodes(u"xcb"));
  EXPECT_TRUE(HasXkbKeyCodes(u"wayland"));
  EXPECT_TRUE(HasXkbKeyCodes(u"wayland-egl"));
  EXPECT_FALSE(HasXkbKeyCodes(u"offscreen"));
  EXPECT_FALSE(HasXkbKeyCodes(u"minimal"));
}

TEST(Keymap, FunctionKeysModifiersAndSymbolsAreOtherKeys) {
  EXPECT_EQ(Code(Qt::Key_F1), kVkOther);
  EXPECT_EQ(Code(Qt::Key_F10), kVkOther);
  EXPECT_EQ(Code(Qt::Key_Shift, Qt::ShiftModifier), kVkOther);
  EXPECT_EQ(Code(Qt::Key_Control, Qt::ControlModifier), kVkOther);
  EXPECT_EQ(Code(Qt::Key_Escape), kVkOther);
  EXPECT_EQ(Code(Qt::Key_Tab), kVkOther);
  EXPECT_EQ(Code(Qt::Key_Return), kVkOther);
}

TEST(Keymap, AltCombinationsAreNoKeyPressOfTheTable) {
  EXPECT_EQ(Code(Qt::Key_Left, Qt::AltModifier), kVkNone);
  EXPECT_EQ(Code(Qt::Key_F4, Qt::AltModifier), kVkNone);
}

}  // namespace
