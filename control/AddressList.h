// The address list the decoders are set up from: one row per accessory, as CSV or plain text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class LayoutDocument;

struct AddressListRow {
    uint32_t piece = 0;
    int32_t address = 0;  // first address; 0 when the accessory has none yet
    int32_t count = 1;    // addresses taken
    std::string addressText;  // "12", "13-14" or "" without an address
    std::string article;
    std::string kind;      // translated
    double x = 0, y = 0;   // centre, mm
    std::string level;     // the level's name
    std::string section;   // detection section of the wiring plan; "" when there is none
};

// Every accessory of the layout once, by address (those without one last, by piece id).
std::vector<AddressListRow> AddressListRows(const LayoutDocument& doc);

enum class AddressListFormat { Csv, Text };

// The list with a header line: address, article, kind, position, level, section. CSV fields are
// separated by commas and quoted where they hold a comma, quote or line break.
void WriteAddressList(const LayoutDocument& doc, AddressListFormat format, std::string& out);
