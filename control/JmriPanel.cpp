// The JMRI panel writer: pieces become layout turnouts, slips, level crossings and track
// segments joined through anchor points, one panel per level.
#include "control/JmriPanel.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>
#include <unordered_map>

#include "base/Format.h"
#include "control/ControlPlan.h"
#include "model/LayoutDocument.h"
#include "network/TrackGraph.h"
#include "persistence/LayoutFile.h"

namespace {

// JMRI's connection point types (HitPointType ordinals).
constexpr int kPosPoint = 1;
constexpr int kTurnoutA = 2;  // B, C, D follow
constexpr int kLevelXingA = 6;
constexpr int kSlipA = 21;
// Positionable point types.
constexpr int kAnchor = 1;
constexpr int kEndBumper = 2;
constexpr int kEdgeConnector = 3;

constexpr const char* kXml = "jmri.jmrit.display.layoutEditor.configurexml.";

enum class Node { Track, Bumper, Turnout, ThreeWay, Slip, Crossing, Skip };

struct Hit {
    std::string name;  // ident of the element
    int type = 0;
};

struct Piece {
    const GraphPiece* gp = nullptr;
    Node node = Node::Skip;
    int32_t level = 1;
    std::vector<PointMm> ends;  // connector positions, mm
    std::vector<Hit> hits;      // per connector, for turnouts, slips and crossings
    PointMm buffer;             // a bumper's buffer end
};

struct Point {
    std::string ident;
    int type = kAnchor;
    PointMm at;
    int32_t level = 1;
    std::vector<std::string> connects;
    std::string linkPoint;  // edge connectors: the point on the other level
    int32_t linkLevel = 0;
};

double Turn(const TrackRoute& line) {
    double sum = 0;
    for (double t : line.turns) sum += t;
    return sum;
}

const TrackRoute* LineBetween(const GraphPiece& gp, int a, int b) {
    for (const TrackRoute& r : gp.lines)
        if ((r.from == a && r.to == b) || (r.from == b && r.to == a)) return &r;
    return nullptr;
}

PointMm Lerp(PointMm a, PointMm b, double t) { return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}; }

// Where the diverging leg leaves the straight: the straight A-B met by the tangent at C (the
// middle of A-B when they do not meet within it).
PointMm TurnoutCentre(PointMm a, PointMm b, PointMm c, double cHeadingDeg) {
    const double rad = cHeadingDeg * M_PI / 180;
    const PointMm d{b.x - a.x, b.y - a.y}, e{std::cos(rad), std::sin(rad)};
    const double den = d.x * e.y - d.y * e.x;
    if (std::fabs(den) > 1e-9) {
        const double t = ((c.x - a.x) * e.y - (c.y - a.y) * e.x) / den;
        if (t > 0.05 && t < 0.95) return Lerp(a, b, t);
    }
    return Lerp(a, b, 0.5);
}

// True when C lies to the right of A->B as JMRI draws it (y downwards).
bool RightHand(PointMm a, PointMm b, PointMm c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x) > 0;
}

class PanelWriter {
public:
    PanelWriter(const LayoutDocument& doc, const TrackGraph& graph, const JmriOptions& options)
        : doc_(doc), graph_(graph), o_(options) {}

    bool Write(std::string& xml) {
        Collect();
        if (pieces_.empty()) return false;
        Origin();
        for (size_t i = 0; i < pieces_.size(); ++i) Elements(i);
        for (size_t i = 0; i < pieces_.size(); ++i) Segments(i);
        Assemble(xml);
        return true;
    }

private:
    // --- pieces ---------------------------------------------------------------------------

