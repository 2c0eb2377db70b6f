// The layout file: writer, all-or-nothing reader and the text helpers of both.
#include "persistence/LayoutFile.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <unordered_map>
#include <unordered_set>

#include "base/Format.h"
#include "base/Translate.h"
#include "catalog/TrackCatalog.h"
#include "persistence/AtomicFile.h"
#include "persistence/ControlFile.h"
#include "persistence/FileElements.h"
#include "persistence/FileFields.h"

namespace {

// Writes `<tag>`, the lines of the list, `</tag>` at two blanks; nothing for an empty list.
template <class List, class AppendOne>
void AppendList(std::string& out, std::string_view tag, const List& list, AppendOne appendOne) {
    if (list.empty()) return;
    out.append("  <").append(tag).append(">\n");
    for (const auto& object : list) appendOne(object);
    out.append("  </").append(tag).append(">\n");
}

// A list whose entries are one self-closing line each, at four blanks.
template <class Element, class List>
void AppendListOf(std::string& out, std::string_view tag, const List& list) {
    AppendList(out, tag, list,
               [&](const auto& object) { AppendElement<Element>(out, "    ", "/>\n", object); });
}

void AppendLevel(std::string& out, const Level& level) {
    // A level with fewer than three outline points is written without them.
    const bool withOutline = level.outline.size() >= 3;
    AppendElement<LevelElement>(out, "    ", withOutline ? ">\n" : "/>\n", level);
    if (!withOutline) return;
    for (const PointMm& p : level.outline)
        AppendElement<OutlinePointElement>(out, "      ", "/>\n", p);
    out += "    </level>\n";
}

void AppendTunnel(std::string& out, const Tunnel& tunnel) {
    AppendElement<TunnelElement>(out, "    ", ">\n", tunnel);
    for (uint32_t piece : tunnel.covers) AppendElement<CoversElement>(out, "      ", "/>\n", piece);
    out += "    </tunnel>\n";
}

// The wiring plan as it can be written: gaps, feeders and detectors of pieces that are gone (or
// a gap at a connector the piece does not have) are left out, since the reader refuses them; a
// feeder of a district that is gone is written without one.
WiringPlan WritableWiring(const WiringPlan& plan, const PieceList& pieces) {
    std::unordered_map<uint32_t, const PlacedPiece*> byId;
    byId.reserve(pieces.size());
    for (const PlacedPiece& p : pieces) byId.emplace(p.id, &p);
    const TrackCatalog& catalog = TrackCatalog::Instance();
    WiringPlan out;
    out.districts = plan.districts;
    for (const RailGap& g : plan.gaps) {
        auto it = byId.find(g.piece);
        if (it == byId.end() || g.connector < 0) continue;
        const PieceDef* def = catalog.Find(it->second->article);
        if (def && g.connector >= static_cast<int>(def->connectors.size())) continue;
        out.gaps.push_back(g);
    }
    for (Feeder f : plan.feeders) {
        if (!byId.count(f.piece)) continue;
        if (f.district != kNoId && !plan.FindDistrict(f.district)) f.district = kNoId;
        out.feeders.push_back(f);
    }
    for (const Detector& d : plan.detectors)
        if (byId.count(d.piece)) out.detectors.push_back(d);
    return out;
}

// The wiring plan, written only when there is one: a layout without it stays as it was.
void AppendWiring(std::string& out, const WiringPlan& whole, const PieceList& pieces) {
    if (whole.Empty()) return;
    const WiringPlan plan = WritableWiring(whole, pieces);
    if (plan.Empty()) return;
    out += "  <wiring>\n";
    for (const PowerDistrict& d : plan.districts)
        AppendElement<DistrictElement>(out, "    ", "/>\n", d);
    for (const RailGap& g : plan.gaps)
        AppendElement<GapElement>(out, "    ", "/>\n",
                                  GapLine{g.piece, g.connector, static_cast<int32_t>(g.rails)});
    for (const Feeder& f : plan.feeders) AppendElement<FeederElement>(out, "    ", "/>\n", f);
    for (const Detector& d : plan.detectors)
        AppendElement<DetectorElement>(out, "    ", "/>\n", d);
    out += "  </wiring>\n";
}

// The path a picture is written with: relative to the layout's folder when the picture lies in
// it or below it (so a folder moved with its pictures keeps them), otherwise as held.
std::string PathInFile(const std::string& path, const std::string& folder) {
    namespace fs = std::filesystem;
    if (folder.empty() || path.empty()) return path;
    const fs::path picture = fs::path(path).lexically_normal();
    if (!picture.is_absolute()) return path;
    const fs::path base = fs::absolute(fs::path(folder)).lexically_normal();
    const fs::path relative = picture.lexically_relative(base);
    if (relative.empty() || *relative.begin() == "..") return path;
    return relative.generic_string();
}

// The path a picture read from the file is held with: a relative one joined to the file's folder.
std::string PathFromFile(const std::string& stored, const std::string& folder) {
    namespace fs = std::filesystem;
    const fs::path path(stored);
    if (folder.empty() || path.is_absolute()) return stored;
    return (fs::absolute(fs::path(folder)) / path).lexically_normal().string();
}

// The folder of a layout file's path ("." for a bare file name).
std::string FolderOf(const std::string& path) {
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

void AppendPictures(std::string& out, const std::vector<BackgroundPicture>& pictures,
                    const std::string& folder) {
    AppendList(out, "pictures", pictures, [&](const BackgroundPicture& p) {
        BackgroundPicture written = p;
        written.path = PathInFile(p.path, folder);
        AppendElement<PictureElement>(out, "    ", "/>\n", written);
    });
}

bool Contains(std::string_view line, std::string_view text) {
    return line.find(text) != std::string_view::npos;
}

// What the reader collects before it touches the caller's document.
struct LoadState {
    LayoutDocument doc;
    std::vector<PlacedPiece> pieces;  // go into the document's shared chunks in one move
    std::string name;
    IdRegistry ids;
    ControlPlanReader control;
    std::string error;
    std::string folder;  // relative picture paths start here
    // The lines the plan's gaps, feeders and detectors came from, for refusing one that names
    // a missing piece once every piece is read.
    std::vector<int> gapLines, feederLines, detectorLines;
};

std::unordered_set<uint32_t> PieceIds(const std::vector<PlacedPiece>& pieces) {
    std::unordered_set<uint32_t> ids;
    ids.reserve(pieces.size());
    for (const PlacedPiece& p : pieces) ids.insert(p.id);
    return ids;
}

// The tags a line of the piece list may hold, found in one pass over its '<' characters: a line
// contains a tag exactly when one of them starts it.
struct PieceListTags {
    bool end = false;  // </pieces>, </block> or </layout>
    bool piece = false;
    bool joint = false;

    explicit PieceListTags(std::string_view line) {
        for (size_t at = line.find('<'); at != std::string_view::npos; at = line.find('<', at + 1)) {
            const std::string_view rest = line.substr(at);
            end = end || rest.starts_with("</pieces>") || rest.starts_with("</block>") ||
                  rest.starts_with("</layout>");
            piece = piece || rest.starts_with("<piece ");
            joint = joint || rest.starts_with("<joint ");
        }
    }
};

// Reads the lines after <pieces> up to the end of the piece list.
bool ReadPieceList(LineSource& cursor, LoadState& st) {
    std::string_view line;
    while (cursor.Next(&line)) {
        const PieceListTags tags(line);
        if (tags.end) return true;
        if (tags.piece) {
            if (!AppendReadElement<PieceElement>(st.pieces, line, cursor.LineNumber(),
                                                 FileReader::Layout, st.ids, &st.error))
                return false;
        } else if (tags.joint && !st.pieces.empty()) {
            LineFields f(line, cursor.LineNumber(), JointElement::kTag, &st.error);
            if (!ReadJointLine(f, &st.pieces.back())) return false;
        }
    }
    return true;
}

// Keeps only joints whose target exists and points back; the rest are opened, so that every
// joint of a loaded document is mirrored.
void OpenUnmirroredJoints(std::vector<PlacedPiece>& pieces) {
    // Pieces in rising id order, as files have them, are found by halving; others through a map.
    const bool ordered = std::is_sorted(pieces.begin(), pieces.end(),
                                        [](const PlacedPiece& a, const PlacedPiece& b) {
                                            return a.id < b.id;
                                        });
    std::unordered_map<uint32_t, size_t> index;
    if (!ordered) {
        index.reserve(pieces.size());
        for (size_t i = 0; i < pieces.size(); ++i) index.emplace(pieces[i].id, i);
    }
    // Track is mostly joined to the pieces placed just before and after it.
    auto find = [&](uint32_t id, size_t near) -> const PlacedPiece* {
        if (!ordered) {
            auto it = index.find(id);
            return it == index.end() ? nullptr : &pieces[it->second];
        }
        for (size_t k = near > 0 ? near - 1 : 0; k < pieces.size() && k <= near + 1; ++k)
            if (pieces[k].id == id) return &pieces[k];
        auto it = std::lower_bound(pieces.begin(), pieces.end(), id,
                                   [](const PlacedPiece& p, uint32_t v) { return p.id < v; });
        return it != pieces.end() && it->id == id ? &*it : nullptr;
    };

    std::vector<std::pair<size_t, size_t>> broken;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const PlacedPiece& p = pieces[i];
        for (size_t c = 0; c < p.joints.size(); ++c) {
            const Joint& j = p.joints[c];
            if (j.IsOpen()) continue;
            const PlacedPiece* target = find(j.target, i);
            bool mirrored = false;
            if (target) {
                const PlacedPiece& t = *target;
                mirrored = j.targetConn < t.joints.size() &&
                           t.joints[j.targetConn].target == p.id &&
                           t.joints[j.targetConn].targetConn == c;
            }
            if (!mirrored) broken.emplace_back(i, c);
        }
    }
    for (auto [i, c] : broken) pieces[i].joints[c] = Joint{};
}

// Applies the element tests to each line in turn; a line may match several of them.
class LayoutLines {
public:
    LayoutLines(LineSource& lines, LoadState& st) : lines_(lines), st_(st), d_(st.doc) {}

