// Frozen copy of the file writer and readers as they were before the element descriptions, kept
// only to prove that the new code writes the same bytes and reads the same results.
#include "LegacyFiles.h"

#include <unistd.h>

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <unordered_map>
#include <unordered_set>

#include "catalog/TrackCatalog.h"
#include "persistence/AtomicFile.h"
#include "persistence/FileFields.h"

namespace legacy {

bool OldReadJointLine(LineFields& fields, PlacedPiece* piece);
void OldPadJointSlots(std::vector<PlacedPiece>& pieces);
void OldAppendFileDouble(std::string& out, double value);
void OldAppendPieceElement(std::string& out, const PlacedPiece& piece, std::string_view indent);
void OldAppendSceneryItemElement(std::string& out, const SceneryItem& item, bool selected);




namespace {

constexpr int32_t kMaxInt = std::numeric_limits<int32_t>::max();
constexpr int32_t kMinInt = std::numeric_limits<int32_t>::min();
constexpr std::string_view kDefaultHelixVariant = "proses_2_5_r1r2";

void AppendInt(std::string& out, int64_t value) {
    char buffer[24];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

void AttrStart(std::string& out, std::string_view name) {
    out += ' ';
    out += name;
    out += "=\"";
}

void IntAttr(std::string& out, std::string_view name, int64_t value) {
    AttrStart(out, name);
    AppendInt(out, value);
    out += '"';
}

// Ids are 32-bit integers in the file; "none" (all bits set) is written as -1.
void IdAttr(std::string& out, std::string_view name, uint32_t id) {
    IntAttr(out, name, static_cast<int32_t>(id));
}

void DoubleAttr(std::string& out, std::string_view name, double value) {
    AttrStart(out, name);
    OldAppendFileDouble(out, value);
    out += '"';
}

void TextAttr(std::string& out, std::string_view name, std::string_view text) {
    AttrStart(out, name);
    AppendEscapedXml(out, text);
    out += '"';
}

void FlagAttr(std::string& out, std::string_view name, bool flag) {
    AttrStart(out, name);
    out += flag ? '1' : '0';
    out += '"';
}

bool Contains(std::string_view line, std::string_view text) {
    return line.find(text) != std::string_view::npos;
}

// Object ids seen so far; pieces, scenery, labels, tunnels and helices share one id space.
class IdRegistry {
public:
    bool Add(uint32_t id, LineFields& fields) {
        if (!seen_.insert(id).second)
            return fields.Fail("id " + std::to_string(id) + " is used twice");
        if (id > highest_) highest_ = id;
        return true;
    }
    uint32_t Highest() const { return highest_; }

private:
    std::unordered_set<uint32_t> seen_;
    uint32_t highest_ = 0;
};

// Reads the attributes of a <piece line as the layout reader takes them.
bool ReadLayoutPiece(LineFields& f, PlacedPiece* piece) {
    int32_t colour = 0;
    bool ok = f.Id("id", &piece->id) && f.Double("x", &piece->x) && f.Double("y", &piece->y) &&
              f.Double("heading", &piece->heading) && f.OptionalDouble("z", 0, &piece->elevation) &&
              f.OptionalDouble("grade", 0, &piece->grade) &&
              f.OptionalInt("color", 0, 0xFFFFFF, -1, &colour) &&
              f.OptionalInt("level", kMinInt, kMaxInt, 1, &piece->level) &&
              f.OptionalRef("helix", &piece->helixId);
    if (!ok) return false;
    piece->article = f.Text("cat");
    piece->selected = f.Flag("sel");
    if (colour >= 0) {
        piece->hasColour = true;
        piece->colour =
            Rgb{static_cast<uint8_t>((colour >> 16) & 0xFF),
                static_cast<uint8_t>((colour >> 8) & 0xFF), static_cast<uint8_t>(colour & 0xFF)};
    }
    return true;
}

// What the reader collects before it touches the caller's document.
struct LoadState {
    LayoutDocument doc;
    std::string name;
    IdRegistry ids;
    std::string error;
};

// Reads the lines after <pieces> up to the end of the piece list.
bool ReadPieceList(LineSource& cursor, LoadState& st) {
    PlacedPiece* current = nullptr;
    std::string_view line;
    while (cursor.Next(&line)) {
        if (Contains(line, "</pieces>") || Contains(line, "</block>") ||
            Contains(line, "</layout>"))
            return true;
        if (Contains(line, "<piece ")) {
            LineFields f(line, cursor.LineNumber(), "piece", &st.error);
            PlacedPiece piece;
            if (!ReadLayoutPiece(f, &piece) || !st.ids.Add(piece.id, f)) return false;
            st.doc.pieces.push_back(std::move(piece));
            current = &st.doc.pieces.back();
        } else if (Contains(line, "<joint ") && current) {
            LineFields f(line, cursor.LineNumber(), "joint", &st.error);
            if (!OldReadJointLine(f, current)) return false;
        }
    }
    return true;
}

// Keeps only joints whose target exists and points back; the rest are opened, so that every
// joint of a loaded document is mirrored.
void OpenUnmirroredJoints(std::vector<PlacedPiece>& pieces) {
    std::unordered_map<uint32_t, size_t> index;
    index.reserve(pieces.size());
    for (size_t i = 0; i < pieces.size(); ++i) index.emplace(pieces[i].id, i);

    std::vector<std::pair<size_t, size_t>> broken;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const PlacedPiece& p = pieces[i];
        for (size_t c = 0; c < p.joints.size(); ++c) {
            const Joint& j = p.joints[c];
            if (j.IsOpen()) continue;
            auto it = index.find(j.target);
            bool mirrored = false;
            if (it != index.end()) {
                const PlacedPiece& t = pieces[it->second];
                mirrored = j.targetConn < t.joints.size() &&
                           t.joints[j.targetConn].target == p.id &&
                           t.joints[j.targetConn].targetConn == c;
            }
            if (!mirrored) broken.emplace_back(i, c);
        }
    }
    for (auto [i, c] : broken) pieces[i].joints[c] = Joint{};
}

bool ReadLayoutLines(LineSource& cursor, LoadState& st) {
    LayoutDocument& d = st.doc;
    bool inLevels = false;
    bool inScenery = false;
    bool inBaseboard = false;
    std::string piecesLine;  // the <pieces> line outlives the reading of the piece list
    std::string_view line;
    while (cursor.Next(&line)) {
        const int n = cursor.LineNumber();
        if (Contains(line, "<layout ")) {
            LineFields f(line, n, "layout", &st.error);
            st.name = f.Text("name");
            if (!f.OptionalInt("units", 0, 2, 0, &d.units)) return false;
        }
        if (Contains(line, "<run ")) {
            LineFields f(line, n, "run", &st.error);
            GradeRun run;
            int32_t conn = 0;
            if (!f.Double("deg", &run.gradeDeg) ||
                !f.Int("anchor", -1, kMaxInt, &run.anchorPiece) ||
                !f.Int("conn", 0, kMaxFileConnectors - 1, &conn))
                return false;
            run.anchorConn = static_cast<uint32_t>(conn);
            d.gradeRuns.push_back(run);
        }
        if (Contains(line, "<pieces>")) {
            piecesLine = line;
            if (!ReadPieceList(cursor, st)) return false;
            line = piecesLine;
        }
        if (Contains(line, "<levels ")) {
            inLevels = true;
            LineFields f(line, n, "levels", &st.error);
            int32_t active = 1;
            if (!f.OptionalInt("active", 0, kMaxInt, 1, &active)) return false;
            d.activeLevel = static_cast<uint32_t>(active);
        }
        if (Contains(line, "</levels>")) {
            inLevels = false;
        } else if (inLevels) {
            if (Contains(line, "<level ")) {
                LineFields f(line, n, "level", &st.error);
                Level level;
                int32_t id = 0, r = 180, g = 180, b = 180;
                if (!f.Int("id", 0, kMaxInt, &id) ||
                    !f.OptionalDouble("height", 0, &level.height) ||
                    !f.OptionalInt("r", 0, 255, 180, &r) || !f.OptionalInt("g", 0, 255, 180, &g) ||
                    !f.OptionalInt("b", 0, 255, 180, &b))
                    return false;
                level.id = static_cast<uint32_t>(id);
                level.name = f.Text("name");
                level.visible = f.Raw("visible") != "0";
                level.colourTrack = f.Flag("trackcolor");
                level.colour =
                    Rgb{static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b)};
                d.levels.push_back(std::move(level));
            }
            if (Contains(line, "<pt ") && !d.levels.empty()) {
                LineFields f(line, n, "pt", &st.error);
                PointMm p;
                if (!f.Double("x", &p.x) || !f.Double("y", &p.y)) return false;
                d.levels.back().outline.push_back(p);
            }
        }
        if (Contains(line, "<scenery>")) inScenery = true;
        if (Contains(line, "</scenery>")) inScenery = false;
        if (Contains(line, "<baseboard>")) {
            inBaseboard = true;
            d.baseboard.clear();
        }
        if (Contains(line, "</baseboard>")) {
            inBaseboard = false;
        } else if (inBaseboard && Contains(line, "<vertex ")) {
            LineFields f(line, n, "vertex", &st.error);
            PointMm p;
            if (!f.Double("x", &p.x) || !f.Double("y", &p.y)) return false;
            d.baseboard.push_back(p);
        }
        if (Contains(line, "<lastshape")) {
            LineFields f(line, n, "lastshape", &st.error);
            if (!f.OptionalInt("id", 0, 5, d.lastShape, &d.lastShape) ||
                !f.OptionalDouble("w_mm", d.shapeWidth, &d.shapeWidth) ||
                !f.OptionalDouble("h_mm", d.shapeHeight, &d.shapeHeight) ||
                !f.OptionalDouble("w2_mm", d.shapeWidth2, &d.shapeWidth2) ||
                !f.OptionalDouble("h2_mm", d.shapeHeight2, &d.shapeHeight2))
                return false;
        }
        if (inScenery && Contains(line, "<sceneryitem ")) {
            LineFields f(line, n, "sceneryitem", &st.error);
            SceneryItem s;
            if (!f.Id("id", &s.id) || !f.Double("x", &s.x) || !f.Double("y", &s.y) ||
                !f.Double("heading", &s.heading) || !f.OptionalDouble("scalex", 1.0, &s.scaleX) ||
                !f.OptionalDouble("scaley", 1.0, &s.scaleY) ||
                !f.OptionalInt("level", kMinInt, kMaxInt, 1, &s.level) || !st.ids.Add(s.id, f))
                return false;
            s.item = f.Text("item");
            s.selected = f.Flag("sel");
            d.scenery.push_back(std::move(s));
        }
        if (Contains(line, "<label ")) {
            LineFields f(line, n, "label", &st.error);
            Label l;
            if (!f.Id("id", &l.id) || !f.Double("x", &l.x) || !f.Double("y", &l.y) ||
                !st.ids.Add(l.id, f))
                return false;
            l.text = f.Text("text");
            d.labels.push_back(std::move(l));
        }
        if (Contains(line, "<tunnel ")) {
            LineFields f(line, n, "tunnel", &st.error);
            Tunnel t;
            if (!f.Id("id", &t.id) || !f.Ref("portalA", &t.portalA) ||
                !f.Ref("portalB", &t.portalB) || !f.OptionalRef("anchorA", &t.anchorA) ||
                !f.OptionalRef("anchorB", &t.anchorB) || !st.ids.Add(t.id, f))
                return false;
            d.tunnels.push_back(std::move(t));
        }
        if (Contains(line, "<covers ") && !d.tunnels.empty()) {
            LineFields f(line, n, "covers", &st.error);
            uint32_t piece = 0;
            if (!f.Id("piece", &piece)) return false;
            d.tunnels.back().covers.push_back(piece);
        }
        if (Contains(line, "<helix ")) {
            LineFields f(line, n, "helix", &st.error);
            Helix h;
            if (!f.Id("id", &h.id) || !f.Double("cx", &h.x) || !f.Double("cy", &h.y) ||
                !f.Double("heading", &h.heading) || !f.Ref("bottomR1", &h.bottomR1) ||
                !f.Ref("bottomR2", &h.bottomR2) || !f.Ref("topR1", &h.topR1) ||
                !f.Ref("topR2", &h.topR2) || !st.ids.Add(h.id, f))
                return false;
            h.variant = f.Text("variant");
            if (h.variant.empty()) h.variant = kDefaultHelixVariant;
            d.helices.push_back(std::move(h));
        }
    }
    return true;
}

}  // namespace

