// Mesh arrays and the solid primitives every 3D model is made of.
#include "view3d/Mesh.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace {

Vec3 Sub(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 Cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
Vec3 Unit(Vec3 v) {
    const double len = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    if (len < 1e-12) return {0, 0, 1};
    return {v.x / len, v.y / len, v.z / len};
}

}  // namespace

void Mesh::Clear() {
    positions.clear();
    normals.clear();
    colours.clear();
    indices.clear();
}

// An element at a time: push_back stays inline, where inserting a list calls out to a general
// range insert for every vertex.
uint32_t Mesh::AddVertex(Vec3 p, Vec3 n, Colour3 c) {
    const auto index = static_cast<uint32_t>(VertexCount());
    for (double v : {p.x, p.y, p.z}) positions.push_back(static_cast<float>(v));
    for (double v : {n.x, n.y, n.z}) normals.push_back(static_cast<float>(v));
    for (float v : {c.r, c.g, c.b}) colours.push_back(v);
    return index;
}

void Mesh::AddTriangle(uint32_t a, uint32_t b, uint32_t c) {
    for (uint32_t i : {a, b, c}) indices.push_back(i);
}

void Mesh::Reserve(size_t vertices, size_t indexCount) {
    positions.reserve(3 * vertices);
    normals.reserve(3 * vertices);
    colours.reserve(3 * vertices);
    indices.reserve(indexCount);
}

void Mesh::Append(const Mesh& other) {
    const auto offset = static_cast<uint32_t>(VertexCount());
    positions.insert(positions.end(), other.positions.begin(), other.positions.end());
    normals.insert(normals.end(), other.normals.begin(), other.normals.end());
    colours.insert(colours.end(), other.colours.begin(), other.colours.end());
    for (uint32_t i : other.indices) indices.push_back(i + offset);
}

void AddQuad(Mesh& m, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Vec3 normal, Colour3 colour) {
    const uint32_t i0 = m.AddVertex(a, normal, colour);
    const uint32_t i1 = m.AddVertex(b, normal, colour);
    const uint32_t i2 = m.AddVertex(c, normal, colour);
    const uint32_t i3 = m.AddVertex(d, normal, colour);
    m.AddTriangle(i0, i1, i2);
    m.AddTriangle(i0, i2, i3);
}

void AddFacingQuad(Mesh& m, Vec3 a, Vec3 b, Vec3 c, Vec3 d, Colour3 colour) {
    Vec3 n = Cross(Sub(b, a), Sub(c, a));
    if (std::abs(n.x) + std::abs(n.y) + std::abs(n.z) < 1e-12) n = Cross(Sub(c, a), Sub(d, a));
    AddQuad(m, a, b, c, d, Unit(n), colour);
}

void AddBox(Mesh& m, Vec3 lo, Vec3 hi, Colour3 top, Colour3 side, Colour3 bottom) {
    const double x0 = lo.x, y0 = lo.y, z0 = lo.z, x1 = hi.x, y1 = hi.y, z1 = hi.z;
    AddQuad(m, {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}, {0, 0, 1}, top);
    AddQuad(m, {x0, y0, z0}, {x0, y1, z0}, {x1, y1, z0}, {x1, y0, z0}, {0, 0, -1}, bottom);
    AddQuad(m, {x0, y0, z0}, {x1, y0, z0}, {x1, y0, z1}, {x0, y0, z1}, {0, -1, 0}, side);
    AddQuad(m, {x1, y1, z0}, {x0, y1, z0}, {x0, y1, z1}, {x1, y1, z1}, {0, 1, 0}, side);
    AddQuad(m, {x0, y1, z0}, {x0, y0, z0}, {x0, y0, z1}, {x0, y1, z1}, {-1, 0, 0}, side);
    AddQuad(m, {x1, y0, z0}, {x1, y1, z0}, {x1, y1, z1}, {x1, y0, z1}, {1, 0, 0}, side);
}

