// The 3D models of scenery items, each built inside its catalog footprint.
#pragma once

#include "view3d/Mesh.h"

struct SceneryDef;

// Colour and height of the box an item without a model of its own gets.
inline constexpr Colour3 kDefaultSceneryColour{0.52f, 0.48f, 0.42f};
inline constexpr double kDefaultSceneryHeight = 6.0;

// The model of a scenery item, in world axes around the footprint's centre: x from -width / 2 to
// width / 2, y from -depth / 2 to depth / 2 (the item's local y turned upwards, as the instance
// is drawn without a mirror), z from 0 up.
Mesh BuildSceneryModel(const SceneryDef& def);
// True when the id has a model of its own (not the default box).
bool HasOwnSceneryModel(const SceneryDef& def);
