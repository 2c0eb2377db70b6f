// Library block files: the selection written with the layout's piece element, and read back.
#include "persistence/LibraryBlock.h"

#include <unistd.h>

#include <functional>

#include "base/Format.h"
#include "base/Translate.h"
#include "persistence/AtomicFile.h"
#include "persistence/FileElements.h"
#include "persistence/FileFields.h"

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

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    AppendElement<BlockElement>(out, "", ">\n", blockName);
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected) AppendPieceElement(out, p, "  ");
    if (anyScenery) {
        out += "  <scenery>\n";
        for (const SceneryItem& s : doc.scenery) {
            if (!s.selected) continue;
            // A block's scenery is placed unselected.
            SceneryItem unselected = s;
            unselected.selected = false;
            AppendElement<SceneryItemElement>(out, "    ", "/>\n", unselected);
        }
        out += "  </scenery>\n";
    }
    out += "</block>\n";
    return out;
}

std::string SaveBlock(const LayoutDocument& doc, const std::string& path,
                      const std::string& blockName) {
    std::string text = BlockToText(doc, blockName);
    if (text.empty()) return Tr("No pieces or scenery selected");
    return WriteFileAtomically(path, text);
}

namespace {

std::string LoadBlockFrom(LineSource& cursor, std::string* blockName,
                          std::vector<PlacedPiece>* pieces, std::vector<SceneryItem>* sceneryItems,
                          const std::function<std::string()>& readFault) {
    std::string name;
    std::vector<PlacedPiece> readPieces;
    std::vector<SceneryItem> readScenery;
    // Placement gives block objects new ids by their old ones, so those must be unique.
    IdRegistry ids;
    std::string error;
    auto fail = [&] {
        std::string fault = readFault();
        return fault.empty() ? error : fault;
    };
    bool inScenery = false;

    std::string_view line;
    while (cursor.Next(&line)) {
        const int n = cursor.LineNumber();
        if (Contains(line, "<block ")) {
            LineFields f(line, n, BlockElement::kTag, &error);
            ReadElement<BlockElement>(f, FileReader::Block, name);
        }
        if (Contains(line, "<scenery>")) inScenery = true;
        if (Contains(line, "</scenery>")) {
            inScenery = false;
            continue;
        }
        if (inScenery && Contains(line, "<sceneryitem ")) {
            if (!AppendReadElement<SceneryItemElement>(readScenery, line, n, FileReader::Block, ids,
                                                       &error))
                return fail();
            continue;
        }
        if (Contains(line, "<piece ")) {
            if (!AppendReadElement<PieceElement>(readPieces, line, n, FileReader::Block, ids,
                                                 &error))
                return fail();
            continue;
        }
        if (Contains(line, "<joint ") && !readPieces.empty()) {
            LineFields f(line, n, JointElement::kTag, &error);
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
        return lines.Failed() ? Format(Tr("Cannot read file: %s").c_str(), path.c_str())
                              : std::string();
    });
    ::close(fd);
    return error;
}
