// What the 3D window draws of the running trains, declared apart from the train and track types
// so that the window's drawing code sees only meshes and camera views.
#pragma once

#include "view3d/Mesh.h"
#include "view3d/TrainCameras.h"

class TrainSession;

// Every vehicle of the session's trains placed in world axes on the rails (`railTopMm` above the
// track's height), the locomotives darker.
Mesh BuildTrainsMesh(const TrainSession& session, double railTopMm);
// True when the session has a train on the track.
bool HasTrains(const TrainSession& session);