    void Collect() {
        for (const auto& shared : graph_.Pieces()) {
            const GraphPiece& gp = *shared;
            if (!gp.def) continue;
            Piece p;
            p.gp = &gp;
            p.node = Classify(*gp.def);
            const int n = static_cast<int>(gp.def->connectors.size());
            p.ends.resize(n);
            for (const TrackRoute& r : gp.lines) {
                if (r.points.empty()) continue;
                if (r.from >= 0 && r.from < n) p.ends[r.from] = r.points.front();
                if (r.to >= 0 && r.to < n) p.ends[r.to] = r.points.back();
                if (r.to < 0) p.buffer = r.points.back();
            }
            const PlacedPiece* placed = doc_.FindPiece(gp.id);
            p.level = placed ? placed->level : 0;
            index_.emplace(gp.id, pieces_.size());
            pieces_.push_back(std::move(p));
        }
        // A helix track lies on the level of the piece at its foot.
        for (Piece& p : pieces_) {
            if (p.level != 0) continue;
            const GraphEnd j = graph_.Joined(GraphEnd{p.gp->id, 0});
            const PlacedPiece* foot = j.piece == kNoId ? nullptr : doc_.FindPiece(j.piece);
            p.level = foot ? foot->level : 1;
        }
    }

    static Node Classify(const PieceDef& def) {
        switch (def.kind) {
            case PieceKind::LeftTurnout:
            case PieceKind::RightTurnout:
                return def.connectors.size() >= 4 ? Node::ThreeWay : Node::Turnout;
            case PieceKind::CurvedTurnout:
            case PieceKind::CurvedTurnoutK:
                return Node::Turnout;
            case PieceKind::DoubleSlip:
                return Node::Slip;
            case PieceKind::Crossing:
                return Node::Crossing;
            case PieceKind::Bumper:
                return Node::Bumper;
            case PieceKind::Turntable:
                return Node::Skip;
            default:
                return def.connectors.size() == 2 ? Node::Track : Node::Skip;
        }
    }

    bool IsElement(const Piece& p) const {
        return p.node == Node::Turnout || p.node == Node::ThreeWay || p.node == Node::Slip ||
               p.node == Node::Crossing;
    }
    bool IsTrack(const Piece& p) const { return p.node == Node::Track || p.node == Node::Bumper; }

    const Piece* Find(uint32_t id) const {
        auto it = index_.find(id);
        return it == index_.end() ? nullptr : &pieces_[it->second];
    }

    void Origin() {
        minX_ = minY_ = std::numeric_limits<double>::max();
        double maxX = -minX_, maxY = -minY_;
        for (const Piece& p : pieces_)
            for (const PointMm& e : p.ends) {
                minX_ = std::min(minX_, e.x), minY_ = std::min(minY_, e.y);
                maxX = std::max(maxX, e.x), maxY = std::max(maxY, e.y);
            }
        if (minX_ > maxX) minX_ = minY_ = maxX = maxY = 0;
        widthPx_ = (maxX - minX_) * o_.scale + 2 * o_.marginPx;
        heightPx_ = (maxY - minY_) * o_.scale + 2 * o_.marginPx;
    }

    std::string X(double mm) const { return Format("%.1f", (mm - minX_) * o_.scale + o_.marginPx); }
    std::string Y(double mm) const { return Format("%.1f", (mm - minY_) * o_.scale + o_.marginPx); }
    std::string Xy(std::string_view name, PointMm p) const {
        return Format(" x%s=\"%s\" y%s=\"%s\"", std::string(name).c_str(), X(p.x).c_str(),
                      std::string(name).c_str(), Y(p.y).c_str());
    }

    std::string TurnoutName(uint32_t piece, int second) {
        const AccessoryAddress* a = doc_.control.Find(piece);
        if (!a) return {};
        const std::string name = o_.turnoutPrefix + std::to_string(a->address + second);
        if (turnoutNames_.insert({name, "pending"}).second) turnoutOrder_.push_back(name);
        return name;
    }

    std::string BlockOf(uint32_t piece) const {
        auto it = blockOf_.find(piece);
        return it == blockOf_.end() ? std::string() : it->second;
    }
    std::string BlockAttr(uint32_t piece, const char* attr = "blockname") const {
        const std::string b = BlockOf(piece);
        return b.empty() ? std::string() : Format(" %s=\"%s\"", attr, EscapeXml(b).c_str());
    }

    // --- turnouts, slips and crossings ----------------------------------------------------

    void Elements(size_t i) {
        Piece& p = pieces_[i];
        if (!IsElement(p)) return;
        p.hits.assign(p.ends.size(), Hit{});
        if (p.node == Node::Turnout)
            TurnoutElement(p);
        else if (p.node == Node::ThreeWay)
            ThreeWayElement(p);
        else
            CrossingElement(p);
    }

