// Vehicle meshes and their placing on the track.
#include "view3d/TrainModels.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <tuple>

#include "view3d/TrainScene.h"

namespace {

Colour3 Darker(Colour3 c, float f) { return {c.r * f, c.g * f, c.b * f}; }

}  // namespace

Mesh BuildVehicleMesh(const VehicleLook& look) {
    Mesh m;
    const double l = look.lengthMm, w = look.widthMm, h = look.heightMm;
    const double halfL = l / 2, halfW = w / 2;
    // Bogies fill the space under the body; the body starts a quarter of the height up and the
    // roof takes its top eighth.
    const double bogieTop = 0.24 * h, eaves = 0.86 * h;
    const Colour3 body = look.locomotive ? kLocomotiveBody : kCarBody;
    for (const double at : {0.4 * l, -0.4 * l}) {
        const double bogieHalf = std::min(0.09 * l, 0.5 * w);
        AddBox(m, {at - bogieHalf, -0.42 * w, 0.0}, {at + bogieHalf, 0.42 * w, bogieTop}, kBogie,
               kBogie);
    }
    AddBox(m, {-halfL, -halfW, bogieTop}, {halfL, halfW, eaves}, Darker(body, 1.1f), body,
           Darker(body, 0.6f));
    AddGableRoof(m, -halfL, -halfW, halfL, halfW, eaves, h, true, kVehicleRoof,
                 Darker(body, 0.9f));
    // A locomotive's cab windows: a dark band across its front end.
    if (look.locomotive) {
        const double z0 = 0.58 * h, z1 = 0.78 * h, x = halfL + 0.2;
        AddQuad(m, {x, -0.4 * w, z0}, {x, 0.4 * w, z0}, {x, 0.4 * w, z1}, {x, -0.4 * w, z1},
                {1, 0, 0}, Colour3{0.08f, 0.10f, 0.14f});
    }
    return m;
}

std::array<float, 16> VehicleTransform(const VehiclePose& pose, double railTopMm) {
    // World axes mirror the layout's y.
    const Vec3 front{pose.front.x, -pose.front.y, pose.frontHeightMm + railTopMm};
    const Vec3 rear{pose.rear.x, -pose.rear.y, pose.rearHeightMm + railTopMm};
    Vec3 f{front.x - rear.x, front.y - rear.y, front.z - rear.z};
    double len = std::sqrt(f.x * f.x + f.y * f.y + f.z * f.z);
    if (len < 1e-9) {
        // Bogies on one spot (a train bunched at a dead end): the heading alone gives the way.
        const double a = pose.headingDeg * 3.14159265358979323846 / 180;
        f = {std::cos(a), -std::sin(a), 0};
        len = 1;
    }
    f = {f.x / len, f.y / len, f.z / len};
    const double side = std::hypot(f.x, f.y);
    const Vec3 left = side > 1e-9 ? Vec3{-f.y / side, f.x / side, 0} : Vec3{0, 1, 0};
    const Vec3 up{f.y * left.z - f.z * left.y, f.z * left.x - f.x * left.z,
                  f.x * left.y - f.y * left.x};
    const Vec3 centre{(front.x + rear.x) / 2, (front.y + rear.y) / 2, (front.z + rear.z) / 2};
    auto F = [](double v) { return static_cast<float>(v); };
    return {F(f.x),    F(f.y),    F(f.z),    0, F(left.x), F(left.y), F(left.z), 0,
            F(up.x),   F(up.y),   F(up.z),   0, F(centre.x), F(centre.y), F(centre.z), 1};
}

namespace {

void AppendTransformed(Mesh& into, const Mesh& model, const std::array<float, 16>& m) {
    const uint32_t offset = static_cast<uint32_t>(into.VertexCount());
    for (size_t i = 0; i + 2 < model.positions.size(); i += 3) {
        const double x = model.positions[i], y = model.positions[i + 1], z = model.positions[i + 2];
        const double nx = model.normals[i], ny = model.normals[i + 1], nz = model.normals[i + 2];
        into.positions.insert(into.positions.end(),
                              {static_cast<float>(m[12] + x * m[0] + y * m[4] + z * m[8]),
                               static_cast<float>(m[13] + x * m[1] + y * m[5] + z * m[9]),
                               static_cast<float>(m[14] + x * m[2] + y * m[6] + z * m[10])});
        into.normals.insert(into.normals.end(),
                            {static_cast<float>(nx * m[0] + ny * m[4] + nz * m[8]),
                             static_cast<float>(nx * m[1] + ny * m[5] + nz * m[9]),
                             static_cast<float>(nx * m[2] + ny * m[6] + nz * m[10])});
    }
    into.colours.insert(into.colours.end(), model.colours.begin(), model.colours.end());
    for (uint32_t i : model.indices) into.indices.push_back(i + offset);
}

}  // namespace

void AddPlacedVehicle(Mesh& into, const Mesh& model, const VehiclePose& pose, double railTopMm) {
    AppendTransformed(into, model, VehicleTransform(pose, railTopMm));
}

std::vector<PlacedVehicle> PlaceTrainVehicles(const TrainSession& session, double railTopMm) {
    std::vector<PlacedVehicle> out;
    for (const SessionTrain& t : session.Trains()) {
        for (size_t i = 0; i < t.poses.size(); ++i) {
            PlacedVehicle v;
            v.lengthMm = t.consist.vehicleLengthsMm[i];
            v.widthMm = t.WidthMm();
            v.heightMm = t.HeightMm();
            v.locomotive = i == 0;
            v.transform = VehicleTransform(t.poses[i], railTopMm);
            out.push_back(v);
        }
    }
    return out;
}

Mesh VehicleModel(const PlacedVehicle& v) {
    return BuildVehicleMesh({v.lengthMm, v.widthMm, v.heightMm, v.locomotive});
}

Mesh BuildTrainsMesh(const TrainSession& session, double railTopMm) {
    Mesh all;
    // Vehicles of one kind share one model.
    std::map<std::tuple<double, double, double, bool>, Mesh> models;
    for (const PlacedVehicle& v : PlaceTrainVehicles(session, railTopMm)) {
        const auto key = std::tuple(v.lengthMm, v.widthMm, v.heightMm, v.locomotive);
        auto it = models.find(key);
        if (it == models.end()) it = models.emplace(key, VehicleModel(v)).first;
        AppendTransformed(all, it->second, v.transform);
    }
    return all;
}

bool VehicleAroundEye(const PlacedVehicle& v, const Vec3& eye, double marginMm) {
    // Into the vehicle's frame: the transform turns and moves, so its inverse is the turn's
    // transpose after taking the move off.
    const std::array<float, 16>& m = v.transform;
    const double dx = eye.x - m[12], dy = eye.y - m[13], dz = eye.z - m[14];
    const double x = m[0] * dx + m[1] * dy + m[2] * dz;
    const double y = m[4] * dx + m[5] * dy + m[6] * dz;
    const double z = m[8] * dx + m[9] * dy + m[10] * dz;
    return std::abs(x) <= v.lengthMm / 2 + marginMm && std::abs(y) <= v.widthMm / 2 + marginMm &&
           z >= -marginMm && z <= v.heightMm + marginMm;
}

bool HasTrains(const TrainSession& session) { return !session.Trains().empty(); }
