// What the help window says: its sections in order and the table of keyboard shortcuts, and the
// maker's web address behind every "Bramblewick" link.
#pragma once

#include <string>
#include <vector>

// The maker's web site (a placeholder address); every "Bramblewick" hyperlink opens it.
inline constexpr const char* kMakerWebSite = "https://www.bramblewick.example/";

inline constexpr const char* kHelpTitle = "Quillmore v1.3 Help";

struct HelpSection {
    std::string heading;
    std::vector<std::string> paragraphs;
    bool makerLink = false;     // the "Quillmore by" row with the Bramblewick link comes first
    bool preformatted = false;  // the paragraphs are lines of a table in a fixed-width font
};

struct HelpShortcut {
    const char* keys;
    const char* action;
};

// The eighteen sections, from "Welcome to Quillmore v1.3" to "Keyboard Shortcuts".
const std::vector<HelpSection>& HelpSections();
// The rows of the shortcut table, in order.
const std::vector<HelpShortcut>& HelpShortcuts();
// One line of the shortcut table: the keys padded to a column, then the action.
std::string ShortcutLine(const HelpShortcut& shortcut);
