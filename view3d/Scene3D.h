// The 3D scene of a layout: cached meshes, the instances that place them, piers, helices, the
// baseboard and the tunnels, with the extent the camera fits to. Built without a window.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "model/LayoutDocument.h"
#include "view3d/ChunkedMesh.h"
#include "view3d/Mesh.h"

// World axes: X = layout x, Y = minus layout y, Z = height above the baseboard; millimetres.
struct TrackInstance {
    std::string article;
    float x = 0;  // world position of the piece's start
    float y = 0;
    float z = 0;            // the piece's height
    float rotationDeg = 0;  // about Z: minus the layout heading
    float tiltDeg = 0;      // the grade: rises along the piece's forward axis when positive
    float length = 0;       // catalog length
    bool operator==(const TrackInstance&) const = default;
};

struct SceneryInstance {
    std::string item;
    float x = 0;  // world position of the footprint's centre
    float y = 0;
    float z = 0;  // height of the item's level
    float rotationDeg = 0;
    float halfWidth = 0;
    float halfDepth = 0;
    float scaleX = 1;
    float scaleY = 1;
};

// Extent in world X and Y of the placed track and scenery.
struct SceneBounds {
    double minX = 1e9;
    double minY = 1e9;
    double maxX = -1e9;
    double maxY = -1e9;
    bool any = false;
    void Add(double x, double y);
};

// Meshes of the track instances, in instance order, placed in world axes and appended:
// instance i owns the indices first[i] to first[i + 1].
using InstanceBatch = ChunkedMesh;

// A pier under a track point (layout axes), turned to the piece's heading.
struct PierSpot {
    double x = 0;
    double y = 0;
    double headingDeg = 0;
    double baseZ = 0;
    double topZ = 0;
    bool operator==(const PierSpot&) const = default;
};

// The piers a piece wants, and which of them are made: one within 2 mm of a pier made before it
// is not. Each wanted pier keeps its vertices in the piers mesh, a pier not made with its
// triangles folded to a point, so that an edit that moves piers but does not change how many a
// piece wants rewrites the mesh in place.
struct PierSource {
    std::vector<PierSpot> wanted;
    std::vector<char> made;
    bool operator==(const PierSource&) const = default;
};

// What the scene keeps of each piece between rebuilds, so that an edit redoes only the pieces it
// changed: the fields the piece's track and supports depend on, and what they gave.
struct PieceMemo {
    PlacedPiece piece;  // without its joints beyond connector 0's target
    bool drawn = false;
    bool bridge = false;
    bool joinedToBridge = false;  // at connector 0: a bridge then has no pier of its own there
    TrackInstance instance;
    PierSource piers;
    bool piersStale = false;  // its chunk of the piers mesh is to be made again
};

struct SceneMemo {
    bool valid = false;
    std::vector<Level> levels;
    std::vector<PieceMemo> pieces;  // in document order
    std::unordered_map<uint32_t, size_t> indexOfId;
    std::vector<PointMm> helixColumnPoints;
    Mesh helixColumns;
    Mesh deckLegs;
    std::vector<Tunnel> tunnels;
    std::vector<Helix> helices;
    std::vector<PointMm> baseboard;
};

// Which of the whole meshes the last rebuilds replaced, for the window to copy again; the
// chunked meshes record their own changes. The window clears them once it has copied.
struct SceneChanges {
    bool baseboard = true;
    bool decks = true;
    bool tunnels = true;
};

