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

TEST(Keymap, ShiftedMainRowDigitIsFoundByItsX11KeyCode) {
  // Shift+3 on a US layout arrives as "#"; the physical key is still the digit 3.
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_NumberSign, Qt::ShiftModifier, 12, true}), '3');
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_ParenRight, Qt::ShiftModifier, 19, true}), '0');
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_Exclam, Qt::ShiftModifier, 10, true}), '1');
  // Without X11 key codes the same symbol is just another key.
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_NumberSign, Qt::ShiftModifier, 12, false}), kVkOther);
  // Key codes beside the digit row are not digits.
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_Minus, Qt::NoModifier, 20, true}), kVkOther);
  EXPECT_EQ(VirtualKeyOf(KeyPress{Qt::Key_Escape, Qt::NoModifier, 9, true}), kVkOther);
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
