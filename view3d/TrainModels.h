// The 3D models of running trains: a body box with a roof on two bogies, the locomotive darker,
// placed on the track where the vehicles' bogies stand.
#pragma once

#include <array>
#include <vector>

#include "trains/TrainSession.h"
#include "trains/VehiclePoses.h"
#include "view3d/Mesh.h"

// The size of a vehicle and whether it is the locomotive.
struct VehicleLook {
    double lengthMm = 0;
    double widthMm = 0;
    double heightMm = 0;  // from the rail head to the top of the roof
    bool locomotive = false;
};

inline constexpr Colour3 kLocomotiveBody{0.34f, 0.10f, 0.08f};
inline constexpr Colour3 kCarBody{0.22f, 0.42f, 0.62f};
inline constexpr Colour3 kVehicleRoof{0.55f, 0.56f, 0.58f};
inline constexpr Colour3 kBogie{0.12f, 0.12f, 0.13f};

// A vehicle in its own frame: x forward, y to its left, z up from the rail head; the origin
// midway between its bogies. The body stands on two bogies 80 % of its length apart.
Mesh BuildVehicleMesh(const VehicleLook& look);

// The transform of a vehicle model to a vehicle's pose (see AddPlacedVehicle), column-major.
std::array<float, 16> VehicleTransform(const VehiclePose& pose, double railTopMm);

// Appends `model` (a vehicle mesh) at a vehicle's pose in world axes (x, minus layout y,
// height): between its bogies, turned to them and tilted with the grade; `railTopMm` above the
// track's height.
void AddPlacedVehicle(Mesh& into, const Mesh& model, const VehiclePose& pose, double railTopMm);