struct Scene3D {
    // Meshes by article: an article's mesh never changes, so they are kept from rebuild to rebuild.
    std::unordered_map<std::string, Mesh> pieceMeshes;
    // The same articles with less detail for track far from the camera (TrackDetail).
    std::unordered_map<std::string, Mesh> distantPieceMeshes;
    std::unordered_map<std::string, Mesh> farPieceMeshes;
    // Bridges drawn distant but smaller than their struts need (BuildSmallBridgeMesh).
    std::unordered_map<std::string, Mesh> smallBridgeMeshes;
    // The far mesh of every track instance placed in world axes, so that a run of far instances
    // is one draw. (The distant meshes are batched by the window, only for the instances a frame
    // draws distant with AppendPlaced: a batch of every instance's costs more than it saves.)
    InstanceBatch farBatch;
    std::vector<TrackInstance> tracks;
    std::unordered_map<std::string, Mesh> sceneryModels;  // by scenery item id
    std::vector<SceneryInstance> scenery;
    // Helix support columns (chunk 0), then each piece's bridge piers and risers (chunk 1 + its
    // index), then the deck legs (the last chunk).
    ChunkedMesh piers;
    // The same piers of each piece (chunk i: piece i) as plain boxes, for a piece drawn far away.
    ChunkedMesh farPiers;
    // The far batch and the far piers are made by MakeFarMeshes, when something is first drawn
    // far away, so that opening the view does not wait for them; once made, every rebuild keeps
    // them up to date.
    bool farMade = false;
    // For each track instance the piece whose piers stand under it (its chunk of farPiers, and of
    // piers after the helix columns); kNoPiers for helix curves.
    static constexpr uint32_t kNoPiers = 0xFFFFFFFFu;
    std::vector<uint32_t> pierChunkOfTrack;
    Mesh baseboard;
    Mesh decks;  // the boards of the levels that have an outline
    Mesh tunnels;
    SceneBounds bounds;
    SceneChanges changes;
    SceneMemo memo;
};

// Colours of the generated parts.
inline constexpr Colour3 kPierSide{0.62f, 0.58f, 0.54f};
inline constexpr Colour3 kPierBottom{0.50f, 0.46f, 0.42f};
inline constexpr Colour3 kPierTop{0.68f, 0.65f, 0.62f};
inline constexpr Colour3 kHelixColumn{0.46f, 0.47f, 0.50f};
inline constexpr Colour3 kBaseboardColour{0.36f, 0.50f, 0.30f};
// Heights that keep surfaces apart in the depth buffer: the ground grid and its axes lie under
// the baseboard, the baseboard under the track bed (whose underside is at 0).
inline constexpr double kGridZ = -3.0;
inline constexpr double kAxesZ = -2.8;
inline constexpr double kBaseboardZ = -0.5;
inline constexpr double kMinPierHeight = 2.0;  // also the distance within which piers merge

// Brings the scene up to date with the document: track, helices, bridge piers and risers,
// scenery, baseboard, decks on their legs, tunnels. Pieces and items on hidden levels or unknown to
// the catalogs are left out. Only what the pieces changed since the last rebuild is made again;
// the result is the same as building a fresh scene.
void RebuildScene(Scene3D& scene, const LayoutDocument& doc);

// Makes the far batch and the far piers of the scene as it stands, unless they are made.
void MakeFarMeshes(Scene3D& scene);

// True when a piece stands more than 2 mm above its level's height and not all its ends rest on
// a deck: it needs risers under the ends that do not. False for an article not in the catalog.
bool IsRaised(const LayoutDocument& doc, const PlacedPiece& piece);

// Appends a pier of stadium section under a track point (world x, y), its long axis across the
// layout heading headingDeg, from baseZ to topZ. False (nothing added) when under 2 mm high.
bool AddPier(Mesh& m, double x, double y, double headingDeg, double baseZ, double topZ);

// The point of a track mesh (in the piece's own frame) placed by an instance, in world axes.
Vec3 PlaceOnInstance(const TrackInstance& t, Vec3 local);
// Appends a mesh in the piece's own frame to `batch`, placed by the instance in world axes as
// PlaceOnInstance places its points (normals turned, not moved), its indices moved past the
// vertices the batch held. The mirror in the placing turns the triangles' winding over.
void AppendPlaced(Mesh& batch, const Mesh& local, const TrackInstance& t);

// The helix curve instances of one helix record (both tracks), as drawn; empty when its variant
// and the default one are unknown or its curves are not in the catalog.
std::vector<TrackInstance> HelixInstances(const LayoutDocument& doc, const struct Helix& helix);

// Height offset of a scenery model when drawn: -4 mm for "bridge_truss", else -1 mm.
double SceneryDrawOffset(const std::string& item);