bool OldReadJointLine(LineFields& f, PlacedPiece* piece) {
    int32_t conn = 0, target = 0, tconn = 0;
    if (!f.Int("conn", 0, kMaxFileConnectors - 1, &conn) || !f.Int("target", -1, kMaxInt, &target))
        return false;
    Joint joint;
    if (target >= 0) {
        if (!f.Int("tconn", 0, kMaxFileConnectors - 1, &tconn)) return false;
        joint = Joint{static_cast<uint32_t>(target), static_cast<uint32_t>(tconn)};
    }
    if (static_cast<size_t>(conn) >= piece->joints.size()) piece->joints.resize(conn + 1);
    piece->joints[conn] = joint;
    return true;
}

void OldPadJointSlots(std::vector<PlacedPiece>& pieces) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (PlacedPiece& p : pieces) {
        const PieceDef* def = catalog.Find(p.article);
        if (def && p.joints.size() < def->connectors.size())
            p.joints.resize(def->connectors.size());
    }
}

void OldAppendFileDouble(std::string& out, double value) {
    // Every written value must read back: nothing non-finite, nothing beyond the reader's range.
    if (!std::isfinite(value)) value = 0;
    if (value > kMaxFileMagnitude) value = kMaxFileMagnitude;
    if (value < -kMaxFileMagnitude) value = -kMaxFileMagnitude;
    char buffer[64];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 4);
    out.append(buffer, result.ptr);
}