    void TurnoutElement(Piece& p) {
        const uint32_t id = p.gp->id;
        // B is the leg that turns least; C the other.
        int b = 1, c = 2;
        const TrackRoute* r1 = LineBetween(*p.gp, 0, 1);
        const TrackRoute* r2 = LineBetween(*p.gp, 0, 2);
        if (r1 && r2 && std::fabs(Turn(*r2)) < std::fabs(Turn(*r1))) std::swap(b, c);
        const std::string ident = Format("TO%u", id);
        p.hits[0] = {ident, kTurnoutA};
        p.hits[b] = {ident, kTurnoutA + 1};
        p.hits[c] = {ident, kTurnoutA + 2};
        turnouts_.push_back(Turnout{ident, p.level, p.ends[0], p.ends[b], p.ends[c],
                                    CentreOf(p, b, c), TurnoutName(id, 0), id});
    }

    void ThreeWayElement(Piece& p) {
        const uint32_t id = p.gp->id;
        const int n = static_cast<int>(p.ends.size());
        // Two turnouts back to back: the first takes the address, the second the next one.
        int straight = 1;
        for (int k = 2; k < n; ++k) {
            const TrackRoute* best = LineBetween(*p.gp, 0, straight);
            const TrackRoute* r = LineBetween(*p.gp, 0, k);
            if (r && best && std::fabs(Turn(*r)) < std::fabs(Turn(*best))) straight = k;
        }
        std::vector<int> legs;
        for (int k = 1; k < n; ++k)
            if (k != straight) legs.push_back(k);
        if (legs.size() < 2) return;
        const PointMm a = p.ends[0], s = p.ends[straight];
        int first = legs[0], second = legs[1];
        if (RightHand(a, s, p.ends[first])) std::swap(first, second);  // first leg left
        const PointMm m1 = Lerp(a, s, 0.35), m2 = Lerp(a, s, 0.5);
        const std::string identA = Format("TO%ua", id), identB = Format("TO%ub", id);
        p.hits[0] = {identA, kTurnoutA};
        p.hits[first] = {identA, kTurnoutA + 2};
        p.hits[straight] = {identB, kTurnoutA + 1};
        p.hits[second] = {identB, kTurnoutA + 2};
        turnouts_.push_back(Turnout{identA, p.level, a, m1, p.ends[first], Lerp(a, m1, 0.5),
                                    TurnoutName(id, 0), id});
        turnouts_.push_back(Turnout{identB, p.level, m2, s, p.ends[second], Lerp(m2, s, 0.3),
                                    TurnoutName(id, 1), id});
        AddSegment(Segment{Format("T%um", id),
                           p.level,
                           {identA, kTurnoutA + 1},
                           {identB, kTurnoutA},
                           id,
                           0,
                           false});
    }

    void CrossingElement(Piece& p) {
        const uint32_t id = p.gp->id;
        const int n = static_cast<int>(p.ends.size());
        // Slips and crossings: A-C and B-D are the two tracks; a slip's curves join A-D
        // and B-C.
        if (n < 4) return;
        const int a = 0, c = Opposite(p, 0);
        int b = -1, d = -1;
        for (int k = 1; k < n; ++k)
            if (k != c) (b < 0 ? b : d) = k;
        if (c < 0 || b < 0 || d < 0) return;
        if (Opposite(p, b) != d) return;
        if (p.node == Node::Slip && !LineBetween(*p.gp, a, d)) std::swap(b, d);
        const bool slip = p.node == Node::Slip;
        const std::string ident = Format(slip ? "SL%u" : "X%u", id);
        const int base = slip ? kSlipA : kLevelXingA;
        p.hits[a] = {ident, base};
        p.hits[b] = {ident, base + 1};
        p.hits[c] = {ident, base + 2};
        p.hits[d] = {ident, base + 3};
        Crossing x{ident, p.level, slip, p.ends[a], p.ends[b], Lerp(p.ends[a], p.ends[c], 0.5),
                   {},    {},      id};
        if (slip) {
            x.turnout = TurnoutName(id, 0);
            const AccessoryAddress* addr = doc_.control.Find(id);
            if (addr && addr->drives >= 2) x.turnoutB = TurnoutName(id, 1);
        }
        crossings_.push_back(std::move(x));
    }

