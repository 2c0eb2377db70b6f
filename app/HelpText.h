// What the help window says: its sections in order and the table of keyboard shortcuts, and the
// maker's web address behind every "Bramblewick" link.
#pragma once

#include <string>
#include <vector>

#include "base/Translate.h"

// The maker's web site (a placeholder address); every "Bramblewick" hyperlink opens it.
inline constexpr const char* kMakerWebSite = "https://www.bramblewick.example/";

// The help window's title, in English (shown through Tr).
inline constexpr const char* kHelpTitle = TR_NOOP("Quillmore v1.3 Help");
// The version the about box shows (the titles carry it as "v1.3").
inline constexpr const char* kProgramVersion = "1.3";

struct HelpSection {
    std::string heading;
    std::vector<std::string> paragraphs;
    bool makerLink = false;     // the "Quillmore by" row with the Bramblewick link comes first
    bool preformatted = false;  // the paragraphs are lines of a table in a fixed-width font
};

struct HelpShortcut {
    std::string keys;
    std::string action;
    bool operator==(const HelpShortcut&) const = default;
};

// The sections, from "Welcome to Quillmore v1.3" to "Keyboard Shortcuts". The shortcut table
// lists `menuShortcuts` (the accelerators the menus carry, read from the menu bar itself so that
// help and menus cannot disagree), then the mouse and canvas keys of CanvasShortcuts().
std::vector<HelpSection> HelpSections(const std::vector<HelpShortcut>& menuShortcuts);
// The keys and mouse gestures of the canvas that no menu item carries, in table order, in English
// (the help window shows them through Tr).
const std::vector<HelpShortcut>& CanvasShortcuts();
// One line of the shortcut table: the keys padded to a column of 20 characters (at least two
// blanks), then the action.
std::string ShortcutLine(const HelpShortcut& shortcut);
// Keys in the toolkit's English form ("Ctrl+Shift+O", "Del") with each name in the reader's
// language as the menus show it ("Strg+Umschalt+O", "Entf").
std::string KeyNamesAsMenusShowThem(const std::string& keys);
