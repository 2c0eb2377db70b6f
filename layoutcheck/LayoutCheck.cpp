// The layout check: every rule over the whole document, with hashed grids for the pair searches.
#include "layoutcheck/LayoutCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <tuple>
#include <unordered_map>
#include <utility>

#include "base/Format.h"
#include "base/Geometry.h"
#include "base/Translate.h"
#include "trackgeometry/PieceGeometry.h"
#include "trackgeometry/ConnectorJoins.h"
#include "trackgeometry/SpatialHash.h"
#include "trackgeometry/TrackRoutes.h"
#include "catalog/TrackCatalog.h"
#include "layoutcheck/AddressChecks.h"
#include "layoutcheck/Finding.h"
#include "layoutcheck/TrackChecks.h"
#include "network/HelixTrack.h"
#include "network/TrackGraph.h"
#include "model/GradeRuns.h"

namespace {

// Grid pitch of the route search; a little over twice the widest meeting distance.
constexpr double kRouteCellMm = 96.0;
// Two route stretches whose intervals are this close belong to one meeting.
constexpr double kTouchMm = 0.01;
// A crossing this close to an end of both routes is two ends touching, not a crossing.
constexpr double kEndTouchMm = 0.5;

bool IsZ(TrackSystem s) { return IsZGauge(s); }

double MeetHalfWidth(const PieceDef& def) {
    if (IsZ(def.system)) return kMeetHalfWidthZMm;
    return IsNGauge(def.system) ? kMeetHalfWidthNMm : kMeetHalfWidthH0Mm;
}

double ClearanceFor(const PieceDef& def, const CheckOptions& options) {
    if (IsZ(def.system)) return options.clearanceZMm;
    return IsNGauge(def.system) ? options.clearanceNMm : options.clearanceH0Mm;
}

struct Known {
    const PlacedPiece* piece = nullptr;
    const PieceDef* def = nullptr;  // null: article not in the catalog
};

// The layout's pieces with their definitions and an index by id.
struct Pieces {
    std::vector<Known> list;
    std::unordered_map<uint32_t, size_t> byId;

