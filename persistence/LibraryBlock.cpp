// Library block files: the selection written with the layout's piece element, and read back.
#include "persistence/LibraryBlock.h"

#include <unistd.h>

#include <functional>
#include <limits>
#include <unordered_set>

#include "persistence/AtomicFile.h"
#include "persistence/FileFields.h"
#include "persistence/LayoutFile.h"

namespace {

bool Contains(std::string_view line, std::string_view text) {
    return line.find(text) != std::string_view::npos;
}

}  // namespace

std::string BlockToText(const LayoutDocument& doc, const std::string& blockName) {
    bool anyPiece = false, anyScenery = false;
    for (const PlacedPiece& p : doc.pieces) anyPiece = anyPiece || p.selected;
    for (const SceneryItem& s : doc.scenery) anyScenery = anyScenery || s.selected;
    if (!anyPiece && !anyScenery) return {};

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<block name=\"";
    AppendEscapedXml(out, blockName);
    out += "\" version=\"1\">\n";
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected) AppendPieceElement(out, p, "  ");
    if (anyScenery) {
        out += "  <scenery>\n";
        for (const SceneryItem& s : doc.scenery) {
            if (!s.selected) continue;
            // A block's scenery is placed unselected.
            AppendSceneryItemElement(out, s, false);
        }
        out += "  </scenery>\n";
    }
    out += "</block>\n";
    return out;
}

std::string SaveBlock(const LayoutDocument& doc, const std::string& path,
                      const std::string& blockName) {
    std::string text = BlockToText(doc, blockName);
    if (text.empty()) return "No pieces or scenery selected";
    return WriteFileAtomically(path, text);
}

namespace {

std::string LoadBlockFrom(LineSource& cursor, std::string* blockName,
                          std::vector<PlacedPiece>* pieces, std::vector<SceneryItem>* sceneryItems,
                          const std::function<std::string()>& readFault) {
    constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
    constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();
    std::string name;
    std::vector<PlacedPiece> readPieces;
    std::vector<SceneryItem> readScenery;
    // Placement gives block objects new ids by their old ones, so those must be unique.
    std::unordered_set<uint32_t> ids;
    std::string error;
    auto fail = [&] {
        std::string fault = readFault();
        return fault.empty() ? error : fault;
    };
    bool inScenery = false;

    std::string_view line;
    while (cursor.Next(&line)) {
        const int n = cursor.LineNumber();
        if (Contains(line, "<block ")) name = DecodeXml(RawAttribute(line, "name"));
        if (Contains(line, "<scenery>")) inScenery = true;
        if (Contains(line, "</scenery>")) {
            inScenery = false;
            continue;
        }
        if (inScenery && Contains(line, "<sceneryitem ")) {
            LineFields f(line, n, "sceneryitem", &error);
            SceneryItem s;
            if (!f.Id("id", &s.id) || !f.Double("x", &s.x) || !f.Double("y", &s.y) ||
                !f.Double("heading", &s.heading) || !f.OptionalDouble("scalex", 1.0, &s.scaleX) ||
                !f.OptionalDouble("scaley", 1.0, &s.scaleY) ||
                !f.OptionalInt("level", kMinInt, kMaxInt, 1, &s.level))
                return fail();
            if (!ids.insert(s.id).second) {
                f.Fail("id " + std::to_string(s.id) + " is used twice");
                return fail();
            }
            s.item = f.Text("item");
            readScenery.push_back(std::move(s));
            continue;
        }
        if (Contains(line, "<piece ")) {
            LineFields f(line, n, "piece", &error);
            PlacedPiece p;
            if (!f.Id("id", &p.id) || !f.Double("x", &p.x) || !f.Double("y", &p.y) ||
                !f.Double("heading", &p.heading))
                return fail();
            if (!ids.insert(p.id).second) {
                f.Fail("id " + std::to_string(p.id) + " is used twice");
                return fail();
            }
            p.article = f.Text("cat");
            readPieces.push_back(std::move(p));
            continue;
        }
        if (Contains(line, "<joint ") && !readPieces.empty()) {
            LineFields f(line, n, "joint", &error);
            if (!ReadJointLine(f, &readPieces.back())) return fail();
        }
    }
    if (std::string fault = readFault(); !fault.empty()) return fault;
    PadJointSlots(readPieces);
    if (blockName) *blockName = std::move(name);
    if (pieces) *pieces = std::move(readPieces);
    if (sceneryItems) *sceneryItems = std::move(readScenery);
    return {};
}

}  // namespace

std::string LoadBlockFromText(std::string_view text, std::string* blockName,
                              std::vector<PlacedPiece>* pieces,
                              std::vector<SceneryItem>* sceneryItems) {
    TextLines lines(text);
    return LoadBlockFrom(lines, blockName, pieces, sceneryItems, [] { return std::string(); });
}

std::string LoadBlock(const std::string& path, std::string* blockName,
                      std::vector<PlacedPiece>* pieces, std::vector<SceneryItem>* sceneryItems) {
    std::string error;
    int fd = OpenForReading(path, &error);
    if (fd < 0) return error;
    FileLines lines(fd);
    error = LoadBlockFrom(lines, blockName, pieces, sceneryItems, [&] {
        return lines.Failed() ? "Cannot read file: " + path : std::string();
    });
    ::close(fd);
    return error;
}
