// The elements of layout and block files: each element's attributes listed once, in written order,
// with their types, ranges and defaults. The same lists drive the writer and both readers.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_set>
#include <vector>

#include "base/Format.h"
#include "base/Translate.h"
#include "model/LayoutDocument.h"
#include "persistence/FileFields.h"

// How an attribute is treated beyond its type.
enum AttributeRule : unsigned {
    // Taken by the layout reader only; a block leaves it at the new object's default.
    kLayoutOnly = 1u << 0,
    // Written only when it names an object.
    kOmitNone = 1u << 1,
    // Checked after the other attributes of its line; this decides which fault a line with
    // several faults is reported by.
    kCheckedLast = 1u << 2,
};

enum class FileReader { Layout, Block };

constexpr int32_t kFileIntMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kFileIntMin = std::numeric_limits<int32_t>::min();

// A <joint line: the connector number of the slot and what it is joined to.
struct JointLine {
    int32_t conn = 0;
    Joint joint;
};

// The attribute lists. Attributes(v, object...) calls one method of `v` per attribute:
//   Id          required object id, 0 to 2^31 - 1
//   Ref         required reference: an id or -1 for none
//   OptionalRef a reference, none when absent
//   Int         required integer within [lo, hi]
//   OptionalInt integer within [lo, hi], `fallback` when absent
//   Double      required double
//   OptionalDouble   double, `fallback` when absent
//   Text        escaped text, `fallback` when absent or empty
//   Flag        "1" or "0"; true only for "1"
//   FlagUnlessZero   "1" or "0"; false only for "0"
//   Colour      red * 65536 + green * 256 + blue, written only for a coloured object
//   Fixed       a constant the writer puts in and the readers ignore

// Elements of objects whose ids share one id space (pieces, scenery items, labels, measurements,
// tunnels, helices) say so with kObjectId.
template <class Element>
concept ObjectElement = Element::kObjectId;

struct LayoutElement {
    static constexpr std::string_view kTag = "layout";
    template <class V, class S, class D>
    static void Attributes(V& v, S& name, D& doc) {
        v.Text("name", name);
        v.Fixed("version", "1");
        v.OptionalInt("units", doc.units, 0, 2, 0);
    }
};

struct BlockElement {
    static constexpr std::string_view kTag = "block";
    template <class V, class S>
    static void Attributes(V& v, S& name) {
        v.Text("name", name);
        v.Fixed("version", "1");
    }
};

struct RunElement {
    static constexpr std::string_view kTag = "run";
    template <class V, class R>
    static void Attributes(V& v, R& run) {
        v.Double("deg", run.gradeDeg);
        v.Int("anchor", run.anchorPiece, -1, kFileIntMax);
        v.Int("conn", run.anchorConn, 0, kMaxFileConnectors - 1);
    }
};

struct PieceElement {
    static constexpr bool kObjectId = true;
    static constexpr std::string_view kTag = "piece";
    template <class V, class P>
    static void Attributes(V& v, P& piece) {
        v.Id("id", piece.id);
        v.Text("cat", piece.article);
        v.Double("x", piece.x);
        v.Double("y", piece.y);
        v.Double("heading", piece.heading);
        v.OptionalDouble("z", piece.elevation, 0, kLayoutOnly);
        v.OptionalDouble("grade", piece.grade, 0, kLayoutOnly);
        v.OptionalInt("level", piece.level, kFileIntMin, kFileIntMax, 1,
                      kLayoutOnly | kCheckedLast);
        v.OptionalRef("helix", piece.helixId, kLayoutOnly | kOmitNone | kCheckedLast);
        v.Flag("sel", piece.selected, kLayoutOnly);
        v.Colour("color", piece.hasColour, piece.colour, kLayoutOnly);
    }
};

struct JointElement {
    static constexpr std::string_view kTag = "joint";
    template <class V, class J>
    static void Attributes(V& v, J& line) {
        v.Int("conn", line.conn, 0, kMaxFileConnectors - 1);
        v.Ref("target", line.joint.target);
        // An open slot has no target connector.
        if (line.joint.target != kNoId)
            v.Int("tconn", line.joint.targetConn, 0, kMaxFileConnectors - 1);
    }
};

