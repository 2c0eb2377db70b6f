// Builds joined track in a document the way a drop on the canvas does, for the model tests.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "base/Geometry.h"
#include "catalog/TrackCatalog.h"
#include "model/GradeRuns.h"
#include "model/LayoutDocument.h"

// Everything an operation may change, so a refused operation can be shown to change nothing.
inline auto DocState(const LayoutDocument& d) {
    return std::tuple(d.pieces, d.scenery, d.tunnels, d.helices, d.gradeRuns, d.currentGrade,
                      d.nextId, d.undoStack.size(), d.redoStack.size());
}

class TrackBuilder {
public:
    explicit TrackBuilder(LayoutDocument& doc) : doc(doc) {}

    // A free piece at a pose, with one open joint per connector.
    uint32_t Place(const std::string& article, double x = 0, double y = 0, double heading = 0,
                   double elevation = 0) {
        PlacedPiece p;
        p.article = article;
        p.x = x;
        p.y = y;
        p.heading = heading;
        p.elevation = elevation;
        const PieceDef* def = TrackCatalog::Instance().Find(article);
        p.joints.resize(def ? def->connectors.size() : 2);
        return doc.AddPiece(p);
    }

    void Join(uint32_t a, int ca, uint32_t b, int cb) {
        doc.FindPiece(a)->joints[ca] = {b, static_cast<uint32_t>(cb)};
        doc.FindPiece(b)->joints[cb] = {a, static_cast<uint32_t>(ca)};
    }

    // Drops `article` with its connector `ownConn` on connector `targetConn` of `target`: posed
    // to fit, joined on both sides, then given its height by the grade continuation.
    uint32_t Attach(const std::string& article, uint32_t target, int targetConn, int ownConn = 0) {
        const PieceDef* def = TrackCatalog::Instance().Find(article);
        const PlacedPiece* t = doc.FindPiece(target);
        const PieceDef* tDef = TrackCatalog::Instance().Find(t->article);
        double x = 0, y = 0, heading = 0;
        if (def && tDef) {
            const ConnectorPose at = GetConnectorPose(*t, *tDef, targetConn);
            const Connector& own = def->connectors[ownConn];
            heading = NormalizeDeg(at.heading + 180 - own.heading);
            const double r = DegToRad(heading);
            x = at.x - (own.x * std::cos(r) - own.y * std::sin(r));
            y = at.y - (own.x * std::sin(r) + own.y * std::cos(r));
        }
        const uint32_t id = Place(article, x, y, heading);
        Join(id, ownConn, target, targetConn);
        ContinueGrade(doc, id, ownConn, target, targetConn);
        return id;
    }

    // `count` pieces of `article`, each joined by its connector 0 to connector 1 of the previous.
    std::vector<uint32_t> Line(const std::string& article, int count, double heading = 0) {
        std::vector<uint32_t> ids{Place(article, 0, 0, heading)};
        for (int i = 1; i < count; ++i) ids.push_back(Attach(article, ids.back(), 1, 0));
        return ids;
    }

    // A closed oval: two straights, a half circle, two straights, a half circle. Ids in order.
    std::vector<uint32_t> Oval(const std::string& straight, const std::string& curve,
                               int halfCircle = 6) {
        std::vector<uint32_t> ids{Place(straight)};
        for (const auto& [article, n] :
             {std::pair{straight, 1}, {curve, halfCircle}, {straight, 2}, {curve, halfCircle}})
            for (int i = 0; i < n; ++i) ids.push_back(Attach(article, ids.back(), 1));
        Join(ids.back(), 1, ids.front(), 0);
        return ids;
    }

    // A balloon: a tail at (0, y) into a turnout's root and, from its diverging leg, ten pieces
    // (curves, every fifth a straight) back into its straight leg. Returns the turnout and the
    // rest of the loop.
    std::vector<uint32_t> Balloon(const std::string& turnout, const std::string& curve,
                                  const std::string& straight, double y = 0) {
        std::vector<uint32_t> loop{Attach(turnout, Place(straight, 0, y), 1)};
        for (int i = 0; i < 10; ++i)
            loop.push_back(Attach(i % 5 == 4 ? straight : curve, loop.back(), i == 0 ? 2 : 1));
        Join(loop.back(), 1, loop.front(), 1);
        return loop;
    }

    PlacedPiece& operator[](uint32_t id) { return *doc.FindPiece(id); }

private:
    LayoutDocument& doc;
};
