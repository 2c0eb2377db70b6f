// One-line layout builders for tests with or without a window.
#pragma once

#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

// Puts a piece of `article` with open ends into doc, without an undo step; returns its id.
inline uint32_t LayPiece(LayoutDocument& doc, double x, double y = 0, int32_t level = 1,
                         const char* article = "24188", double heading = 0) {
    PlacedPiece p;
    p.id = doc.TakeId();
    p.article = article;
    p.x = x;
    p.y = y;
    p.heading = heading;
    p.level = level;
    const PieceDef* def = TrackCatalog::Instance().Find(article);
    p.joints.resize(def ? def->connectors.size() : 2);
    doc.pieces.push_back(p);
    return p.id;
}

inline Level NamedLevel(uint32_t id, const char* name, bool visible) {
    Level level;
    level.id = id;
    level.name = name;
    level.visible = visible;
    return level;
}