    bool ReadAll() {
        while (lines_.Next(&line_)) {
            n_ = lines_.LineNumber();
            if (!ReadLine()) return false;
        }
        return true;
    }

private:
    bool ReadLine() {
        if (Has("<layout ") && !Read<LayoutElement>(st_.name, d_)) return false;
        if (Has("<run ") && !Append<RunElement>(d_.gradeRuns)) return false;
        if (Has("<pieces>")) {
            // The piece list follows; the <pieces> line itself goes on through the tests below.
            piecesLine_ = line_;
            if (!ReadPieceList(lines_, st_)) return false;
            line_ = piecesLine_;
        }
        if (Has("<levels ")) {
            inLevels_ = true;
            if (!Read<LevelsElement>(d_)) return false;
        }
        if (Has("</levels>")) {
            inLevels_ = false;
        } else if (inLevels_) {
            if (Has("<level ") && !Append<LevelElement>(d_.levels)) return false;
            if (Has("<pt ") && !d_.levels.empty() &&
                !Append<OutlinePointElement>(d_.levels.back().outline))
                return false;
        }
        if (Has("<scenery>")) inScenery_ = true;
        if (Has("</scenery>")) inScenery_ = false;
        if (Has("<baseboard>")) {
            inBaseboard_ = true;
            d_.baseboard.clear();
        }
        if (Has("</baseboard>"))
            inBaseboard_ = false;
        else if (inBaseboard_ && Has("<vertex ") && !Append<VertexElement>(d_.baseboard))
            return false;
        if (Has("<lastshape") && !Read<LastShapeElement>(d_)) return false;
        if (inScenery_ && Has("<sceneryitem ") && !Append<SceneryItemElement>(d_.scenery))
            return false;
        if (Has("<label ") && !Append<LabelElement>(d_.labels)) return false;
        if (Has("<measurement ") && !Append<MeasurementElement>(d_.measurements)) return false;
        if (Has("<tunnel ") && !Append<TunnelElement>(d_.tunnels)) return false;
        if (Has("<covers ") && !d_.tunnels.empty() &&
            !Append<CoversElement>(d_.tunnels.back().covers))
            return false;
        if (Has("<helix ") && !Append<HelixElement>(d_.helices)) return false;
        if (Has("<pictures>")) inPictures_ = true;
        if (Has("</pictures>")) inPictures_ = false;
        if (inPictures_ && Has("<picture ") && !ReadPicture()) return false;
        if (Has("<wiring>")) inWiring_ = true;
        if (Has("</wiring>")) inWiring_ = false;
        if (inWiring_) return ReadWiringLine();
        return st_.control.Line(line_, n_, &st_.error);
    }