void OldAppendPieceElement(std::string& out, const PlacedPiece& piece, std::string_view indent) {
    out += indent;
    out += "<piece";
    IdAttr(out, "id", piece.id);
    TextAttr(out, "cat", piece.article);
    DoubleAttr(out, "x", piece.x);
    DoubleAttr(out, "y", piece.y);
    DoubleAttr(out, "heading", piece.heading);
    DoubleAttr(out, "z", piece.elevation);
    DoubleAttr(out, "grade", piece.grade);
    IntAttr(out, "level", piece.level);
    if (piece.helixId != kNoId) IdAttr(out, "helix", piece.helixId);
    FlagAttr(out, "sel", piece.selected);
    if (piece.hasColour)
        IntAttr(out, "color", piece.colour.r * 65536 + piece.colour.g * 256 + piece.colour.b);
    out += ">\n";
    for (size_t c = 0; c < piece.joints.size(); ++c) {
        const Joint& j = piece.joints[c];
        if (j.IsOpen()) continue;
        out += indent;
        out += "  <joint";
        IntAttr(out, "conn", static_cast<int64_t>(c));
        IdAttr(out, "target", j.target);
        IdAttr(out, "tconn", j.targetConn);
        out += "/>\n";
    }
    out += indent;
    out += "</piece>\n";
}