    explicit Pieces(const LayoutDocument& doc) {
        list.reserve(doc.pieces.size());
        byId.reserve(doc.pieces.size());
        for (const PlacedPiece& p : doc.pieces) {
            byId.emplace(p.id, list.size());
            list.push_back({&p, TrackCatalog::Instance().Find(p.article)});
        }
    }
    const Known* Find(uint32_t id) const {
        auto it = byId.find(id);
        return it == byId.end() ? nullptr : &list[it->second];
    }
};

// ---- Ends and joints ----

struct OpenEnd {
    size_t piece;
    int conn;
    ConnectorPose pose;
};

// An end that needs track: every connector except a turntable's exits (unused exits are the
// normal state of a turntable).
bool EndNeedsTrack(const Known& k) { return k.def->kind != PieceKind::Turntable; }

void CheckEnds(const LayoutDocument& doc, const Pieces& pieces, std::vector<LayoutFinding>& out) {
    const int units = doc.units;
    std::vector<OpenEnd> ends;
    for (size_t i = 0; i < pieces.list.size(); ++i) {
        const Known& k = pieces.list[i];
        if (!k.def) continue;
        const std::vector<ConnectorPose> poses = ConnectorPoses(*k.piece, *k.def);
        for (int c = 0; c < static_cast<int>(poses.size()); ++c) {
            const PlacedPiece& p = *k.piece;
            const bool joined = !p.IsOpen(c) && pieces.Find(p.joints[c].target);
            // The end of a helix's end piece is joined to the helix's track in the network.
            if (joined || HelixContinues(doc, p, c)) continue;
            ends.push_back({i, c, poses[c]});
            if (!EndNeedsTrack(k)) continue;
            out.push_back(Finding(FindingKind::OpenEnd, FindingSeverity::Warning, {p.id},
                                  poses[c].x, poses[c].y,
                                  Format(Tr("Open end of %s %s").c_str(), p.article.c_str(),
                                         PlaceText(poses[c].x, poses[c].y, units).c_str())));
        }
    }
    // Near misses: open ends of compatible systems almost on each other, almost facing.
    std::vector<BoxMm> boxes;
    boxes.reserve(ends.size());
    const double r = kNearMissGapMm / 2;
    for (const OpenEnd& e : ends) {
        boxes.push_back({e.pose.x - r, e.pose.y - r, e.pose.x + r, e.pose.y + r});
    }
    ForEachOverlappingPair(boxes, 4 * kNearMissGapMm, [&](size_t i, size_t j) {
        const OpenEnd& a = ends[i];
        const OpenEnd& b = ends[j];
        if (a.piece == b.piece) return;
        const Known& ka = pieces.list[a.piece];
        const Known& kb = pieces.list[b.piece];
        if (!ConnectorsCompatible(*ka.def, a.conn, *kb.def, b.conn)) return;
        const double gap = std::hypot(a.pose.x - b.pose.x, a.pose.y - b.pose.y);
        const double angle = 180.0 - HeadingDiffDeg(a.pose.heading, b.pose.heading);
        if (gap > kNearMissGapMm || angle > kNearMissAngleDeg) return;
        out.push_back(Finding(
            FindingKind::NearMiss, FindingSeverity::Error, {ka.piece->id, kb.piece->id},
            (a.pose.x + b.pose.x) / 2, (a.pose.y + b.pose.y) / 2,
            Format(Tr("Gap of %.1f mm at %.1f\u00b0 between %s and %s: the loop does not close")
                       .c_str(),
                   gap, angle, ka.piece->article.c_str(), kb.piece->article.c_str())));
    });
}

// Slope in degrees of a train leaving a piece through connector `conn`: connector 0 is the
// start, every other connector an end, so leaving through the start goes against the grade.
// A train entering through `conn` has the opposite slope.
double SlopeLeaving(const PlacedPiece& p, int conn) { return conn == 0 ? -p.grade : p.grade; }

void CheckJoints(const Pieces& pieces, const CheckOptions& options,
                 std::vector<LayoutFinding>& out) {
    for (const Known& ka : pieces.list) {
        if (!ka.def) continue;
        const PlacedPiece& a = *ka.piece;
        const int n = std::min(static_cast<int>(a.joints.size()),
                               static_cast<int>(ka.def->connectors.size()));
        for (int i = 0; i < n; ++i) {
            const Joint& joint = a.joints[i];
            if (joint.IsOpen()) continue;
            const Known* kb = pieces.Find(joint.target);
            if (!kb || !kb->def) continue;
            const PlacedPiece& b = *kb->piece;
            const int j = static_cast<int>(joint.targetConn);
            if (j < 0 || j >= static_cast<int>(kb->def->connectors.size())) continue;
            // Each joint once, from its lower (id, connector) side.
            if (std::tie(b.id, j) < std::tie(a.id, i)) continue;
            const ConnectorPose pa = GetConnectorPose(a, *ka.def, i);
            const ConnectorPose pb = GetConnectorPose(b, *kb->def, j);
            const double mx = (pa.x + pb.x) / 2, my = (pa.y + pb.y) / 2;
            const double apart = std::hypot(pa.x - pb.x, pa.y - pb.y);
            const double turned = 180.0 - HeadingDiffDeg(pa.heading, pb.heading);
            if (apart > options.strainMm || turned > options.strainDeg) {
                out.push_back(Finding(FindingKind::StrainedJoint, FindingSeverity::Error,
                                      {a.id, b.id}, mx, my,
                                      Format(Tr("Strained joint between %s and %s: ends %.2f mm "
                                                "apart, turned %.2f\u00b0")
                                                 .c_str(),
                                             a.article.c_str(), b.article.c_str(), apart, turned)));
            }
            // Travelling from a into b: out of a through i, into b through j.
            const double kink = std::fabs(SlopeLeaving(a, i) + SlopeLeaving(b, j));
            if (kink > kGradeKinkDeg) {
                out.push_back(Finding(
                    FindingKind::GradeKink, FindingSeverity::Warning, {a.id, b.id}, mx, my,
                    Format(Tr("Grade changes by %.1f\u00b0 between %s and %s: trains may uncouple")
                               .c_str(),
                           kink, a.article.c_str(), b.article.c_str())));
            }
        }
    }
}

void CheckGrades(const Pieces& pieces, const CheckOptions& options,
                 std::vector<LayoutFinding>& out) {
    for (const Known& k : pieces.list) {
        if (!k.def) continue;
        const double deg = std::fabs(k.piece->grade);
        const double percent = deg < 90 ? GradePercentShown(deg) : 1e9;
        const bool tooSteep = deg > kMaxGradeDeg;
        if (!tooSteep && !(percent > options.recommendedGradePercent)) continue;
        const PointMm mid = PieceMidpoint(*k.piece, *k.def);
        const std::string text =
            tooSteep
                ? Format(
                      Tr("Grade %.1f\u00b0 (%.1f %%) on %s exceeds the %.0f\u00b0 maximum").c_str(),
                      deg, percent, k.piece->article.c_str(), kMaxGradeDeg)
                : Format(Tr("Grade %.1f\u00b0 (%.1f %%) on %s is steeper than the recommended "
                            "%.1f %%")
                             .c_str(),
                         deg, percent, k.piece->article.c_str(), options.recommendedGradePercent);
        out.push_back(Finding(FindingKind::SteepGrade,
                              tooSteep ? FindingSeverity::Error : FindingSeverity::Warning,
                              {k.piece->id}, mid.x, mid.y, text));
    }
}

// ---- Tracks that meet ----

struct RouteRef {
    size_t piece;
    TrackRoute route;
};

struct Segment {
    uint32_t route;
    uint32_t k;  // from point k to point k + 1 of the route
};

// Where a stretch of one route runs close to a stretch of another.
struct Contact {
    size_t pieceA, pieceB;  // pieceA < pieceB (list order)
    uint32_t routeA, routeB;
    double a0, a1, b0, b1;  // the close stretches, as distances along the routes
    PointMm aFrom, aTo;     // the close stretch of route A
    bool crossing = false;
    PointMm at;             // the crossing, else the middle of the stretch on A
    double delta = 0;       // least height difference
    bool aLower = false;    // route A is the lower one where the difference is least
    double crossDelta = 0;  // the height difference where the centre lines cross
    bool crossALower = false;
};

PointMm Lerp(PointMm a, PointMm b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

double Cross(PointMm a, PointMm b) { return a.x * b.y - a.y * b.x; }
double Dot(PointMm a, PointMm b) { return a.x * b.x + a.y * b.y; }
PointMm Sub(PointMm a, PointMm b) { return {a.x - b.x, a.y - b.y}; }

// Parameter of the point of segment [q0, q1] nearest to p.
double NearestOn(PointMm p, PointMm q0, PointMm q1) {
    const PointMm e = Sub(q1, q0);
    const double len2 = Dot(e, e);
    return len2 > 0 ? std::clamp(Dot(Sub(p, q0), e) / len2, 0.0, 1.0) : 0.0;
}

double DistanceToSegment(PointMm p, PointMm q0, PointMm q1) {
    const PointMm n = Lerp(q0, q1, NearestOn(p, q0, q1));
    return std::hypot(p.x - n.x, p.y - n.y);
}

struct Interval {
    double lo = 1, hi = 0;
    bool Empty() const { return lo > hi; }
    void Unite(Interval o) {
        if (o.Empty()) return;
        if (Empty()) {
            *this = o;
        } else {
            lo = std::min(lo, o.lo);
            hi = std::max(hi, o.hi);
        }
    }
};

// Parameters t in [0, 1] of the points p0 + t (p1 - p0) within r of the point c.
Interval NearPoint(PointMm p0, PointMm d, PointMm c, double r) {
    const PointMm f = Sub(p0, c);
    const double a = Dot(d, d), b = 2 * Dot(f, d), cc = Dot(f, f) - r * r;
    if (a <= 0) return cc <= 0 ? Interval{0, 1} : Interval{};
    const double disc = b * b - 4 * a * cc;
    if (disc < 0) return {};
    const double s = std::sqrt(disc);
    return {(-b - s) / (2 * a), (-b + s) / (2 * a)};
}

// Parameters t in [0, 1] of the points of segment [p0, p1] within r of segment [q0, q1]: the
// line meets the round-ended band around [q0, q1] in one interval (the band is convex).
Interval CloseStretch(PointMm p0, PointMm p1, PointMm q0, PointMm q1, double r) {
    const PointMm d = Sub(p1, p0), e = Sub(q1, q0);
    Interval out = NearPoint(p0, d, q0, r);
    out.Unite(NearPoint(p0, d, q1, r));
    const double elen = std::sqrt(Dot(e, e));
    if (elen > 0) {
        // Along b between its ends: 0 <= (p - q0).e <= |e|^2 and |(p - q0) x e| <= r |e|.
        Interval side{-1e300, 1e300};
        auto limit = [&side](double v0, double dv, double lo, double hi) {
            // lo <= v0 + t dv <= hi
            if (std::fabs(dv) < 1e-15) {
                if (v0 < lo || v0 > hi) side = {};
                return;
            }
            double t0 = (lo - v0) / dv, t1 = (hi - v0) / dv;
            if (t0 > t1) std::swap(t0, t1);
            side.lo = std::max(side.lo, t0);
            side.hi = std::min(side.hi, t1);
        };
        const PointMm f = Sub(p0, q0);
        limit(Dot(f, e), Dot(d, e), 0, elen * elen);
        if (!side.Empty()) limit(Cross(f, e), Cross(d, e), -r * elen, r * elen);
        out.Unite(side);
    }
    if (out.Empty()) return out;
    return {std::max(out.lo, 0.0), std::min(out.hi, 1.0)};
}

double HeightAt(const TrackRoute& r, uint32_t k, double t) {
    return r.heights[k] + (r.heights[k + 1] - r.heights[k]) * t;
}

class MeetingSearch {
public:
    MeetingSearch(const Pieces& pieces, const CheckOptions& options)
        : pieces(pieces), options(options) {}

    void Run(std::vector<LayoutFinding>& out) {
        CollectRoutes();
        std::vector<BoxMm> boxes;
        std::vector<uint32_t> owner;  // routes of one piece never meet each other
        boxes.reserve(segments.size());
        owner.reserve(segments.size());
        for (const Segment& s : segments) {
            const RouteRef& rr = routes[s.route];
            const double w = MeetHalfWidth(*pieces.list[rr.piece].def) / 2;
            const PointMm a = rr.route.points[s.k], b = rr.route.points[s.k + 1];
            boxes.push_back({std::min(a.x, b.x) - w, std::min(a.y, b.y) - w, std::max(a.x, b.x) + w,
                             std::max(a.y, b.y) + w});
            owner.push_back(static_cast<uint32_t>(rr.piece));
        }
        // The neighbouring segments of a route always overlap: the grid drops such pairs before
        // it looks at their boxes. Joined pieces touch where they meet: about one contact a
        // segment.
        contacts.reserve(segments.size());
        ForEachOverlappingPair(
            boxes, kRouteCellMm, [this](size_t i, size_t j) { Touch(segments[i], segments[j]); },
            &owner);
        std::stable_sort(contacts.begin(), contacts.end(), [](const Contact& x, const Contact& y) {
            return std::tie(x.pieceA, x.pieceB) < std::tie(y.pieceA, y.pieceB);
        });
        for (size_t g = 0; g < contacts.size();) {
            size_t end = g;
            while (end < contacts.size() && contacts[end].pieceA == contacts[g].pieceA &&
                   contacts[end].pieceB == contacts[g].pieceB)
                ++end;
            Meetings(g, end, out);
            g = end;
        }
    }

private:
    void CollectRoutes() {
        // Most pieces have one route of a few segments: room for that up front saves copying
        // the growing arrays over and over on a large layout.
        routes.reserve(pieces.list.size());
        segments.reserve(pieces.list.size() * 8);
        for (size_t i = 0; i < pieces.list.size(); ++i) {
            const Known& k = pieces.list[i];
            if (!k.def) continue;
            for (TrackRoute& r : PieceRoutes(*k.piece, *k.def)) {
                const uint32_t id = static_cast<uint32_t>(routes.size());
                for (uint32_t s = 0; s + 1 < r.points.size(); ++s) segments.push_back({id, s});
                routes.push_back({i, std::move(r)});
            }
        }
    }

    void Touch(Segment sa, Segment sb) {
        if (routes[sa.route].piece == routes[sb.route].piece) return;
        if (routes[sa.route].piece > routes[sb.route].piece) std::swap(sa, sb);
        const RouteRef& ra = routes[sa.route];
        const RouteRef& rb = routes[sb.route];
        const double r = (MeetHalfWidth(*pieces.list[ra.piece].def) +
                          MeetHalfWidth(*pieces.list[rb.piece].def)) /
                         2;
        const PointMm p0 = ra.route.points[sa.k], p1 = ra.route.points[sa.k + 1];
        const PointMm q0 = rb.route.points[sb.k], q1 = rb.route.points[sb.k + 1];
        const Interval ia = CloseStretch(p0, p1, q0, q1, r);
        const Interval ib = CloseStretch(q0, q1, p0, p1, r);
        if (ia.Empty() || ib.Empty()) return;

        Contact c;
        c.pieceA = ra.piece;
        c.pieceB = rb.piece;
        c.routeA = sa.route;
        c.routeB = sb.route;
        const double lenA = ra.route.along[sa.k + 1] - ra.route.along[sa.k];
        const double lenB = rb.route.along[sb.k + 1] - rb.route.along[sb.k];
        c.a0 = ra.route.along[sa.k] + ia.lo * lenA;
        c.a1 = ra.route.along[sa.k] + ia.hi * lenA;
        c.b0 = rb.route.along[sb.k] + ib.lo * lenB;
        c.b1 = rb.route.along[sb.k] + ib.hi * lenB;
        c.aFrom = Lerp(p0, p1, ia.lo);
        c.aTo = Lerp(p0, p1, ia.hi);
        c.at = Lerp(p0, p1, (ia.lo + ia.hi) / 2);
        c.delta = 1e300;
        auto consider = [&](double ta, double tb) {
            const double ha = HeightAt(ra.route, sa.k, ta), hb = HeightAt(rb.route, sb.k, tb);
            if (std::fabs(ha - hb) < c.delta) {
                c.delta = std::fabs(ha - hb);
                c.aLower = ha < hb;
            }
        };
        for (double ta : {ia.lo, ia.hi}) consider(ta, NearestOn(Lerp(p0, p1, ta), q0, q1));
        for (double tb : {ib.lo, ib.hi}) consider(NearestOn(Lerp(q0, q1, tb), p0, p1), tb);

        MarkCentreLineCrossing(ra, sa, rb, sb, c);
        contacts.push_back(c);
    }

    // Where the centre lines of the two segments cross (other than where both end), the contact
    // is a crossing there, with the heights' difference at that point.
    void MarkCentreLineCrossing(const RouteRef& ra, Segment sa, const RouteRef& rb, Segment sb,
                                Contact& c) const {
        const PointMm p0 = ra.route.points[sa.k], p1 = ra.route.points[sa.k + 1];
        const PointMm q0 = rb.route.points[sb.k], q1 = rb.route.points[sb.k + 1];
        const double lenA = ra.route.along[sa.k + 1] - ra.route.along[sa.k];
        const double lenB = rb.route.along[sb.k + 1] - rb.route.along[sb.k];
        const PointMm d = Sub(p1, p0), e = Sub(q1, q0);
        const double den = Cross(d, e);
        if (!(std::fabs(den) > 1e-12)) return;
        const double t = Cross(Sub(q0, p0), e) / den;
        const double u = Cross(Sub(q0, p0), d) / den;
        if (!(t >= 0 && t <= 1 && u >= 0 && u <= 1)) return;
        const double da = ra.route.along[sa.k] + t * lenA;
        const double db = rb.route.along[sb.k] + u * lenB;
        const bool endA = da < kEndTouchMm || da > ra.route.Length() - kEndTouchMm;
        const bool endB = db < kEndTouchMm || db > rb.route.Length() - kEndTouchMm;
        if (endA && endB) return;
        const double ha = HeightAt(ra.route, sa.k, t), hb = HeightAt(rb.route, sb.k, u);
        c.crossing = true;
        c.at = Lerp(p0, p1, t);
        c.crossDelta = std::fabs(ha - hb);
        c.crossALower = ha < hb;
    }

    // Joint points between two pieces (where a's connectors are joined to b).
    std::vector<PointMm> JointsBetween(const Known& a, const Known& b) const {
        std::vector<PointMm> pts;
        const PlacedPiece& pa = *a.piece;
        const int n = std::min(static_cast<int>(pa.joints.size()),
                               static_cast<int>(a.def->connectors.size()));
        for (int i = 0; i < n; ++i) {
            if (pa.joints[i].target != b.piece->id) continue;
            const ConnectorPose pose = GetConnectorPose(pa, *a.def, i);
            pts.push_back({pose.x, pose.y});
        }
        for (size_t j = 0; j < b.piece->joints.size() && j < b.def->connectors.size(); ++j) {
            if (b.piece->joints[j].target != pa.id) continue;
            const ConnectorPose pose = GetConnectorPose(*b.piece, *b.def, static_cast<int>(j));
            pts.push_back({pose.x, pose.y});
        }
        return pts;
    }

    // One finding per meeting among the contacts [g, end) of one pair of pieces.
    void Meetings(size_t g, size_t end, std::vector<LayoutFinding>& out) {
        const size_t n = end - g;
        std::vector<size_t> parent(n);
        std::iota(parent.begin(), parent.end(), 0);
        auto root = [&](size_t i) {
            while (parent[i] != i) i = parent[i] = parent[parent[i]];
            return i;
        };
        for (size_t i = 0; i < n; ++i) {
            for (size_t j = i + 1; j < n; ++j) {
                const Contact& x = contacts[g + i];
                const Contact& y = contacts[g + j];
                const bool viaA =
                    x.routeA == y.routeA && x.a0 <= y.a1 + kTouchMm && y.a0 <= x.a1 + kTouchMm;
                const bool viaB =
                    x.routeB == y.routeB && x.b0 <= y.b1 + kTouchMm && y.b0 <= x.b1 + kTouchMm;
                if (viaA || viaB) parent[root(i)] = root(j);
            }
        }
        const Known& ka = pieces.list[contacts[g].pieceA];
        const Known& kb = pieces.list[contacts[g].pieceB];
        const std::vector<PointMm> joints = JointsBetween(ka, kb);
        const double r = (MeetHalfWidth(*ka.def) + MeetHalfWidth(*kb.def)) / 2;
        for (size_t c = 0; c < n; ++c) {
            if (root(c) != c) continue;
            std::vector<const Contact*> members;
            for (size_t i = 0; i < n; ++i) {
                if (root(i) == c) members.push_back(&contacts[g + i]);
            }
            Meeting(ka, kb, members, joints, r, out);
        }
    }

    // Longest stretch of one route covered by the members' intervals on that route.
    static double LongestCover(std::vector<std::tuple<uint32_t, double, double>> spans) {
        std::sort(spans.begin(), spans.end());
        double best = 0, lo = 0, hi = -1;
        uint32_t route = UINT32_MAX;
        double total = 0;
        for (const auto& [r, a, b] : spans) {
            if (r != route) {
                best = std::max(best, total + std::max(0.0, hi - lo));
                route = r;
                total = 0;
                lo = a;
                hi = b;
            } else if (a > hi) {
                total += hi - lo;
                lo = a;
                hi = b;
            } else {
                hi = std::max(hi, b);
            }
        }
        return std::max(best, total + std::max(0.0, hi - lo));
    }

    void Meeting(const Known& ka, const Known& kb, const std::vector<const Contact*>& members,
                 const std::vector<PointMm>& joints, double r, std::vector<LayoutFinding>& out) {
        // Pieces joined to each other touch at their joint; that is no meeting.
        for (const Contact* m : members) {
            for (PointMm j : joints) {
                if (DistanceToSegment(j, m->aFrom, m->aTo) <= r + kTouchMm) return;
            }
        }
        const Contact* least = members.front();
        const Contact* crossing = nullptr;
        std::vector<std::tuple<uint32_t, double, double>> spansA, spansB;
        double sx = 0, sy = 0, weight = 0;
        for (const Contact* m : members) {
            if (m->delta < least->delta) least = m;
            if (m->crossing && (!crossing || m->crossDelta < crossing->crossDelta)) crossing = m;
            spansA.emplace_back(m->routeA, m->a0, m->a1);
            spansB.emplace_back(m->routeB, m->b0, m->b1);
            const double w = std::max(m->a1 - m->a0, 1e-6);
            sx += m->at.x * w;
            sy += m->at.y * w;
            weight += w;
        }
        if (!crossing &&
            (LongestCover(spansA) < kMeetLengthMm || LongestCover(spansB) < kMeetLengthMm))
            return;
        const PointMm at = crossing ? crossing->at : PointMm{sx / weight, sy / weight};
        // Where the centre lines cross, the difference there; along a shared stretch the least.
        const double delta = crossing ? crossing->crossDelta : least->delta;
        const bool aLower = crossing ? crossing->crossALower : least->aLower;
        const Known& lower = aLower ? ka : kb;
        const Known& upper = aLower ? kb : ka;
        const double needed = ClearanceFor(*lower.def, options);
        const std::vector<uint32_t> ids{ka.piece->id, kb.piece->id};
        if (delta < kOneDeckMm) {
            out.push_back(Finding(
                FindingKind::Collision, FindingSeverity::Error, ids, at.x, at.y,
                Format(
                    Tr("%s and %s run through each other on one deck (height difference %.1f mm)")
                        .c_str(),
                    ka.piece->article.c_str(), kb.piece->article.c_str(), delta)));
        } else if (delta < needed) {
            out.push_back(Finding(
                FindingKind::LowClearance, FindingSeverity::Error, ids, at.x, at.y,
                Format(Tr("Clearance of %.1f mm under %s where %s passes; %.1f mm needed").c_str(),
                       delta, upper.piece->article.c_str(), lower.piece->article.c_str(), needed)));
        }
    }

    const Pieces& pieces;
    const CheckOptions& options;
    std::vector<RouteRef> routes;
    std::vector<Segment> segments;
    std::vector<Contact> contacts;
};

}  // namespace

std::vector<LayoutFinding> CheckLayout(const LayoutDocument& doc, const CheckOptions& options) {
    const Pieces pieces(doc);
    std::vector<LayoutFinding> out;
    for (const Known& k : pieces.list) {
        if (k.def) continue;
        out.push_back(Finding(
            FindingKind::UnknownArticle, FindingSeverity::Warning, {k.piece->id}, k.piece->x,
            k.piece->y,
            Format(Tr("Article %s is not in the catalog").c_str(), k.piece->article.c_str())));
    }
    CheckEnds(doc, pieces, out);
    CheckJoints(pieces, options, out);
    CheckGrades(pieces, options, out);
    MeetingSearch(pieces, options).Run(out);
    CheckPieceRules(doc, options, out);
    CheckAddresses(doc, out);
    if (NeedsTrackWalks(doc, options)) CheckTrackWalks(doc, BuildTrackGraph(doc), options, out);
    // A position that is not a number (a piece read from a damaged file) sorts last, so the
    // order stays total.
    auto key = [](double v) { return std::isnan(v) ? HUGE_VAL : v; };
    std::sort(out.begin(), out.end(), [&key](const LayoutFinding& a, const LayoutFinding& b) {
        const double ax = key(a.x), ay = key(a.y), bx = key(b.x), by = key(b.y);
        return std::tie(a.severity, a.kind, ax, ay, a.pieces, a.text) <
               std::tie(b.severity, b.kind, bx, by, b.pieces, b.text);
    });
    return out;
}

double ProposedMinStraightMm(const LayoutDocument& doc) {
    // The largest scale on the layout has the longest vehicles: H0 unless it is all Z.
    int scale = 0;
    for (const PlacedPiece& p : doc.pieces) {
        const PieceDef* def = TrackCatalog::Instance().Find(p.article);
        if (!def) continue;
        const int s = IsZ(def->system) ? 220 : IsNGauge(def->system) ? 160 : 87;
        scale = scale == 0 ? s : std::min(scale, s);
    }
    return kLongestPresetVehicleM * 1000 / (scale == 0 ? 87 : scale);
}

std::string FindingKindName(FindingKind kind) {
    switch (kind) {
        case FindingKind::OpenEnd:
            return Tr("Open end");
        case FindingKind::NearMiss:
            return Tr("Near miss");
        case FindingKind::StrainedJoint:
            return Tr("Strained joint");
        case FindingKind::Collision:
            return Tr("Collision");
        case FindingKind::LowClearance:
            return Tr("Low clearance");
        case FindingKind::SteepGrade:
            return Tr("Steep grade");
        case FindingKind::GradeKink:
            return Tr("Grade kink");
        case FindingKind::UnknownArticle:
            return Tr("Unknown article");
        case FindingKind::SBend:
            return Tr("S-bend");
        case FindingKind::TightRadius:
            return Tr("Tight radius");
        case FindingKind::ReversingLoop:
            return Tr("Reversing loop");
        case FindingKind::SidingTooShort:
            return Tr("Siding too short");
        case FindingKind::TurnoutOnGrade:
            return Tr("Turnout on a grade");
        case FindingKind::DuplicateAddress:
            return Tr("Duplicate address");
        case FindingKind::AddressOutOfRange:
            return Tr("Address out of range");
        case FindingKind::NoAddress:
            return Tr("No address");
    }
    return Tr("Unknown");
}

std::string FindingSeverityName(FindingSeverity severity) {
    return severity == FindingSeverity::Error ? Tr("Error") : Tr("Warning");
}

int CountFindings(const std::vector<LayoutFinding>& findings, FindingSeverity severity) {
    return static_cast<int>(
        std::count_if(findings.begin(), findings.end(),
                      [&](const LayoutFinding& f) { return f.severity == severity; }));
}

std::string LayoutCheckTitle(const std::vector<LayoutFinding>& findings) {
    if (findings.empty()) return Tr("Layout Check - no findings");
    if (findings.size() == 1) return Tr("Layout Check - 1 finding");
    return Format(Tr("Layout Check - %zu findings").c_str(), findings.size());
}

bool SelectFindingPieces(LayoutDocument& doc, const LayoutFinding& finding) {
    bool any = false;
    auto named = [&](const PlacedPiece& p) {
        return std::find(finding.pieces.begin(), finding.pieces.end(), p.id) !=
               finding.pieces.end();
    };
    doc.pieces.ForEachWhere([&](const PlacedPiece& p) { return p.selected != named(p); },
                            [&](PlacedPiece& p) { p.selected = !p.selected; });
    for (const PlacedPiece& p : std::as_const(doc.pieces)) any = any || p.selected;
    for (SceneryItem& s : doc.scenery) s.selected = false;
    for (Label& l : doc.labels) l.selected = false;
    for (Measurement& m : doc.measurements) m.selected = false;
    return any;
}

FindingBox FindingExtent(const LayoutDocument& doc, const LayoutFinding& finding,
                         double minSpanMm) {
    // Centred on the finding: as far out as its pieces' ends reach, at least half the span.
    double reach = minSpanMm / 2;
    for (uint32_t id : finding.pieces) {
        const PlacedPiece* p = doc.FindPiece(id);
        const PieceDef* def = p ? TrackCatalog::Instance().Find(p->article) : nullptr;
        if (!def) continue;
        for (const ConnectorPose& c : ConnectorPoses(*p, *def)) {
            reach = std::max(reach, std::hypot(c.x - finding.x, c.y - finding.y));
        }
    }
    return {finding.x - reach, finding.y - reach, finding.x + reach, finding.y + reach};
}

PixelRect UncoveredPart(const PixelRect& area, const PixelRect& cover) {
    const int left = std::max(area.x, cover.x), right = std::min(area.x + area.width,
                                                                 cover.x + cover.width);
    const int top = std::max(area.y, cover.y), bottom = std::min(area.y + area.height,
                                                                 cover.y + cover.height);
    if (left >= right || top >= bottom) return area;
    const PixelRect sides[] = {
        {area.x, area.y, left - area.x, area.height},
        {right, area.y, area.x + area.width - right, area.height},
        {area.x, area.y, area.width, top - area.y},
        {area.x, bottom, area.width, area.y + area.height - bottom},
    };
    PixelRect best{area.x, area.y, 0, 0};
    for (const PixelRect& r : sides) {
        if (static_cast<long>(r.width) * r.height > static_cast<long>(best.width) * best.height)
            best = r;
    }
    return best;
}