    bool ReadPicture() {
        BackgroundPicture picture;
        LineFields f(line_, n_, PictureElement::kTag, &st_.error);
        if (!ReadElement<PictureElement>(f, FileReader::Layout, picture)) return false;
        if (picture.path.empty()) return f.Fail(Tr("the picture has no path"));
        auto outOfRange = [&](const char* name) {
            return f.Fail(Format(Tr("%s in <%s> is out of range").c_str(), name, "picture"));
        };
        if (!(picture.widthMm > 0)) return outOfRange("width");
        if (!(picture.opacity >= 0 && picture.opacity <= 1)) return outOfRange("opacity");
        picture.path = PathFromFile(picture.path, st_.folder);
        d_.pictures.push_back(std::move(picture));
        return true;
    }

    bool ReadWiringLine() {
        WiringPlan& plan = d_.wiring;
        if (Has("<district ")) {
            if (!Append<DistrictElement>(plan.districts)) return false;
            if (std::count_if(plan.districts.begin(), plan.districts.end(), [&](const auto& d) {
                    return d.id == plan.districts.back().id;
                }) > 1) {
                LineFields f(line_, n_, DistrictElement::kTag, &st_.error);
                return f.Fail(Format(Tr("district %u is used twice").c_str(),
                                     plan.districts.back().id));
            }
        }
        if (Has("<gap ")) {
            GapLine gap;
            LineFields f(line_, n_, GapElement::kTag, &st_.error);
            if (!ReadElement<GapElement>(f, FileReader::Layout, gap)) return false;
            plan.gaps.push_back({gap.piece, gap.conn, static_cast<GapRails>(gap.rails)});
            st_.gapLines.push_back(n_);
        }
        if (Has("<feeder ")) {
            if (!Append<FeederElement>(plan.feeders)) return false;
            st_.feederLines.push_back(n_);
        }
        if (Has("<detector ")) {
            if (!Append<DetectorElement>(plan.detectors)) return false;
            st_.detectorLines.push_back(n_);
        }
        return true;
    }