void OldAppendSceneryItemElement(std::string& out, const SceneryItem& s, bool selected) {
    out += "    <sceneryitem";
    IdAttr(out, "id", s.id);
    TextAttr(out, "item", s.item);
    DoubleAttr(out, "x", s.x);
    DoubleAttr(out, "y", s.y);
    DoubleAttr(out, "heading", s.heading);
    DoubleAttr(out, "scalex", s.scaleX);
    DoubleAttr(out, "scaley", s.scaleY);
    IntAttr(out, "level", s.level);
    FlagAttr(out, "sel", selected);
    out += "/>\n";
}

std::string LayoutToText(const LayoutDocument& doc, const std::string& layoutName) {
    std::string out;
    out.reserve(256 + doc.pieces.size() * 240 + doc.scenery.size() * 160);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<layout";
    TextAttr(out, "name", layoutName);
    out += " version=\"1\"";
    IntAttr(out, "units", doc.units);
    out += ">\n";

    if (!doc.gradeRuns.empty()) {
        out += "  <grade_runs>\n";
        for (const GradeRun& run : doc.gradeRuns) {
            out += "    <run";
            DoubleAttr(out, "deg", run.gradeDeg);
            IntAttr(out, "anchor", run.anchorPiece);
            IntAttr(out, "conn", static_cast<int32_t>(run.anchorConn));
            out += "/>\n";
        }
        out += "  </grade_runs>\n";
    }

    out += "  <pieces>\n";
    for (const PlacedPiece& p : doc.pieces) OldAppendPieceElement(out, p, "    ");
    out += "  </pieces>\n";

    if (!doc.scenery.empty()) {
        out += "  <scenery>\n";
        for (const SceneryItem& s : doc.scenery) {
            OldAppendSceneryItemElement(out, s, s.selected);
        }
        out += "  </scenery>\n";
    }

    if (!doc.levels.empty()) {
        out += "  <levels";
        IdAttr(out, "active", doc.activeLevel);
        out += ">\n";
        for (const Level& level : doc.levels) {
            out += "    <level";
            IdAttr(out, "id", level.id);
            TextAttr(out, "name", level.name);
            FlagAttr(out, "visible", level.visible);
            DoubleAttr(out, "height", level.height);
            FlagAttr(out, "trackcolor", level.colourTrack);
            IntAttr(out, "r", level.colour.r);
            IntAttr(out, "g", level.colour.g);
            IntAttr(out, "b", level.colour.b);
            if (level.outline.size() < 3) {
                out += "/>\n";
                continue;
            }
            out += ">\n";
            for (const PointMm& p : level.outline) {
                out += "      <pt";
                DoubleAttr(out, "x", p.x);
                DoubleAttr(out, "y", p.y);
                out += "/>\n";
            }
            out += "    </level>\n";
        }
        out += "  </levels>\n";
    }

    if (!doc.baseboard.empty()) {
        out += "  <baseboard>\n";
        for (const PointMm& p : doc.baseboard) {
            out += "    <vertex";
            DoubleAttr(out, "x", p.x);
            DoubleAttr(out, "y", p.y);
            out += "/>\n";
        }
        out += "  </baseboard>\n";
    }

    out += "  <lastshape";
    IntAttr(out, "id", doc.lastShape);
    DoubleAttr(out, "w_mm", doc.shapeWidth);
    DoubleAttr(out, "h_mm", doc.shapeHeight);
    DoubleAttr(out, "w2_mm", doc.shapeWidth2);
    DoubleAttr(out, "h2_mm", doc.shapeHeight2);
    out += "/>\n";

    if (!doc.labels.empty()) {
        out += "  <labels>\n";
        for (const Label& l : doc.labels) {
            out += "    <label";
            IdAttr(out, "id", l.id);
            DoubleAttr(out, "x", l.x);
            DoubleAttr(out, "y", l.y);
            TextAttr(out, "text", l.text);
            out += "/>\n";
        }
        out += "  </labels>\n";
    }

    if (!doc.tunnels.empty()) {
        out += "  <tunnels>\n";
        for (const Tunnel& t : doc.tunnels) {
            out += "    <tunnel";
            IdAttr(out, "id", t.id);
            IdAttr(out, "portalA", t.portalA);
            IdAttr(out, "portalB", t.portalB);
            IdAttr(out, "anchorA", t.anchorA);
            IdAttr(out, "anchorB", t.anchorB);
            out += ">\n";
            for (uint32_t piece : t.covers) {
                out += "      <covers";
                IdAttr(out, "piece", piece);
                out += "/>\n";
            }
            out += "    </tunnel>\n";
        }
        out += "  </tunnels>\n";
    }

    if (!doc.helices.empty()) {
        out += "  <helices>\n";
        for (const Helix& h : doc.helices) {
            out += "    <helix";
            IdAttr(out, "id", h.id);
            DoubleAttr(out, "cx", h.x);
            DoubleAttr(out, "cy", h.y);
            DoubleAttr(out, "heading", h.heading);
            TextAttr(out, "variant", h.variant);
            IdAttr(out, "bottomR1", h.bottomR1);
            IdAttr(out, "bottomR2", h.bottomR2);
            IdAttr(out, "topR1", h.topR1);
            IdAttr(out, "topR2", h.topR2);
            out += "/>\n";
        }
        out += "  </helices>\n";
    }

    out += "</layout>\n";
    return out;
}


