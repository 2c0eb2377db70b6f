// The keys the canvas answers itself: zoom with or without Shift, clipboard only with Ctrl alone.
#include <gtest/gtest.h>

#include "canvas/KeyCommands.h"

namespace {

TEST(KeyCommandFor, ZoomKeysNeedNoModifierButShiftAndClipboardKeysNeedCtrlAlone) {
    using K = CanvasKeyCommand;
    const struct {
        int key;
        bool ctrl, alt, shift;
        K expected;
    } cases[] = {
        {'+', false, false, true, K::ZoomIn},    // Shift+= on most keyboards
        {'+', false, false, false, K::ZoomIn},   // the keypad
        {'-', false, false, false, K::ZoomOut},  //
        {'+', true, false, false, K::None},      // Ctrl held: another command's key
        {'-', false, true, false, K::None},      // Alt held
        {'C', true, false, false, K::Copy},      //
        {'V', true, false, false, K::Paste},     //
        {'V', false, false, false, K::None},     // a plain letter
        {'V', true, false, true, K::None},       // Ctrl+Shift+V
        {'C', true, true, false, K::None},       // Ctrl+Alt+C
        {'X', true, false, false, K::None},      // no Cut
        {0, false, false, false, K::None},
    };
    for (const auto& c : cases)
        EXPECT_EQ(KeyCommandFor(c.key, c.ctrl, c.alt, c.shift), c.expected)
            << char(c.key) << " ctrl " << c.ctrl << " alt " << c.alt << " shift " << c.shift;
}

}  // namespace
