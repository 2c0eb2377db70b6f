// Checks on names the user types for files (library blocks, layouts) before anything is written.
#pragma once

#include <string>
#include <string_view>

// "" when `name` followed by `extension` is a safe file name inside one folder; otherwise the
// reason, for a message box. Refused: an empty name, "/" or "\", "..", a control character, text
// that is not UTF-8, and a name too long for the file system.
std::string CheckFileBaseName(const std::string& name, std::string_view extension = ".xml");

// The check for a library block name (the file is the name plus ".xml").
std::string CheckBlockName(const std::string& name);

// The check for a layout name typed into a save dialog (the file is the name plus ".xml").
std::string CheckLayoutName(const std::string& name);