namespace {

std::string LoadLayoutFrom(LineSource& lines, LayoutDocument& doc, std::string* layoutName,
                           const std::function<std::string()>& readFault) {
    LoadState st;
    // Shape settings absent from the file keep the values the document has now.
    st.doc.lastShape = doc.lastShape;
    st.doc.shapeWidth = doc.shapeWidth;
    st.doc.shapeHeight = doc.shapeHeight;
    st.doc.shapeWidth2 = doc.shapeWidth2;
    st.doc.shapeHeight2 = doc.shapeHeight2;
    st.doc.units = doc.units;

    bool ok = ReadLayoutLines(lines, st);
    if (std::string fault = readFault(); !fault.empty()) return fault;
    if (!ok) return st.error;

    LayoutDocument& d = st.doc;
    OpenUnmirroredJoints(d.pieces);
    OldPadJointSlots(d.pieces);
    d.nextId = st.ids.Highest() + 1;
    d.EnsureDefaultLevel();
    d.RefreshCurrentGrade();

    // A helix is selected as a whole: one selected piece of it selects all of its pieces.
    std::unordered_set<uint32_t> selectedHelices;
    for (const PlacedPiece& p : d.pieces)
        if (p.selected && p.helixId != kNoId) selectedHelices.insert(p.helixId);
    if (!selectedHelices.empty())
        for (PlacedPiece& p : d.pieces)
            if (p.helixId != kNoId && selectedHelices.count(p.helixId)) p.selected = true;

    // Everything the file describes replaces the document's; undo history and view flags stay.
    doc.pieces = std::move(d.pieces);
    doc.scenery = std::move(d.scenery);
    doc.labels = std::move(d.labels);
    doc.measurements.clear();
    doc.tunnels = std::move(d.tunnels);
    doc.helices = std::move(d.helices);
    doc.nextId = d.nextId;
    doc.levels = std::move(d.levels);
    doc.activeLevel = d.activeLevel;
    doc.baseboard = std::move(d.baseboard);
    doc.lastShape = d.lastShape;
    doc.shapeWidth = d.shapeWidth;
    doc.shapeHeight = d.shapeHeight;
    doc.shapeWidth2 = d.shapeWidth2;
    doc.shapeHeight2 = d.shapeHeight2;
    doc.units = d.units;
    doc.gradeRuns = std::move(d.gradeRuns);
    doc.currentGrade = d.currentGrade;
    if (layoutName) *layoutName = std::move(st.name);
    return {};
}

}  // namespace