struct SceneryItemElement {
    static constexpr bool kObjectId = true;
    static constexpr std::string_view kTag = "sceneryitem";
    template <class V, class S>
    static void Attributes(V& v, S& item) {
        v.Id("id", item.id);
        v.Text("item", item.item);
        v.Double("x", item.x);
        v.Double("y", item.y);
        v.Double("heading", item.heading);
        v.OptionalDouble("scalex", item.scaleX, 1.0);
        v.OptionalDouble("scaley", item.scaleY, 1.0);
        v.OptionalInt("level", item.level, kFileIntMin, kFileIntMax, 1);
        v.Flag("sel", item.selected, kLayoutOnly);
    }
};

struct LevelsElement {
    static constexpr std::string_view kTag = "levels";
    template <class V, class D>
    static void Attributes(V& v, D& doc) {
        v.OptionalInt("active", doc.activeLevel, 0, kFileIntMax, 1);
    }
};

struct LevelElement {
    static constexpr std::string_view kTag = "level";
    template <class V, class L>
    static void Attributes(V& v, L& level) {
        v.Id("id", level.id);
        v.Text("name", level.name);
        v.FlagUnlessZero("visible", level.visible);
        v.OptionalDouble("height", level.height, 0);
        v.Flag("trackcolor", level.colourTrack);
        v.OptionalInt("r", level.colour.r, 0, 255, 180);
        v.OptionalInt("g", level.colour.g, 0, 255, 180);
        v.OptionalInt("b", level.colour.b, 0, 255, 180);
    }
};

template <class V, class P>
void PointAttributes(V& v, P& point) {
    v.Double("x", point.x);
    v.Double("y", point.y);
}

// A point of a level's outline.
struct OutlinePointElement {
    static constexpr std::string_view kTag = "pt";
    template <class V, class P>
    static void Attributes(V& v, P& point) {
        PointAttributes(v, point);
    }
};

// A corner of the baseboard.
struct VertexElement {
    static constexpr std::string_view kTag = "vertex";
    template <class V, class P>
    static void Attributes(V& v, P& point) {
        PointAttributes(v, point);
    }
};

// The last baseboard shape settings; an absent value keeps the document's.
struct LastShapeElement {
    static constexpr std::string_view kTag = "lastshape";
    template <class V, class D>
    static void Attributes(V& v, D& doc) {
        v.OptionalInt("id", doc.lastShape, 0, 5, doc.lastShape);
        v.OptionalDouble("w_mm", doc.shapeWidth, doc.shapeWidth);
        v.OptionalDouble("h_mm", doc.shapeHeight, doc.shapeHeight);
        v.OptionalDouble("w2_mm", doc.shapeWidth2, doc.shapeWidth2);
        v.OptionalDouble("h2_mm", doc.shapeHeight2, doc.shapeHeight2);
    }
};

struct LabelElement {
    static constexpr bool kObjectId = true;
    static constexpr std::string_view kTag = "label";
    template <class V, class L>
    static void Attributes(V& v, L& label) {
        v.Id("id", label.id);
        v.Double("x", label.x);
        v.Double("y", label.y);
        v.Text("text", label.text);
    }
};

// A measuring-tape annotation: its two ends and the offset of its length label.
struct MeasurementElement {
    static constexpr bool kObjectId = true;
    static constexpr std::string_view kTag = "measurement";
    template <class V, class M>
    static void Attributes(V& v, M& m) {
        v.Id("id", m.id);
        v.Double("x1", m.x1);
        v.Double("y1", m.y1);
        v.Double("x2", m.x2);
        v.Double("y2", m.y2);
        v.OptionalDouble("dx", m.dx, 0);
        v.OptionalDouble("dy", m.dy, 0);
        v.Flag("sel", m.selected);
    }
};

struct TunnelElement {
    static constexpr bool kObjectId = true;
    static constexpr std::string_view kTag = "tunnel";
    template <class V, class T>
    static void Attributes(V& v, T& tunnel) {
        v.Id("id", tunnel.id);
        v.Ref("portalA", tunnel.portalA);
        v.Ref("portalB", tunnel.portalB);
        v.OptionalRef("anchorA", tunnel.anchorA);
        v.OptionalRef("anchorB", tunnel.anchorB);
    }
};