    bool Has(std::string_view text) const { return Contains(line_, text); }
    template <class Element, class... Objects>
    bool Read(Objects&... objects) {
        LineFields f(line_, n_, Element::kTag, &st_.error);
        return ReadElement<Element>(f, FileReader::Layout, objects...);
    }
    template <class Element, class T>
    bool Append(std::vector<T>& list) {
        return AppendReadElement<Element>(list, line_, n_, FileReader::Layout, st_.ids, &st_.error);
    }

    LineSource& lines_;
    LoadState& st_;
    LayoutDocument& d_;
    std::string_view line_;
    std::string piecesLine_;
    int n_ = 0;
    bool inLevels_ = false;
    bool inScenery_ = false;
    bool inBaseboard_ = false;
    bool inWiring_ = false;
    bool inPictures_ = false;
};

// Every gap, feeder and detector must name a piece of the file (and a gap one of its
// connectors, a feeder one of the districts); the first that does not is refused by its line.
bool CheckWiringReferences(LoadState& st) {
    std::unordered_map<uint32_t, const PlacedPiece*> byId;
    byId.reserve(st.pieces.size());
    for (const PlacedPiece& p : st.pieces) byId.emplace(p.id, &p);
    const TrackCatalog& catalog = TrackCatalog::Instance();
    const WiringPlan& plan = st.doc.wiring;
    auto fail = [&](int line, std::string_view tag, const std::string& what) {
        LineFields f("", line, tag, &st.error);
        return f.Fail(what);
    };
    auto missing = [&](uint32_t id) {
        return Format(Tr("piece %u is not in the layout").c_str(), id);
    };
    for (size_t i = 0; i < plan.gaps.size(); ++i) {
        const RailGap& g = plan.gaps[i];
        auto it = byId.find(g.piece);
        if (it == byId.end()) return fail(st.gapLines[i], GapElement::kTag, missing(g.piece));
        const PieceDef* def = catalog.Find(it->second->article);
        if (def && g.connector >= static_cast<int>(def->connectors.size()))
            return fail(st.gapLines[i], GapElement::kTag,
                        Format(Tr("piece %u has no connector %d").c_str(), g.piece, g.connector));
    }
    for (size_t i = 0; i < plan.feeders.size(); ++i) {
        const Feeder& f = plan.feeders[i];
        if (!byId.count(f.piece))
            return fail(st.feederLines[i], FeederElement::kTag, missing(f.piece));
        if (f.district != kNoId && !plan.FindDistrict(f.district))
            return fail(st.feederLines[i], FeederElement::kTag,
                        Format(Tr("district %u is not in the layout").c_str(), f.district));
    }
    for (size_t i = 0; i < plan.detectors.size(); ++i) {
        if (!byId.count(plan.detectors[i].piece))
            return fail(st.detectorLines[i], DetectorElement::kTag,
                        missing(plan.detectors[i].piece));
    }
    return true;
}

}  // namespace

std::string EscapeXml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    AppendEscapedXml(out, text);
    return out;
}

std::string AttributeValue(const std::string& line, const std::string& name) {
    return DecodeXml(RawAttribute(line, name));
}