std::string LoadLayoutFromText(LayoutDocument& doc, std::string_view text,
                               std::string* layoutName) {
    TextLines lines(text);
    return LoadLayoutFrom(lines, doc, layoutName, [] { return std::string(); });
}






std::string BlockToText(const LayoutDocument& doc, const std::string& blockName) {
    bool anyPiece = false, anyScenery = false;
    for (const PlacedPiece& p : doc.pieces) anyPiece = anyPiece || p.selected;
    for (const SceneryItem& s : doc.scenery) anyScenery = anyScenery || s.selected;
    if (!anyPiece && !anyScenery) return {};

    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<block name=\"";
    AppendEscapedXml(out, blockName);
    out += "\" version=\"1\">\n";
    for (const PlacedPiece& p : doc.pieces)
        if (p.selected) OldAppendPieceElement(out, p, "  ");
    if (anyScenery) {
        out += "  <scenery>\n";
        for (const SceneryItem& s : doc.scenery) {
            if (!s.selected) continue;
            // A block's scenery is placed unselected.
            OldAppendSceneryItemElement(out, s, false);
        }
        out += "  </scenery>\n";
    }
    out += "</block>\n";
    return out;
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
            if (!OldReadJointLine(f, &readPieces.back())) return fail();
        }
    }
    if (std::string fault = readFault(); !fault.empty()) return fault;
    OldPadJointSlots(readPieces);
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


}  // namespace legacy
