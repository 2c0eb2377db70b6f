// Track piece definitions, the process-wide catalog of them and the connector pose routine.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <deque>
#include <initializer_list>
#include <unordered_map>
#include <vector>

#include "base/Geometry.h"

// Track systems. Stored as a 32-bit integer in files; values outside the list are "Unknown".
enum class TrackSystem : int32_t {
    MarklinC = 0,
    MarklinK = 1,
    MarklinZ = 2,
    TrixC = 3,
    RokuhanZ = 4,
    MinitrixN = 5,
    KatoN = 6,
};

// Kinds of piece; 7 and 9 are unused by the built-in tables.
enum class PieceKind : int32_t {
    Straight = 0,        // also uncoupler, adapter, bridges and straight ramps
    Curve = 1,           // also curved ramps
    LeftTurnout = 2,     // also the three-way turnout
    RightTurnout = 3,
    CurvedTurnout = 4,   // C-Track, left or right
    DoubleSlip = 5,
    Bumper = 6,
    Crossing = 8,
    Turntable = 10,
    CurvedTurnoutK = 11, // K-Track and Z systems
};

// Short name shown in the properties panel ("Märklin C", ..., "Unknown").
// Two-rail track (TRIX C, Z and N) carries the current in its two rails with opposite polarity;
// three-rail track (Marklin C and K) in its outer rails and centre studs.
bool IsTwoRail(TrackSystem system);
std::string TrackSystemShortName(TrackSystem system);
// Palette and message name ("Marklin C-Track", ..., "Unknown"), in English as files keep it;
// pass it through Tr where a person reads it.
std::string TrackSystemLongName(TrackSystem system);
// Library block folder key ("Marklin_C-Track", ...); systems without a fixed key get their
// long name with blanks replaced by "_".
std::string TrackSystemFolderKey(TrackSystem system);

// One end of a piece in the piece's local frame: connector 0 at the origin, heading 180.
struct Connector {
    double x = 0;
    double y = 0;
    double heading = 0;  // outward direction, degrees
    uint32_t number = 0; // equals the position in the piece's connector list
};

struct PieceDef {
    std::string article;  // catalog key, e.g. "24188"
    std::string name;     // display text, begins with the article
    TrackSystem system = TrackSystem::MarklinC;
    PieceKind kind = PieceKind::Straight;
    double length = 0;  // mm
    double radius = 0;  // mm
    double angle = 0;   // degrees; negative for left pieces built by the turnout rule
    std::vector<Connector> connectors;
    bool isBridge = false;
    bool placeAsPair = false;
    bool isRamp = false;
    bool isFlex = false;  // flexible track: cut to length on the layout, never a fixed piece
    std::vector<TrackSystem> connectorSystems;  // per-connector systems (adapters); usually empty

    // System of connector i: entry i of connectorSystems when present, else `system`.
    TrackSystem ConnectorSystem(int i) const;
};

// Piece builders used by the built-in tables.
PieceDef MakeStraight(TrackSystem system, std::string article, std::string name, double length);
PieceDef MakeCurve(TrackSystem system, std::string article, std::string name, double radius,
                   double angleDeg);
PieceDef MakeBumper(TrackSystem system, std::string article, std::string name, double length);
PieceDef MakeTurnoutByRule(TrackSystem system, std::string article, std::string name,
                           PieceKind kind, double length, double radius, double angleDeg);
// An explicit record with its connectors written out as (x, y, heading) in number order.
struct ConnectorSpec {
    double x, y, heading;
};
PieceDef MakeExplicit(TrackSystem system, std::string article, std::string name, PieceKind kind,
                      double length, double radius, double angleDeg,
                      std::initializer_list<ConnectorSpec> connectors);

// The process-wide registry of piece definitions, filled from the built-in tables on first use.
class TrackCatalog {
public:
    static TrackCatalog& Instance();

    int Count() const { return static_cast<int>(pieces.size()); }
    // Exact, case-sensitive match on the whole article; null when absent.
    const PieceDef* Find(std::string_view article) const;
    // Null when index is negative or not below Count().
    const PieceDef* At(int index) const;
    // Appends a record; a repeated article maps to the later record.
    void Add(PieceDef def);

    std::deque<PieceDef> pieces;  // a deque keeps pointers valid as records are added
    std::unordered_map<std::string, int> byArticle;
    bool filled = false;

private:
    TrackCatalog() = default;
    void FillBuiltInTables();  // the built-in tables, in table order
};

struct ConnectorPose {
    double x = 0;
    double y = 0;
    double heading = 0;  // world degrees in [0, 360)
    bool open = true;
    int32_t number = -1;  // -1 when the request was invalid
};

struct PlacedPiece;

// World pose of connector `connector` of a placed piece whose definition is `def`.
ConnectorPose GetConnectorPose(const PlacedPiece& piece, const PieceDef& def, int connector);