std::string LayoutToText(const LayoutDocument& doc, const std::string& layoutName,
                         const std::string& folder) {
    std::string out;
    out.reserve(256 + doc.pieces.size() * 240 + doc.scenery.size() * 160);
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    AppendElement<LayoutElement>(out, "", ">\n", layoutName, doc);
    AppendListOf<RunElement>(out, "grade_runs", doc.gradeRuns);
    out += "  <pieces>\n";
    for (const PlacedPiece& p : doc.pieces) AppendPieceElement(out, p, "    ");
    out += "  </pieces>\n";
    AppendListOf<SceneryItemElement>(out, "scenery", doc.scenery);
    if (!doc.levels.empty()) {
        AppendElement<LevelsElement>(out, "  ", ">\n", doc);
        for (const Level& level : doc.levels) AppendLevel(out, level);
        out += "  </levels>\n";
    }
    AppendListOf<VertexElement>(out, "baseboard", doc.baseboard);
    AppendElement<LastShapeElement>(out, "  ", "/>\n", doc);
    AppendListOf<LabelElement>(out, "labels", doc.labels);
    AppendListOf<MeasurementElement>(out, "measurements", doc.measurements);
    AppendList(out, "tunnels", doc.tunnels, [&](const Tunnel& t) { AppendTunnel(out, t); });
    AppendListOf<HelixElement>(out, "helices", doc.helices);
    AppendPictures(out, doc.pictures, folder);
    AppendWiring(out, doc.wiring, doc.pieces);
    if (doc.control.Exists()) {
        std::unordered_set<uint32_t> ids;
        ids.reserve(doc.pieces.size());
        for (const PlacedPiece& p : doc.pieces) ids.insert(p.id);
        AppendControlPlan(out, doc.control, ids);
    }
    out += "</layout>\n";
    return out;
}

std::string SaveLayout(const LayoutDocument& doc, const std::string& path,
                       const std::string& layoutName) {
    return WriteFileAtomically(
        path, LayoutToText(doc, layoutName, FolderOf(path)));
}

namespace {

std::string LoadLayoutFrom(LineSource& lines, LayoutDocument& doc, std::string* layoutName,
                           const std::string& folder,
                           const std::function<std::string()>& readFault) {
    LoadState st;
    st.folder = folder;
    // Shape settings absent from the file keep the values the document has now.
    st.doc.lastShape = doc.lastShape;
    st.doc.shapeWidth = doc.shapeWidth;
    st.doc.shapeHeight = doc.shapeHeight;
    st.doc.shapeWidth2 = doc.shapeWidth2;
    st.doc.shapeHeight2 = doc.shapeHeight2;
    st.doc.units = doc.units;

    bool ok = LayoutLines(lines, st).ReadAll();
    if (std::string fault = readFault(); !fault.empty()) return fault;
    if (!ok) return st.error;
    if (!CheckWiringReferences(st)) return st.error;

    LayoutDocument& d = st.doc;
    std::vector<PlacedPiece>& pieces = st.pieces;
    OpenUnmirroredJoints(pieces);
    ControlPlan control;
    if (st.control.Found()) control = st.control.Take(PieceIds(pieces));
    PadJointSlots(pieces);
    d.nextId = st.ids.Highest() + 1;
    d.EnsureDefaultLevel();
    d.RefreshCurrentGrade();

    // A helix is selected as a whole: one selected piece of it selects all of its pieces.
    std::unordered_set<uint32_t> selectedHelices;
    for (const PlacedPiece& p : pieces)
        if (p.selected && p.helixId != kNoId) selectedHelices.insert(p.helixId);
    if (!selectedHelices.empty())
        for (PlacedPiece& p : pieces)
            if (p.helixId != kNoId && selectedHelices.count(p.helixId)) p.selected = true;

    // Everything the file describes replaces the document's; undo history and view flags stay.
    doc.pieces = std::move(pieces);
    doc.scenery = std::move(d.scenery);
    doc.labels = std::move(d.labels);
    doc.measurements = std::move(d.measurements);
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
    doc.wiring = std::move(d.wiring);
    doc.control = std::move(control);
    doc.pictures = std::move(d.pictures);
    if (layoutName) *layoutName = std::move(st.name);
    return {};
}

}  // namespace

std::string LoadLayoutFromText(LayoutDocument& doc, std::string_view text,
                               std::string* layoutName, const std::string& folder) {
    TextLines lines(text);
    return LoadLayoutFrom(lines, doc, layoutName, folder, [] { return std::string(); });
}

std::string LoadLayout(LayoutDocument& doc, const std::string& path, std::string* layoutName) {
    std::string error;
    int fd = OpenForReading(path, &error);
    if (fd < 0) return error;
    FileLines lines(fd);
    error = LoadLayoutFrom(lines, doc, layoutName, FolderOf(path), [&] {
        return lines.Failed() ? Format(Tr("Cannot read file: %s").c_str(), path.c_str())
                              : std::string();
    });
    ::close(fd);
    return error;
}
