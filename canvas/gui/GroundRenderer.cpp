// The ground of the layout: baseboard, decks, scenery, grid and rulers.
#include <wx/dc.h>

#include "canvas/gui/LayoutRenderer.h"
#include "canvas/gui/RenderParts.h"
#include "catalog/SceneryCatalog.h"
#include "model/LayoutDocument.h"
#include "model/LayoutExtent.h"

using namespace render;

namespace render {

void DrawBaseboard(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view) {
    const std::vector<wxPoint> pts = Px(view, doc.baseboard);
    dc.SetBrush(wxBrush(Colour(kBaseboardFill)));
    dc.SetPen(wxPen(Colour(kBoardEdge), view.Px(2)));
    dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
}

void DrawBaseboardEdges(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view) {
    const std::vector<wxPoint> pts = Px(view, doc.baseboard);
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(Colour(kBoardEdge), view.Px(2)));
    dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
    dc.SetFont(ViewFont(view, 11, true));
    for (const EdgeLabel& label : BaseboardEdgeLabels(doc.baseboard, doc.units)) {
        DrawBoxedText(dc, wxString::FromUTF8(label.text), Px(view, label.at), view.Px(4),
                      view.Px(2), wxColour(255, 248, 220),
                      wxPen(wxColour(180, 140, 80), view.Px(1)), wxColour(80, 50, 20), view.Px(3));
    }
}

void DrawDecks(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view) {
    for (const Level* level : DeckLevels(doc)) {
        const std::vector<wxPoint> pts = Px(view, level->outline);
        dc.SetBrush(wxBrush(Colour(DeckFill(*level))));
        dc.SetPen(wxPen(Colour(kBoardEdge), view.Px(2)));
        dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
    }
}

void DrawSceneryItem(wxDC& dc, const SceneryItem& item, const ViewTransform& view) {
    const SceneryDef* def = SceneryCatalog::Instance().Find(item.item);
    if (!def) return;
    DrawScenery(dc, *def, {item.x, item.y, item.heading, item.scaleX, item.scaleY}, item.selected,
                view);
}

}  // namespace render

void DrawScenery(wxDC& dc, const SceneryDef& def, const SceneryPose& pose, bool selected,
                 const ViewTransform& view) {
    for (const SceneryShape& s : BuildSceneryShapes(def, pose, selected, view.zoom)) {
        dc.SetPen(s.stroked ? wxPen(Colour(s.pen), s.penWidth) : *wxTRANSPARENT_PEN);
        dc.SetBrush(s.filled ? wxBrush(Colour(s.fill)) : *wxTRANSPARENT_BRUSH);
        switch (s.type) {
            case SceneryShape::Type::Polygon: {
                const std::vector<wxPoint> pts = Px(view, s.points);
                dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
                break;
            }
            case SceneryShape::Type::Line:
                // A line part has no separate outline: its colour is its pen.
                if (!s.stroked) dc.SetPen(wxPen(Colour(s.fill), s.penWidth));
                dc.DrawLine(Px(view, s.points[0]), Px(view, s.points[1]));
                break;
            case SceneryShape::Type::Text: {
                dc.SetFont(Font(s.pointSize, false));
                dc.SetTextForeground(s.filled ? Colour(s.fill) : Colour(s.pen));
                const wxString text = wxString::FromUTF8(s.text);
                if (pose.heading == 0) {
                    dc.DrawText(text, Px(view, s.points[0]));
                } else {
                    dc.DrawRotatedText(text, Px(view, s.points[0]), -pose.heading);
                }
                break;
            }
        }
    }
    if (selected) {
        const std::vector<wxPoint> pts = Px(view, SceneryFootprint(def, pose));
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.SetPen(wxPen(wxColour(40, 100, 200), 1, wxPENSTYLE_DOT));
        dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
    }
}

void DrawSceneryGhost(wxDC& dc, const SceneryDef& def, const SceneryPose& pose,
                      const ViewTransform& view) {
    const std::vector<wxPoint> pts = Px(view, SceneryFootprint(def, pose));
    dc.SetBrush(*wxTRANSPARENT_BRUSH);
    dc.SetPen(wxPen(wxColour(80, 150, 80), 1, wxPENSTYLE_DOT));
    dc.DrawPolygon(static_cast<int>(pts.size()), pts.data());
}

void DrawGrid(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client,
              bool paper) {
    if (!doc.gridShown) return;
    const Rgb pen = paper ? kPaperGrid : kScreenGrid;
    dc.SetPen(wxPen(Colour(pen), view.Px(1)));
    for (int x : GridLines(doc.gridSpacing, view.zoom, view.offsetX, client.x, view.pixelScale)) {
        dc.DrawLine(x, 0, x, client.y);
    }
    for (int y : GridLines(doc.gridSpacing, view.zoom, view.offsetY, client.y, view.pixelScale)) {
        dc.DrawLine(0, y, client.x, y);
    }
    if (paper) return;  // the origin cross is a help for editing
    const wxPoint o = Px(view, PointMm{0, 0});
    dc.SetPen(wxPen(wxColour(180, 180, 220), 2));
    dc.DrawLine(o.x - 10, o.y, o.x + 10, o.y);
    dc.DrawLine(o.x, o.y - 10, o.x, o.y + 10);
}

void DrawRulers(wxDC& dc, int units, const ViewTransform& view, wxSize client) {
    constexpr int kSize = 20;
    dc.SetBrush(wxBrush(wxColour(240, 240, 240)));
    dc.SetPen(wxPen(wxColour(180, 180, 180), 1));
    dc.DrawRectangle(0, 0, client.x, kSize);
    dc.DrawRectangle(0, 0, kSize, client.y);
    dc.DrawRectangle(0, 0, kSize, kSize);

    dc.SetFont(Font(7, false));
    const wxColour ink(80, 80, 80);
    dc.SetTextForeground(ink);
    dc.SetPen(wxPen(wxColour(140, 140, 140), 1));
    auto text = [&](const std::string& label, int x, int y) {
        DrawTextAt(dc, wxString::FromUTF8(label), x, y, ink);
    };
    for (const RulerTick& t : RulerTicks(view, units, client.x, true)) {
        dc.DrawLine(t.pixel, 14, t.pixel, kSize);
        text(t.label, t.pixel + 2, 2);
    }
    for (const RulerTick& t : RulerTicks(view, units, client.y, false)) {
        dc.DrawLine(14, t.pixel, kSize, t.pixel);
        text(t.label, 1, t.pixel + 1);
    }
    dc.SetPen(wxPen(wxColour(200, 80, 80), 1));
    if (view.offsetX >= kSize && view.offsetX < client.x) {
        const int x = static_cast<int>(view.offsetX);
        dc.DrawLine(x, 0, x, kSize);
    }
    if (view.offsetY >= kSize && view.offsetY < client.y) {
        const int y = static_cast<int>(view.offsetY);
        dc.DrawLine(0, y, kSize, y);
    }
}
