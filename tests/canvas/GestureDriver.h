// Drives the canvas gestures without a window: pointer events at window pixels under a view of
// one pixel per millimetre, keys and commands, as the canvas window would send them.
#pragma once

#include <string>
#include <vector>

#include "canvas/DeleteCommand.h"
#include "canvas/Gestures.h"
#include "catalog/TrackCatalog.h"
#include "model/LayoutDocument.h"
#include "model/TrackBuilder.h"

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
    // A key; Delete runs the delete command as the window does, answering its question about
    // graded pieces with answerDeleteYes.
    const GestureResult& Key(CanvasKey key) {
        Keep(gestures.Key(doc, key));
        if (!last.deleteSelection) return last;
        const DeleteCheck check = CheckDelete(doc, DeleteSource::Canvas);
        if (check.applies && !check.refusal.Refused() && check.asksAboutGrades) ++deleteQuestions;
        return Keep(gestures.DeleteSelection(doc, answerDeleteYes));
    }
    bool answerDeleteYes = true;
    int deleteQuestions = 0;
    const GestureResult& Drop(const std::string& article, int x, int y) {
        gestures.BeginPieceDrag(doc, view, article);
        Hover(x, y);
        return Press(x, y);
    }

    // A free piece at a pose with one open joint per connector (one undo record).
    uint32_t Add(const std::string& article, double x, double y, double heading = 0) {
        return TrackBuilder(doc).Place(article, x, y, heading);
    }
    void Join(uint32_t a, int ca, uint32_t b, int cb) { TrackBuilder(doc).Join(a, ca, b, cb); }
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