void AddTurnedBox(Mesh& m, double cx, double cy, double angleRad, double sizeX, double sizeY,
                  double z0, double z1, Colour3 top, Colour3 side) {
    const double c = std::cos(angleRad), s = std::sin(angleRad);
    const double hx = sizeX / 2, hy = sizeY / 2;
    std::vector<Vec3> outline;
    for (auto [lx, ly] : {std::pair{-hx, -hy}, {hx, -hy}, {hx, hy}, {-hx, hy}})
        outline.push_back({cx + lx * c - ly * s, cy + lx * s + ly * c, 0});
    AddPrism(m, outline, z0, z1, top, side, side);
}

void AddBeam(Mesh& m, Vec3 a, Vec3 b, double thickness, Colour3 colour) {
    const Vec3 axis = Unit(Sub(b, a));
    // Any direction not parallel to the axis gives the first side of the section.
    const Vec3 helper = std::abs(axis.z) < 0.9 ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
    const Vec3 u = Unit(Cross(axis, helper));
    const Vec3 v = Cross(axis, u);
    const double h = thickness / 2;
    Vec3 corner[4];
    const double su[4] = {-h, h, h, -h}, sv[4] = {-h, -h, h, h};
    for (int k = 0; k < 4; ++k)
        corner[k] = {u.x * su[k] + v.x * sv[k], u.y * su[k] + v.y * sv[k],
                     u.z * su[k] + v.z * sv[k]};
    for (int k = 0; k < 4; ++k) {
        const Vec3 c0 = corner[k], c1 = corner[(k + 1) % 4];
        const Vec3 n = Unit({c0.x + c1.x, c0.y + c1.y, c0.z + c1.z});
        AddQuad(m, {a.x + c0.x, a.y + c0.y, a.z + c0.z}, {a.x + c1.x, a.y + c1.y, a.z + c1.z},
                {b.x + c1.x, b.y + c1.y, b.z + c1.z}, {b.x + c0.x, b.y + c0.y, b.z + c0.z}, n,
                colour);
    }
}

void AddPrism(Mesh& m, const std::vector<Vec3>& outline, double z0, double z1, Colour3 top,
              Colour3 side, Colour3 bottom) {
    const size_t n = outline.size();
    if (n < 3) return;
    const uint32_t topStart = static_cast<uint32_t>(m.VertexCount());
    for (const Vec3& p : outline) m.AddVertex({p.x, p.y, z1}, {0, 0, 1}, top);
    for (size_t i = 1; i + 1 < n; ++i)
        m.AddTriangle(topStart, topStart + static_cast<uint32_t>(i),
                      topStart + static_cast<uint32_t>(i + 1));
    const uint32_t bottomStart = static_cast<uint32_t>(m.VertexCount());
    for (const Vec3& p : outline) m.AddVertex({p.x, p.y, z0}, {0, 0, -1}, bottom);
    for (size_t i = 1; i + 1 < n; ++i)
        m.AddTriangle(bottomStart, bottomStart + static_cast<uint32_t>(i + 1),
                      bottomStart + static_cast<uint32_t>(i));
    for (size_t i = 0; i < n; ++i) {
        const Vec3 a = outline[i], b = outline[(i + 1) % n];
        const Vec3 normal = Unit({b.y - a.y, a.x - b.x, 0});
        AddQuad(m, {a.x, a.y, z0}, {b.x, b.y, z0}, {b.x, b.y, z1}, {a.x, a.y, z1}, normal, side);
    }
}

void AddCylinder(Mesh& m, double cx, double cy, double radius, double z0, double z1, int sides,
                 Colour3 top, Colour3 side) {
    std::vector<Vec3> outline;
    for (int i = 0; i < sides; ++i) {
        const double a = 2 * std::numbers::pi * i / sides;
        outline.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a), 0});
    }
    AddPrism(m, outline, z0, z1, top, side, side);
}