    // The connector whose route from k runs straightest through the piece.
    int Opposite(const Piece& p, int k) const {
        int best = -1;
        double bestTurn = 1e9;
        for (const TrackRoute& r : p.gp->lines) {
            const int other = r.from == k ? r.to : r.to == k ? r.from : -1;
            if (other < 0) continue;
            if (std::fabs(Turn(r)) < bestTurn) bestTurn = std::fabs(Turn(r)), best = other;
        }
        return best;
    }

    PointMm CentreOf(const Piece& p, int b, int c) const {
        const PlacedPiece* placed = doc_.FindPiece(p.gp->id);
        double heading = 0;
        if (placed) heading = GetConnectorPose(*placed, *p.gp->def, c).heading;
        return TurnoutCentre(p.ends[0], p.ends[b], p.ends[c], heading);
    }

    // --- track ----------------------------------------------------------------------------

    struct Segment {
        std::string ident;
        int32_t level = 1;
        Hit end1, end2;
        uint32_t piece = 0;
        double arcDeg = 0;  // turn from end1 to end2, positive to the left as the layout has it
        bool dashed = false;
    };
    struct Turnout {
        std::string ident;
        int32_t level;
        PointMm a, b, c, centre;
        std::string name;
        uint32_t piece;
    };
    struct Crossing {
        std::string ident;
        int32_t level;
        bool slip;
        PointMm a, b, centre;
        std::string turnout, turnoutB;
        uint32_t piece;
    };

    // The end a track piece's connector c leads to: an element's connection, an anchor shared
    // with the next plain piece, an edge connector to another level, or an anchor of its own.
    Hit EndOf(const Piece& p, int c, const std::string& segment) {
        const uint32_t id = p.gp->id;
        const GraphEnd j = graph_.Joined(GraphEnd{id, c});
        const Piece* q = j.piece == kNoId ? nullptr : Find(j.piece);
        if (q && q->node == Node::Skip) q = nullptr;
        if (q && q->level == p.level && IsElement(*q) && j.connector >= 0 &&
            j.connector < static_cast<int>(q->hits.size()) && !q->hits[j.connector].name.empty()) {
            return q->hits[j.connector];
        }
        std::string ident;
        int type = kAnchor;
        if (q && q->level == p.level) {
            const bool low = std::pair(id, c) < std::pair(j.piece, j.connector);
            ident = low ? Format("A%u_%d", id, c) : Format("A%u_%d", j.piece, j.connector);
        } else if (q) {
            ident = Format("EC%u_%d", id, c);
            type = kEdgeConnector;
        } else {
            ident = Format("A%u_%d", id, c);
        }
        Point& pt = PointNamed(ident, type, p.ends[c], p.level);
        pt.connects.push_back(segment);
        if (type == kEdgeConnector) {
            pt.linkPoint = Format("EC%u_%d", j.piece, j.connector);
            pt.linkLevel = q->level;
        }
        return {ident, kPosPoint};
    }

    Point& PointNamed(const std::string& ident, int type, PointMm at, int32_t level) {
        auto it = pointIndex_.find(ident);
        if (it != pointIndex_.end()) return points_[it->second];
        pointIndex_.emplace(ident, points_.size());
        points_.push_back(Point{ident, type, at, level, {}, {}, 0});
        return points_.back();
    }

    void AddSegment(Segment s) { segments_.push_back(std::move(s)); }