// One piece inside a tunnel.
struct CoversElement {
    static constexpr std::string_view kTag = "covers";
    template <class V, class I>
    static void Attributes(V& v, I& pieceId) {
        v.Id("piece", pieceId);
    }
};

struct HelixElement {
    static constexpr bool kObjectId = true;
    static constexpr std::string_view kTag = "helix";
    template <class V, class H>
    static void Attributes(V& v, H& helix) {
        v.Id("id", helix.id);
        v.Double("cx", helix.x);
        v.Double("cy", helix.y);
        v.Double("heading", helix.heading);
        v.Text("variant", helix.variant, "proses_2_5_r1r2");
        v.Ref("bottomR1", helix.bottomR1);
        v.Ref("bottomR2", helix.bottomR2);
        v.Ref("topR1", helix.topR1);
        v.Ref("topR2", helix.topR2);
    }
};

// A picture under the track, inside <pictures>; the path as the file holds it.
struct PictureElement {
    static constexpr std::string_view kTag = "picture";
    template <class V, class P>
    static void Attributes(V& v, P& picture) {
        v.Text("path", picture.path);
        v.Double("x", picture.xMm);
        v.Double("y", picture.yMm);
        v.Double("width", picture.widthMm);
        v.OptionalDouble("rotation", picture.rotationDeg, 0);
        v.OptionalDouble("opacity", picture.opacity, 0.5);
        v.Flag("locked", picture.locked);
        v.FlagUnlessZero("shown", picture.shown);
        v.OptionalRef("level", picture.level, kOmitNone);
    }
};

// The wiring plan: booster districts, gaps, feeders and detectors, inside <wiring>.
struct DistrictElement {
    static constexpr std::string_view kTag = "district";
    template <class V, class D>
    static void Attributes(V& v, D& district) {
        v.Id("id", district.id);
        v.Text("name", district.name);
        v.Int("color", district.colour, 0, 0xFFFFFF);
        v.OptionalDouble("amps", district.maxCurrentA, 3.0);
    }
};

// A gap as the file holds it: the rails as 0 centre, 1 left, 2 right, 3 both.
struct GapLine {
    uint32_t piece = 0;
    int32_t conn = 0;
    int32_t rails = 3;
};

struct GapElement {
    static constexpr std::string_view kTag = "gap";
    template <class V, class G>
    static void Attributes(V& v, G& gap) {
        v.Id("piece", gap.piece);
        v.Int("conn", gap.conn, 0, kMaxFileConnectors - 1);
        v.Int("rails", gap.rails, 0, 3);
    }
};

struct FeederElement {
    static constexpr std::string_view kTag = "feeder";
    template <class V, class F>
    static void Attributes(V& v, F& feeder) {
        v.Id("piece", feeder.piece);
        v.OptionalRef("district", feeder.district, kOmitNone);
    }
};

struct DetectorElement {
    static constexpr std::string_view kTag = "detector";
    template <class V, class D>
    static void Attributes(V& v, D& detector) {
        v.Id("piece", detector.piece);
        v.Int("number", detector.number, 1, kFileIntMax);
    }
};

// Appends the attributes of a list in the file's form: a blank, the name, '=' and the quoted value.
class AttributeWriter {
public:
    explicit AttributeWriter(std::string& out) : out_(out) {}
    ~AttributeWriter() { Flush(); }
    AttributeWriter(const AttributeWriter&) = delete;
    AttributeWriter& operator=(const AttributeWriter&) = delete;

