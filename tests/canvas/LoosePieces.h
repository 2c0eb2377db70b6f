// Pieces put straight into a document for the window-free canvas tests: no undo record, and one
// open joint per connector of a known article.
#pragma once

#include <string>

#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

inline uint32_t PutPiece(LayoutDocument& doc, const std::string& article, double x, double y,
                         double heading, int32_t level = 1, bool selected = false) {
    PlacedPiece p;
    p.id = doc.TakeId();
    p.article = article;
    p.x = x;
    p.y = y;
    p.heading = heading;
    p.level = level;
    p.selected = selected;
    if (const PieceDef* d = TrackCatalog::Instance().Find(article))
        p.joints.resize(d->connectors.size());
    doc.pieces.push_back(p);
    return p.id;
}