    void Segments(size_t i) {
        const Piece& p = pieces_[i];
        const uint32_t id = p.gp->id;
        if (p.node == Node::Track) {
            const std::string ident = Format("T%u", id);
            const TrackRoute* line = LineBetween(*p.gp, 0, 1);
            double turn = line ? Turn(*line) : 0;
            if (line && line->from == 1) turn = -turn;
            const bool helix = !doc_.FindPiece(id);
            Segment s{ident, p.level, EndOf(p, 0, ident), EndOf(p, 1, ident), id,
                      helix || std::fabs(turn) < 0.01 ? 0 : turn, helix};
            AddSegment(std::move(s));
        } else if (p.node == Node::Bumper) {
            const std::string ident = Format("T%u", id);
            Hit from = EndOf(p, 0, ident);
            const std::string bumper = Format("EB%u", id);
            PointNamed(bumper, kEndBumper, p.buffer, p.level).connects.push_back(ident);
            AddSegment(Segment{ident, p.level, from, {bumper, kPosPoint}, id, 0, false});
        } else if (IsElement(p)) {
            // Joints to other elements and to other levels get segments of their own.
            for (int c = 0; c < static_cast<int>(p.hits.size()); ++c) {
                if (p.hits[c].name.empty()) continue;
                const GraphEnd j = graph_.Joined(GraphEnd{id, c});
                const Piece* q = j.piece == kNoId ? nullptr : Find(j.piece);
                if (!q || q->node == Node::Skip) continue;
                const std::string ident = Format("T%u_%d", id, c);
                if (q->level != p.level) {
                    const std::string edge = Format("EC%u_%d", id, c);
                    Point& pt = PointNamed(edge, kEdgeConnector, p.ends[c], p.level);
                    pt.connects.push_back(ident);
                    pt.linkPoint = Format("EC%u_%d", j.piece, j.connector);
                    pt.linkLevel = q->level;
                    AddSegment(Segment{ident, p.level, p.hits[c], {edge, kPosPoint}, id, 0, false});
                } else if (IsElement(*q) && std::pair(id, c) < std::pair(j.piece, j.connector) &&
                           j.connector >= 0 && j.connector < static_cast<int>(q->hits.size()) &&
                           !q->hits[j.connector].name.empty()) {
                    AddSegment(Segment{ident, p.level, p.hits[c], q->hits[j.connector], id, 0,
                                       false});
                }
            }
        }
    }

    // --- output ---------------------------------------------------------------------------

    std::string PanelName(int32_t level) const {
        if (panelLevels_.size() <= 1) return o_.panelName;
        const Level* l = doc_.FindLevel(static_cast<uint32_t>(level));
        return o_.panelName + " - " + (l ? l->name : Format("%d", level));
    }

    std::string Connect(const std::string& element, int type) const {
        // The segment joined at the element's connection of this type.
        auto it = elementConnects_.find({element, type});
        return it == elementConnects_.end() ? std::string() : it->second;
    }

    void Assemble(std::string& xml) {
        for (const Segment& s : segments_) {
            if (s.end1.type != kPosPoint) elementConnects_[{s.end1.name, s.end1.type}] = s.ident;
            if (s.end2.type != kPosPoint) elementConnects_[{s.end2.name, s.end2.type}] = s.ident;
        }
        for (const Piece& p : pieces_)
            if (p.node != Node::Skip) panelLevels_.insert(p.level);

        xml.clear();
        xml.reserve(pieces_.size() * 420 + 1024);
        xml += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
        xml += "<layout-config xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
               "xsi:noNamespaceSchemaLocation=\"http://jmri.org/xml/schema/layout-4-19-2.xsd\">\n";
        AppendAccessories(xml);
        AppendBlocks(xml);
        for (int32_t level : panelLevels_) AppendPanel(xml, level);
        xml += "</layout-config>\n";
    }

    void AppendAccessories(std::string& xml) {
        // Uncouplers are switched like turnouts: they join the turnout list under their address.
        for (const PlacedPiece& p : doc_.pieces) {
            const PieceDef* def = TrackCatalog::Instance().Find(p.article);
            if (def && AccessoryKindOf(*def) == AccessoryKind::Uncoupler) TurnoutName(p.id, 0);
        }
        if (turnoutOrder_.empty()) return;
        xml += "  <turnouts class=\"jmri.jmrix.internal.configurexml.InternalTurnoutManagerXml\">\n";
        for (const std::string& name : turnoutOrder_)
            xml += Format("    <turnout inverted=\"false\"><systemName>%s</systemName></turnout>\n",
                          EscapeXml(name).c_str());
        xml += "  </turnouts>\n";
    }

