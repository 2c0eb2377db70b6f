// Triangle meshes of the 3D view as four parallel arrays, and the solids they are built from.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Colour3 {
    float r = 0;
    float g = 0;
    float b = 0;
    bool operator==(const Colour3&) const = default;
};

struct Vec3 {
    double x = 0;
    double y = 0;
    double z = 0;
};

// Positions (x, y, z), normals (x, y, z) and colours (r, g, b) per vertex; three indices per
// triangle. Drawn as one indexed triangle list.
struct Mesh {
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> colours;
    std::vector<uint32_t> indices;

    bool operator==(const Mesh&) const = default;
    bool Empty() const { return indices.empty(); }
    size_t VertexCount() const { return positions.size() / 3; }
    size_t TriangleCount() const { return indices.size() / 3; }
    void Clear();
    // Room for this many vertices and indices in all, so that adding them copies nothing.
    void Reserve(size_t vertices, size_t indexCount);
    // Appends a vertex and returns its index.
    uint32_t AddVertex(Vec3 p, Vec3 n, Colour3 c);
    void AddTriangle(uint32_t a, uint32_t b, uint32_t c);
    // Appends another mesh, offsetting its indices.
    void Append(const Mesh& other);
};

// A flat quad a-b-c-d (in order around its edge) with one normal and colour.
void AddQuad(Mesh& m, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 normal, Colour3 colour);
// A quad whose normal is taken from its corners (counter-clockwise seen from the front).
void AddFacingQuad(Mesh& m, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Colour3 colour);

// An axis-aligned box from (x0, y0, z0) to (x1, y1, z1): top in `top`, bottom in `bottom`, the
// four sides in `side`.
void AddBox(Mesh& m, Vec3 lo, Vec3 hi, Colour3 top, Colour3 side, Colour3 bottom);
inline void AddBox(Mesh& m, Vec3 lo, Vec3 hi, Colour3 top, Colour3 side) {
    AddBox(m, lo, hi, top, side, side);
}
// A box of the given size centred at (cx, cy) in x-y, turned by angleRad about z, from z0 to z1.
void AddTurnedBox(Mesh& m, double cx, double cy, double angleRad, double sizeX, double sizeY,
                  double z0, double z1, Colour3 top, Colour3 side);
// A beam of square section `thickness` from a to b (any direction).
void AddBeam(Mesh& m, Vec3 a, Vec3 b, double thickness, Colour3 colour);
// A convex polygon in x-y (counter-clockwise) extruded from z0 to z1.
void AddPrism(Mesh& m, const std::vector<Vec3>& outline, double z0, double z1, Colour3 top,
              Colour3 side, Colour3 bottom);
// An upright cylinder of `sides` sides around (cx, cy) from z0 to z1.
void AddCylinder(Mesh& m, double cx, double cy, double radius, double z0, double z1, int sides,
                 Colour3 top, Colour3 side);
// An upright cone (or frustum when topRadius > 0) around (cx, cy) from z0 to z1.
void AddCone(Mesh& m, double cx, double cy, double radius, double topRadius, double z0, double z1,
             int sides, Colour3 colour);
// An ellipsoid with radii (rx, ry, rz) around centre, in `rings` by `sides` facets.
void AddEllipsoid(Mesh& m, Vec3 centre, double rx, double ry, double rz, int rings, int sides,
                  Colour3 colour);
// A gable roof over the rectangle x0..x1 by y0..y1 from eaves z0 to ridge z1; the ridge runs
// along x when ridgeAlongX, else along y.
void AddGableRoof(Mesh& m, double x0, double y0, double x1, double y1, double z0, double z1,
                  bool ridgeAlongX, Colour3 roof, Colour3 gable);

// Negates every y (positions and normals) and reverses the triangles' winding: turns a model
// built in layout axes (y down) into world axes (y up).
void MirrorY(Mesh& m);
