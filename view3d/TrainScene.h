// What the 3D window draws of the running trains, declared apart from the train and track types
// so that the window's drawing code sees only meshes and camera views.
#pragma once

#include <array>
#include <vector>

#include "view3d/Mesh.h"
#include "view3d/TrainCameras.h"

class TrainSession;

// A vehicle of a running train: its size, whether it is the locomotive, and where its model
// stands. Vehicles of one size share one model, made once; only the transform changes as the
// trains run.
struct PlacedVehicle {
    double lengthMm = 0;
    double widthMm = 0;
    double heightMm = 0;
    bool locomotive = false;
    // From the model's frame (x forward, y left, z up from the rail head, origin between the
    // bogies) to world axes; column-major, as OpenGL takes it.
    std::array<float, 16> transform{};
};

// Every vehicle of the session's trains, placed on the rails (`railTopMm` above the track's
// height).
std::vector<PlacedVehicle> PlaceTrainVehicles(const TrainSession& session, double railTopMm);
// The model of a placed vehicle in its own frame, the locomotive darker.
Mesh VehicleModel(const PlacedVehicle& vehicle);
// Every vehicle's model moved to where it stands, as one mesh in world axes.
Mesh BuildTrainsMesh(const TrainSession& session, double railTopMm);
// Whether `eye` stands inside the vehicle's body or within `marginMm` of it. A camera there sees
// the inside of the body across its picture: the cab camera leaves such a vehicle undrawn.
bool VehicleAroundEye(const PlacedVehicle& vehicle, const Vec3& eye, double marginMm);
// True when the session has a train on the track.
bool HasTrains(const TrainSession& session);