    void AppendBlocks(std::string& xml) {
        if (o_.sections.empty()) return;
        std::vector<std::pair<std::string, std::string>> blocks;  // user name, sensor
        for (const DetectionSection& s : o_.sections) {
            const std::string name = s.name.empty() ? Format("Block %d", s.contact) : s.name;
            blocks.emplace_back(name, o_.sensorPrefix + std::to_string(s.contact));
            for (uint32_t piece : s.pieces) blockOf_.emplace(piece, name);
        }
        xml += "  <sensors class=\"jmri.jmrix.internal.configurexml.InternalSensorManagerXml\">\n";
        std::map<std::string, bool> sensors;
        for (const auto& [name, sensor] : blocks)
            if (sensors.emplace(sensor, true).second)
                xml += Format("    <sensor inverted=\"false\"><systemName>%s</systemName></sensor>\n",
                              EscapeXml(sensor).c_str());
        xml += "  </sensors>\n";
        xml += Format("  <layoutblocks class=\"%sLayoutBlockManagerXml\">\n", kXml);
        int k = 1;
        for (const auto& [name, sensor] : blocks)
            xml += Format("    <layoutblock occupancysensor=\"%s\" occupiedsense=\"2\" "
                          "trackcolor=\"darkGray\" occupiedcolor=\"red\" extracolor=\"white\">"
                          "<systemName>ILB%d</systemName><userName>%s</userName></layoutblock>\n",
                          EscapeXml(sensor).c_str(), k++, EscapeXml(name).c_str());
        xml += "  </layoutblocks>\n";
    }

    void AppendPanel(std::string& xml, int32_t level) {
        xml += Format("  <LayoutEditor class=\"%sLayoutEditorXml\" name=\"%s\" x=\"0\" y=\"0\" "
                      "windowheight=\"%d\" windowwidth=\"%d\" panelheight=\"%d\" panelwidth=\"%d\" "
                      "mainlinetrackwidth=\"4\" sidetrackwidth=\"2\" defaulttrackcolor=\"darkGray\" "
                      "editable=\"yes\" controlling=\"yes\">\n",
                      kXml, EscapeXml(PanelName(level)).c_str(),
                      static_cast<int>(std::min(heightPx_, 1000.0)),
                      static_cast<int>(std::min(widthPx_, 1600.0)), static_cast<int>(heightPx_),
                      static_cast<int>(widthPx_));
        AppendPoints(xml, level);
        AppendTurnouts(xml, level);
        AppendCrossings(xml, level);
        AppendSegments(xml, level);
        xml += "  </LayoutEditor>\n";
    }

    void AppendPoints(std::string& xml, int32_t level) {
        for (const Point& p : points_) {
            if (p.level != level) continue;
            std::string attrs =
                Format("ident=\"%s\" type=\"%d\" x=\"%s\" y=\"%s\"", p.ident.c_str(), p.type,
                       X(p.at.x).c_str(), Y(p.at.y).c_str());
            if (!p.connects.empty()) attrs += Format(" connect1name=\"%s\"", p.connects[0].c_str());
            if (p.connects.size() > 1)
                attrs += Format(" connect2name=\"%s\"", p.connects[1].c_str());
            if (p.type == kEdgeConnector)
                attrs += Format(" linkedpanel=\"%s\" linkpointid=\"%s\"",
                                EscapeXml(PanelName(p.linkLevel)).c_str(), p.linkPoint.c_str());
            xml += Format("    <positionablepoint %s class=\"%sPositionablePointXml\"/>\n",
                          attrs.c_str(), kXml);
        }
    }

    void AppendTurnouts(std::string& xml, int32_t level) {
        for (const Turnout& t : turnouts_) {
            if (t.level != level) continue;
            const bool right = RightHand(t.a, t.b, t.c);
            std::string attrs = Format("ident=\"%s\" type=\"%d\" continuing=\"2\" ver=\"2\"",
                                       t.ident.c_str(), right ? 1 : 2);
            attrs += Xy("cen", t.centre) + Xy("a", t.a) + Xy("b", t.b) + Xy("c", t.c);
            if (!t.name.empty()) attrs += Format(" turnoutname=\"%s\"", EscapeXml(t.name).c_str());
            attrs += BlockAttr(t.piece);
            for (int k = 0; k < 3; ++k) {
                const std::string s = Connect(t.ident, kTurnoutA + k);
                if (!s.empty()) attrs += Format(" connect%cname=\"%s\"", 'a' + k, s.c_str());
            }
            xml += Format("    <layoutturnout %s class=\"%s%s\"/>\n", attrs.c_str(), kXml,
                          right ? "LayoutRHTurnoutXml" : "LayoutLHTurnoutXml");
        }
    }