void AddCone(Mesh& m, double cx, double cy, double radius, double topRadius, double z0, double z1,
             int sides, Colour3 colour) {
    const double h = z1 - z0;
    const double slope = (radius - topRadius) / std::max(h, 1e-9);
    for (int i = 0; i < sides; ++i) {
        const double a0 = 2 * std::numbers::pi * i / sides;
        const double a1 = 2 * std::numbers::pi * (i + 1) / sides;
        const double am = (a0 + a1) / 2;
        const Vec3 n = Unit({std::cos(am), std::sin(am), slope});
        const Vec3 b0{cx + radius * std::cos(a0), cy + radius * std::sin(a0), z0};
        const Vec3 b1{cx + radius * std::cos(a1), cy + radius * std::sin(a1), z0};
        const Vec3 t0{cx + topRadius * std::cos(a0), cy + topRadius * std::sin(a0), z1};
        const Vec3 t1{cx + topRadius * std::cos(a1), cy + topRadius * std::sin(a1), z1};
        AddQuad(m, b0, b1, t1, t0, n, colour);
    }
    // The underside, seen when the cone stands on a higher base.
    std::vector<Vec3> base;
    for (int i = sides - 1; i >= 0; --i) {
        const double a = 2 * std::numbers::pi * i / sides;
        base.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a), z0});
    }
    const uint32_t start = static_cast<uint32_t>(m.VertexCount());
    for (const Vec3& p : base) m.AddVertex(p, {0, 0, -1}, colour);
    for (int i = 1; i + 1 < sides; ++i)
        m.AddTriangle(start, start + static_cast<uint32_t>(i),
                      start + static_cast<uint32_t>(i + 1));
}

void AddEllipsoid(Mesh& m, Vec3 centre, double rx, double ry, double rz, int rings, int sides,
                  Colour3 colour) {
    const uint32_t start = static_cast<uint32_t>(m.VertexCount());
    for (int r = 0; r <= rings; ++r) {
        const double phi = std::numbers::pi * r / rings - std::numbers::pi / 2;
        for (int s = 0; s <= sides; ++s) {
            const double theta = 2 * std::numbers::pi * s / sides;
            const double ux = std::cos(phi) * std::cos(theta);
            const double uy = std::cos(phi) * std::sin(theta);
            const double uz = std::sin(phi);
            // The normal of an ellipsoid scales the sphere's by the inverse radii.
            const Vec3 n = Unit({ux / rx, uy / ry, uz / rz});
            m.AddVertex({centre.x + rx * ux, centre.y + ry * uy, centre.z + rz * uz}, n, colour);
        }
    }
    const uint32_t row = static_cast<uint32_t>(sides + 1);
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < sides; ++s) {
            const uint32_t a = start + r * row + s;
            m.AddTriangle(a, a + 1, a + row + 1);
            m.AddTriangle(a, a + row + 1, a + row);
        }
    }
}

void AddGableRoof(Mesh& m, double x0, double y0, double x1, double y1, double z0, double z1,
                  bool ridgeAlongX, Colour3 roof, Colour3 gable) {
    if (ridgeAlongX) {
        const double ym = (y0 + y1) / 2;
        AddFacingQuad(m, {x0, y0, z0}, {x1, y0, z0}, {x1, ym, z1}, {x0, ym, z1}, roof);
        AddFacingQuad(m, {x1, y1, z0}, {x0, y1, z0}, {x0, ym, z1}, {x1, ym, z1}, roof);
        AddFacingQuad(m, {x0, y1, z0}, {x0, y0, z0}, {x0, ym, z1}, {x0, ym, z1}, gable);
        AddFacingQuad(m, {x1, y0, z0}, {x1, y1, z0}, {x1, ym, z1}, {x1, ym, z1}, gable);
    } else {
        const double xm = (x0 + x1) / 2;
        AddFacingQuad(m, {x1, y0, z0}, {x1, y1, z0}, {xm, y1, z1}, {xm, y0, z1}, roof);
        AddFacingQuad(m, {x0, y1, z0}, {x0, y0, z0}, {xm, y0, z1}, {xm, y1, z1}, roof);
        AddFacingQuad(m, {x0, y0, z0}, {x1, y0, z0}, {xm, y0, z1}, {xm, y0, z1}, gable);
        AddFacingQuad(m, {x1, y1, z0}, {x0, y1, z0}, {xm, y1, z1}, {xm, y1, z1}, gable);
    }
}

void MirrorY(Mesh& m) {
    for (size_t i = 1; i < m.positions.size(); i += 3) {
        m.positions[i] = -m.positions[i];
        m.normals[i] = -m.normals[i];
    }
    for (size_t i = 0; i + 2 < m.indices.size(); i += 3)
        std::swap(m.indices[i + 1], m.indices[i + 2]);
}