    void Id(std::string_view name, uint32_t id, unsigned = 0) { Integer(name, FileInt(id)); }
    void Ref(std::string_view name, uint32_t id, unsigned rules = 0) {
        if (!(rules & kOmitNone) || id != kNoId) Integer(name, FileInt(id));
    }
    void OptionalRef(std::string_view name, uint32_t id, unsigned rules = 0) {
        Ref(name, id, rules);
    }
    template <class T>
    void Int(std::string_view name, T value, int32_t, int32_t, unsigned = 0) {
        Integer(name, FileInt(value));
    }
    template <class T>
    void OptionalInt(std::string_view name, T value, int32_t, int32_t, int32_t, unsigned = 0) {
        Integer(name, FileInt(value));
    }
    void Double(std::string_view name, double value, unsigned = 0);
    void OptionalDouble(std::string_view name, double value, double, unsigned = 0) {
        Double(name, value);
    }
    void Text(std::string_view name, std::string_view text, std::string_view = {}, unsigned = 0);
    void Flag(std::string_view name, bool flag, unsigned = 0) { Fixed(name, flag ? "1" : "0"); }
    void FlagUnlessZero(std::string_view name, bool flag, unsigned = 0) { Flag(name, flag); }
    void Colour(std::string_view name, bool hasColour, const Rgb& colour, unsigned = 0) {
        if (hasColour) Integer(name, colour.r * 65536 + colour.g * 256 + colour.b);
    }
    void Fixed(std::string_view name, std::string_view value);
    // Hands the attributes gathered so far on to the text.
    void Flush() {
        out_.append(line_, used_);
        used_ = 0;
    }

private:
    // Ids are 32-bit integers in the file; "none" (all bits set) is written as -1.
    template <class T>
    static int64_t FileInt(T value) {
        if constexpr (std::is_same_v<T, uint32_t>)
            return static_cast<int32_t>(value);
        else
            return value;
    }
    // Starts an attribute, ` name="`, with room after it for `room` more characters.
    char* Start(std::string_view name, size_t room);
    // Ends the attribute whose value ends at `p`.
    void End(char* p);
    void Integer(std::string_view name, int64_t value);

    // Attributes are gathered here and appended to the text a line at a time: one append per
    // line instead of several per attribute keeps saving large layouts fast.
    static constexpr size_t kShortText = 32;         // longer texts go straight to the output
    static constexpr size_t kLongestReference = 6;  // "&quot;"
    std::string& out_;
    char line_[512];
    size_t used_ = 0;
};

// Reads the attributes of a list out of one line. After the first fault the rest are skipped;
// the fault's text is in the error string of the LineFields.
class AttributeReader {
public:
    AttributeReader(LineFields& fields, FileReader reader) : f_(fields), reader_(reader) {}

    bool Ok() const { return ok_; }
    // Moves on to the attributes checked last; false when there are none or a fault came first.
    bool StartCheckedLast() {
        if (!ok_ || !sawLast_) return false;
        inLast_ = true;
        return true;
    }

    void Id(std::string_view name, uint32_t& id, unsigned rules = 0) {
        if (Takes(rules)) ok_ = f_.Id(name, &id);
    }
    void Ref(std::string_view name, uint32_t& id, unsigned rules = 0) {
        if (Takes(rules)) ok_ = f_.Ref(name, &id);
    }
    void OptionalRef(std::string_view name, uint32_t& id, unsigned rules = 0) {
        if (Takes(rules)) ok_ = f_.OptionalRef(name, &id);
    }
    template <class T>
    void Int(std::string_view name, T& out, int32_t lo, int32_t hi, unsigned rules = 0) {
        int32_t value = 0;
        if (Takes(rules) && (ok_ = f_.Int(name, lo, hi, &value))) out = FromFile<T>(value);
    }
    template <class T>
    void OptionalInt(std::string_view name, T& out, int32_t lo, int32_t hi, int32_t fallback,
                     unsigned rules = 0) {
        int32_t value = 0;
        if (Takes(rules) && (ok_ = f_.OptionalInt(name, lo, hi, fallback, &value)))
            out = FromFile<T>(value);
    }
    void Double(std::string_view name, double& out, unsigned rules = 0) {
        if (Takes(rules)) ok_ = f_.Double(name, &out);
    }
    void OptionalDouble(std::string_view name, double& out, double fallback, unsigned rules = 0) {
        if (Takes(rules)) ok_ = f_.OptionalDouble(name, fallback, &out);
    }
    void Text(std::string_view name, std::string& out, std::string_view fallback = {},
              unsigned rules = 0) {
        if (!Takes(rules)) return;
        out = f_.Text(name);
        if (out.empty()) out = fallback;
    }
    void Flag(std::string_view name, bool& out, unsigned rules = 0) {
        if (Takes(rules)) out = f_.Flag(name);
    }
    void FlagUnlessZero(std::string_view name, bool& out, unsigned rules = 0) {
        if (Takes(rules)) out = f_.Raw(name) != "0";
    }
    void Colour(std::string_view name, bool& hasColour, Rgb& colour, unsigned rules = 0);
    void Fixed(std::string_view, std::string_view) {}

private:
    bool Takes(unsigned rules) {
        if (!ok_ || ((rules & kLayoutOnly) && reader_ != FileReader::Layout)) return false;
        const bool last = (rules & kCheckedLast) != 0;
        sawLast_ = sawLast_ || last;
        return last == inLast_;
    }
    template <class T>
    static T FromFile(int32_t value) {
        if constexpr (std::is_same_v<T, uint32_t>)
            return value < 0 ? kNoId : static_cast<uint32_t>(value);
        else
            return static_cast<T>(value);
    }