    void AppendCrossings(std::string& xml, int32_t level) {
        for (const Crossing& x : crossings_) {
            if (x.level != level) continue;
            const int base = x.slip ? kSlipA : kLevelXingA;
            std::string attrs = Format("ident=\"%s\"", x.ident.c_str());
            if (x.slip) attrs += " slipType=\"DOUBLE_SLIP\"";
            attrs += Xy("cen", x.centre) + Xy("a", x.a) + Xy("b", x.b);
            if (x.slip)
                attrs += BlockAttr(x.piece);
            else
                attrs += BlockAttr(x.piece, "blocknameac") + BlockAttr(x.piece, "blocknamebd");
            for (int k = 0; k < 4; ++k) {
                const std::string s = Connect(x.ident, base + k);
                if (!s.empty()) attrs += Format(" connect%cname=\"%s\"", 'a' + k, s.c_str());
            }
            if (!x.slip) {
                xml +=
                    Format("    <levelxing %s class=\"%sLevelXingXml\"/>\n", attrs.c_str(), kXml);
                continue;
            }
            xml += Format("    <layoutSlip %s class=\"%sLayoutSlipXml\">", attrs.c_str(), kXml);
            if (!x.turnout.empty())
                xml += Format("<turnout>%s</turnout>", EscapeXml(x.turnout).c_str());
            if (!x.turnoutB.empty())
                xml += Format("<turnoutB>%s</turnoutB>", EscapeXml(x.turnoutB).c_str());
            xml += "</layoutSlip>\n";
        }
    }

    void AppendSegments(std::string& xml, int32_t level) {
        for (const Segment& s : segments_) {
            if (s.level != level) continue;
            std::string attrs = Format(
                "ident=\"%s\" connect1name=\"%s\" type1=\"%d\" connect2name=\"%s\" "
                "type2=\"%d\" mainline=\"yes\" dashed=\"%s\" hidden=\"no\"",
                s.ident.c_str(), s.end1.name.c_str(), s.end1.type, s.end2.name.c_str(), s.end2.type,
                s.dashed ? "yes" : "no");
            attrs += BlockAttr(s.piece);
            if (s.arcDeg != 0)
                // The side the arc bends to: flipped for the layout's left turns.
                attrs += Format(" arc=\"yes\" circle=\"yes\" flip=\"%s\" angle=\"%.4f\"",
                                s.arcDeg > 0 ? "yes" : "no", std::fabs(s.arcDeg));
            xml +=
                Format("    <tracksegment %s class=\"%sTrackSegmentXml\"/>\n", attrs.c_str(), kXml);
        }
    }

    const LayoutDocument& doc_;
    const TrackGraph& graph_;
    const JmriOptions& o_;
    std::vector<Piece> pieces_;
    std::unordered_map<uint32_t, size_t> index_;
    std::vector<Turnout> turnouts_;
    std::vector<Crossing> crossings_;
    std::vector<Segment> segments_;
    std::vector<Point> points_;
    std::unordered_map<std::string, size_t> pointIndex_;
    std::map<std::pair<std::string, int>, std::string> elementConnects_;
    std::map<std::string, std::string> turnoutNames_;
    std::vector<std::string> turnoutOrder_;
    std::unordered_map<uint32_t, std::string> blockOf_;
    std::set<int32_t> panelLevels_;
    double minX_ = 0, minY_ = 0, widthPx_ = 0, heightPx_ = 0;
};

}  // namespace

bool WriteJmriPanel(const LayoutDocument& doc, const TrackGraph& graph, const JmriOptions& options,
                    std::string& xml) {
    xml.clear();
    return PanelWriter(doc, graph, options).Write(xml);
}
