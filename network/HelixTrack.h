// The two tracks of a helix as the network runs them: each from connector 0 of a bottom end
// piece round the spiral to connector 0 of the top end piece on the same radius.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "trackgeometry/TrackRoutes.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

// The network's id of track `track` (0 the inner radius, 1 the outer) of the helix `helixId`.
// It has the top bit set, which no id the document hands out has.
uint32_t HelixTrackId(uint32_t helixId, int track);
// True for an id made by HelixTrackId.
bool IsHelixTrackId(uint32_t id);

// One track of a helix: its ends and its centre line, from the bottom (connector 0 of the
// track) to the top (connector 1).
struct HelixTrack {
    uint32_t id = 0;      // HelixTrackId
    uint32_t bottom = 0;  // the end pieces, each joined to the track at its connector 0
    uint32_t top = 0;
    // A curve record for the whole spiral: kind Curve, the radius, the turn as angle (negative:
    // the spiral climbs turning right), its plan length, and the two ends as connectors in world
    // axes (outward headings).
    std::shared_ptr<const PieceDef> def;
    // The spiral's centre line: its plan length is the radius times the angle turned, and the
    // height climbs evenly from the bottom end piece's to the top end piece's.
    TrackRoute line;
};

// The tracks of every helix of the document that the network runs: the helix's variant and
// curve article are known, and both end pieces of the track are there with connector 0 free.
std::vector<HelixTrack> HelixTracks(const LayoutDocument& doc);

// True when connector `conn` of `piece` is continued by a track of its helix (HelixTracks runs
// one from there).
bool HelixContinues(const LayoutDocument& doc, const PlacedPiece& piece, int conn);
