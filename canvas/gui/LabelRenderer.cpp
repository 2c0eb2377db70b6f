// The notes over the track: grade arrows, labels and measurements.
#include <wx/dc.h>

#include <algorithm>
#include <cmath>

#include "canvas/gui/LayoutRenderer.h"
#include "canvas/gui/RenderParts.h"
#include "model/LayoutDocument.h"
#include "model/LayoutExtent.h"
#include "trackgeometry/Units.h"

namespace render {

void DrawGradeArrows(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                     const std::vector<wxRect>& area) {
    for (const GradeRun& run : doc.gradeRuns) {
        GradeArrow arrow;
        if (!GradeArrowFor(doc, run, arrow)) continue;
        // The arrow, its head and its text lie within about 100 pixels of its end.
        const wxPoint e = Px(view, arrow.end);
        if (!Visible(area, e.x - 100 - 30 * view.zoom, e.y - 100 - 30 * view.zoom,
                     e.x + 100 + 30 * view.zoom, e.y + 100 + 30 * view.zoom))
            continue;
        const wxColour c = Colour(arrow.colour);
        dc.SetPen(wxPen(c, view.Px(3)));
        dc.SetBrush(wxBrush(c));
        dc.DrawLine(Px(view, arrow.start), Px(view, arrow.end));
        const wxPoint head[3] = {Px(view, arrow.end), Px(view, arrow.headLeft),
                                 Px(view, arrow.headRight)};
        dc.DrawPolygon(3, head);
        if (view.ScreenZoom() >= 0.25) {
            dc.SetFont(ViewFont(view, GradePointSize(view.ScreenZoom()), true));
            dc.SetTextForeground(c);
            dc.DrawText(wxString::FromUTF8(arrow.text), head[0].x + view.Px(4),
                        head[0].y - view.Px(10));
        }
    }
}

void DrawLabels(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                const std::vector<wxRect>& area) {
    const int pointSize = LabelPointSize(view.ScreenZoom());
    const double size = pointSize * view.pixelScale;  // the text's size in device pixels
    dc.SetFont(ViewFont(view, pointSize, true));
    for (const Label& label : doc.labels) {
        const wxPoint p = Px(view, PointMm{label.x, label.y});
        // A generous box for the text: every character at most two point sizes wide, lines
        // counted by their breaks.
        const double lines =
            1.0 + static_cast<double>(std::count(label.text.begin(), label.text.end(), '\n'));
        const double w = (static_cast<double>(label.text.size()) + 2) * size * 2;
        if (!Visible(area, p.x - 4, p.y - 4, p.x + w + 4, p.y + lines * size * 3 + 4)) continue;
        const wxString text = wxString::FromUTF8(label.text);
        dc.SetBackgroundMode(wxBRUSHSTYLE_SOLID);
        dc.SetTextBackground(wxColour(255, 255, 220, 200));
        dc.SetTextForeground(label.selected ? wxColour(40, 80, 200) : wxColour(20, 20, 20));
        dc.DrawText(text, p);
        dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
        if (label.selected) {
            wxCoord tw = 0, th = 0;
            dc.GetTextExtent(text, &tw, &th);
            dc.SetPen(wxPen(wxColour(40, 80, 200), view.Px(1), wxPENSTYLE_DOT));
            dc.SetBrush(*wxTRANSPARENT_BRUSH);
            dc.DrawRectangle(p.x - view.Px(2), p.y - view.Px(2), tw + view.Px(4), th + view.Px(4));
        }
    }
}

void DrawMeasurements(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view,
                      const std::vector<wxRect>& area) {
    dc.SetFont(ViewFont(view, 10, true));
    const double reach = view.pixelScale;  // what is sized in pixels reaches this much further
    for (const Measurement& m : doc.measurements) {
        const wxColour c = m.selected ? wxColour(40, 80, 200) : wxColour(60, 60, 60);
        const wxPoint a = Px(view, PointMm{m.x1, m.y1});
        const wxPoint b = Px(view, PointMm{m.x2, m.y2});
        const wxPoint t = Px(view, PointMm{(m.x1 + m.x2) / 2 + m.dx, (m.y1 + m.y2) / 2 + m.dy});
        // Line, arrow heads and the boxed length (10 pt, a few characters) with room to spare.
        const int x0 = std::min({a.x, b.x, t.x}), x1 = std::max({a.x, b.x, t.x});
        const int y0 = std::min({a.y, b.y, t.y}), y1 = std::max({a.y, b.y, t.y});
        if (!Visible(area, x0 - 150 * reach, y0 - 40 * reach, x1 + 150 * reach, y1 + 40 * reach))
            continue;
        dc.SetPen(wxPen(c, view.Px(m.selected ? 3 : 2)));
        dc.SetBrush(wxBrush(c));
        dc.DrawLine(a, b);
        const MeasurementHeads heads =
            MeasurementHeadsPx({static_cast<double>(a.x), static_cast<double>(a.y)},
                               {static_cast<double>(b.x), static_cast<double>(b.y)});
        if (heads.shown) {
            for (const PointMm* tri : {heads.a, heads.b}) {
                const wxPoint pts[3] = {wxPoint(tri[0].x, tri[0].y), wxPoint(tri[1].x, tri[1].y),
                                        wxPoint(tri[2].x, tri[2].y)};
                dc.DrawPolygon(3, pts);
            }
        }
        const double len = std::hypot(m.x2 - m.x1, m.y2 - m.y1);
        const wxPoint mid = Px(view, PointMm{(m.x1 + m.x2) / 2 + m.dx, (m.y1 + m.y2) / 2 + m.dy});
        DrawBoxedText(dc, wxString::FromUTF8(FormatLength(len, doc.units)), mid, view.Px(5),
                      view.Px(2),
                      m.selected ? wxColour(220, 232, 255, 235) : wxColour(255, 248, 220, 235),
                      wxPen(c, view.Px(1)), wxColour(20, 20, 20), view.Px(3));
    }
}

}  // namespace render
