// Keys the canvas answers itself while it has the keyboard focus, where the menu accelerators of
// the main window do not reach: the zoom keys of the View menu and the clipboard keys of the
// context menu.
#pragma once

enum class CanvasKeyCommand { None, ZoomIn, ZoomOut, Copy, Paste };

// The command of a key: `key` is the character the key stands for ('+' also for the keypad's
// plus, '-' for its minus), upper case for letters. "+" (and "=", the same key unshifted) zooms
// in and "-" out with no Ctrl or Alt held; Ctrl+C copies and Ctrl+V pastes without Alt or Shift.
CanvasKeyCommand KeyCommandFor(int key, bool ctrl, bool alt, bool shift);
