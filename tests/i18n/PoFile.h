// A small reader of gettext PO and POT files, enough for the catalog checks: each entry's msgid,
// plural msgid, translations and flags, with C escapes decoded.
#pragma once

#include <map>
#include <string>
#include <vector>

struct PoEntry {
    std::string id;
    std::string pluralId;
    std::vector<std::string> translations;  // msgstr, or msgstr[0], msgstr[1], ...
    bool fuzzy = false;
    bool obsolete = false;
    std::string where;  // the "#:" references: "app/gui/MainFrame.cpp:97 ..."
};

struct PoFile {
    std::vector<PoEntry> entries;  // without the header entry (empty msgid)
    std::string error;             // empty when the text was read whole

    // The entry of a msgid, or null.
    const PoEntry* Find(const std::string& id) const;
};

PoFile ParsePo(const std::string& text);
PoFile ReadPoFile(const std::string& path);

// The printf conversions of a text in order ("%d", "%s", "%.1f" -> "d", "s", "f"), "%%" left out.
std::vector<std::string> PrintfConversions(const std::string& text);
// What follows the tab of a menu label ("&Save\tCtrl+S" -> "Ctrl+S"); empty without a tab.
std::string AcceleratorOf(const std::string& label);
// The number of mnemonic markers: single "&", not "&&".
int MnemonicCount(const std::string& label);
