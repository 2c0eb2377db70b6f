// Drives the canvas gestures without a window: pointer events at window pixels under a view of
// one pixel per millimetre, keys and commands, as the canvas window would send them.
#pragma once

#include <string>
#include <vector>

#include "canvas/Gestures.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"

struct GestureDriver {
    LayoutDocument doc;
    CanvasGestures gestures;
    ViewTransform view{1.0, 0.0, 0.0};
    GestureResult last;  // the result of the latest event

    GestureDriver() { doc.EnsureDefaultLevel(); }

    PointerEvent At(int x, int y, Modifiers mods = {}, bool left = false) const {
        return PointerEvent::At(view, x, y, mods, left);
    }
    const GestureResult& Keep(GestureResult r) {
        if (r.view) view = *r.view;  // the window shows the view it is given
        last = std::move(r);
        return last;
    }
    const GestureResult& Press(int x, int y, Modifiers m = {}) {
        return Keep(gestures.LeftDown(doc, view, At(x, y, m, true)));
    }
    const GestureResult& Drag(int x, int y, Modifiers m = {}) {
        return Keep(gestures.Motion(doc, view, At(x, y, m, true)));
    }
    const GestureResult& Hover(int x, int y) { return Keep(gestures.Motion(doc, view, At(x, y))); }
    const GestureResult& Release(int x, int y, Modifiers m = {}) {
        return Keep(gestures.LeftUp(doc, view, At(x, y, m)));
    }
    const GestureResult& Click(int x, int y, Modifiers m = {}) {
        Press(x, y, m);
        return Release(x, y, m);
    }
    const GestureResult& DragFromTo(int x0, int y0, int x1, int y1, Modifiers m = {}) {
        Press(x0, y0, m);
        Drag(x1, y1, m);
        return Release(x1, y1, m);
    }
    const GestureResult& DoubleClick(int x, int y) {
        Click(x, y);
        Press(x, y);
        Keep(gestures.DoubleClick(doc, view, At(x, y, {}, true)));
        const GestureResult r = last;
        Release(x, y);
        return Keep(r);
    }
    const GestureResult& RightClick(int x, int y, Modifiers m = {}) {
        return Keep(gestures.RightDown(doc, view, At(x, y, m)));
    }
    const GestureResult& Key(CanvasKey key) { return Keep(gestures.Key(doc, key)); }
    const GestureResult& Drop(const std::string& article, int x, int y) {
        gestures.BeginPieceDrag(doc, view, article);
        Hover(x, y);
        return Press(x, y);
    }

    // A free piece at a pose with one open joint per connector (one undo record).
    uint32_t Add(const std::string& article, double x, double y, double heading = 0) {
        PlacedPiece p;
        p.article = article;
        p.x = x;
        p.y = y;
        p.heading = heading;
        const PieceDef* def = TrackCatalog::Instance().Find(article);
        p.joints.resize(def ? def->connectors.size() : 2);
        return doc.AddPiece(p);
    }
    void Join(uint32_t a, int ca, uint32_t b, int cb) {
        doc.FindPiece(a)->joints[ca] = {b, static_cast<uint32_t>(cb)};
        doc.FindPiece(b)->joints[cb] = {a, static_cast<uint32_t>(ca)};
    }
    std::vector<uint32_t> SelectedPieces() const {
        std::vector<uint32_t> ids;
        for (const PlacedPiece& p : doc.pieces)
            if (p.selected) ids.push_back(p.id);
        return ids;
    }
    template <class G>
    const G* Active() const {
        return gestures.Get<G>();
    }
};