    LineFields& f_;
    FileReader reader_;
    bool ok_ = true;
    bool sawLast_ = false;
    bool inLast_ = false;
};

// Appends one element line: `indent`, '<' and the tag, the attributes, then `close` (for example
// "/>\n" or ">\n").
template <class Element, class... Objects>
void AppendElement(std::string& out, std::string_view indent, std::string_view close,
                   const Objects&... objects) {
    out += indent;
    out += '<';
    out += Element::kTag;
    {
        AttributeWriter writer(out);
        Element::Attributes(writer, objects...);
    }
    out += close;
}

// Reads the attributes `reader` takes from an element line into the objects; false on the first
// fault (its text is in the fields' error string).
template <class Element, class... Objects>
bool ReadElement(LineFields& fields, FileReader reader, Objects&... objects) {
    AttributeReader attributes(fields, reader);
    Element::Attributes(attributes, objects...);
    if (attributes.StartCheckedLast()) Element::Attributes(attributes, objects...);
    return attributes.Ok();
}

// Object ids seen so far in one file; pieces, scenery, labels, measurements, tunnels and helices
// share one id space, so an id may appear only once.
class IdRegistry {
public:
    bool Add(uint32_t id, LineFields& fields) {
        // Files list objects with rising ids: an id above every earlier one is new, and needs no
        // set until the first one that is not.
        if (seen_.empty() && (inOrder_.empty() || id > highest_)) {
            inOrder_.push_back(id);
            highest_ = id;
            return true;
        }
        if (seen_.empty()) {
            seen_.insert(inOrder_.begin(), inOrder_.end());
            inOrder_.clear();
        }
        if (!seen_.insert(id).second)
            return fields.Fail(Format(Tr("id %u is used twice").c_str(), id));
        if (id > highest_) highest_ = id;
        return true;
    }
    uint32_t Highest() const { return highest_; }

private:
    std::vector<uint32_t> inOrder_;  // while every id so far rose
    std::unordered_set<uint32_t> seen_;
    uint32_t highest_ = 0;
};

// Reads an element line into a new object at the end of `list`; the ids of objects go into `ids`,
// where a repeated one is a fault.
template <class Element, class T>
bool AppendReadElement(std::vector<T>& list, std::string_view line, int lineNumber,
                       FileReader reader, IdRegistry& ids, std::string* error) {
    LineFields fields(line, lineNumber, Element::kTag, error);
    T object{};
    if (!ReadElement<Element>(fields, reader, object)) return false;
    if constexpr (ObjectElement<Element>)
        if (!ids.Add(object.id, fields)) return false;
    list.push_back(std::move(object));
    return true;
}

// The piece element shared by layout and block files: the <piece ...> line at `indent`, one
// <joint .../> line per joined connector two blanks deeper, then </piece>.
void AppendPieceElement(std::string& out, const PlacedPiece& piece, std::string_view indent);

// Reads a <joint line into the piece's joint slots, growing them as needed. A target of -1 opens
// the slot.
bool ReadJointLine(LineFields& fields, PlacedPiece* piece);

// Gives every piece of a known article at least one joint slot per connector of its definition
// (the file leaves open slots out), so a loaded piece looks like a freshly placed one.
void PadJointSlots(std::vector<PlacedPiece>& pieces);
