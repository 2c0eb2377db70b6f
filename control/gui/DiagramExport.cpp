// The diagram exports: the diagram is built afresh from the layout, written, and the pieces it
// had to leave out are named.
#include "control/gui/DiagramExport.h"

#include <wx/filename.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include <set>

#include "app/FrameLogic.h"
#include "app/gui/MainFrameDialogs.h"
#include "base/gui/FrameServices.h"
#include "control/BuildTrackDiagram.h"
#include "control/CentralStationBoard.h"
#include "control/RocrailPlan.h"
#include "control/gui/AddressesWindow.h"
#include "control/gui/TrackDiagramWindow.h"
#include "network/TrackGraph.h"
#include "persistence/AtomicFile.h"
#include "wiring/WiringAnalysis.h"

namespace {

struct Built {
    TrackDiagram diagram;
    ControlPlan plan;
    std::vector<uint32_t> leftOut;
};

// The diagram of the frame's layout, or false (and the user told) when it has no track.
bool BuildFor(FrameServices& frame, Built& built) {
    const LayoutDocument& doc = frame.Document();
    const TrackGraph graph = BuildTrackGraph(doc);
    DiagramOptions options;
    options.sections = WiringDetectionSections(doc, graph);
    built.diagram = BuildTrackDiagram(doc, graph, options);
    if (built.diagram.cells.empty()) {
        wxMessageBox(_("The layout has no track to export."), _("Export Failed"),
                     wxOK | wxICON_ERROR, frame.Window());
        return false;
    }
    built.plan = doc.control;
    built.plan.protocol = ProtocolOf(doc);
    built.leftOut = PiecesLeftOut(doc, built.diagram);
    return true;
}

// Names the articles of the pieces left out, once each.
void TellLeftOut(FrameServices& frame, const Built& built) {
    if (built.leftOut.empty()) return;
    std::set<std::string> articles;
    for (uint32_t id : built.leftOut)
        if (const PlacedPiece* p = frame.Document().FindPiece(id)) articles.insert(p->article);
    wxString names;
    for (const std::string& a : articles)
        names += (names.empty() ? wxString() : wxString(", ")) + wxString::FromUTF8(a);
    wxMessageBox(wxString::Format(wxPLURAL("%zu piece was left out, as the diagram has no cell "
                                           "for it: %s",
                                           "%zu pieces were left out, as the diagram has no cell "
                                           "for them: %s",
                                           built.leftOut.size()),
                                  built.leftOut.size(), names),
                 _("Export"), wxOK | wxICON_INFORMATION, frame.Window());
}

wxString PageName(const FrameServices& frame) {
    return frame.LayoutName().empty() ? wxString(kDefaultLayoutName) : frame.LayoutName();
}

void ExportBoard(FrameServices& frame) {
    Built built;
    if (!BuildFor(frame, built)) return;
    const wxString path =
        AskExportPath(frame.Window(), _("Export Central Station Track Board"),
                      _("Track board index (gleisbild.cs2)|gleisbild.cs2"), "gleisbild.cs2");
    if (path.empty()) return;
    const std::string error = WriteCentralStationBoard(built.diagram, built.plan,
                                                       wxFileName(path).GetPath().utf8_string(),
                                                       PageName(frame).utf8_string());
    if (!error.empty()) {
        wxMessageBox(wxString::FromUTF8(error), _("Export Failed"), wxOK | wxICON_ERROR,
                     frame.Window());
        return;
    }
    TellLeftOut(frame, built);
}

void ExportRocrail(FrameServices& frame) {
    Built built;
    if (!BuildFor(frame, built)) return;
    const wxString path = AskExportPath(frame.Window(), _("Export Rocrail Plan"),
                                        _("Rocrail plan (*.xml)|*.xml"), "plan.xml");
    if (path.empty()) return;
    std::string xml;
    WriteRocrailPlan(built.diagram, built.plan, xml);
    const std::string error = WriteFileAtomically(path.utf8_string(), xml);
    if (!error.empty()) {
        wxMessageBox(wxString::FromUTF8(error), _("Export Failed"), wxOK | wxICON_ERROR,
                     frame.Window());
        return;
    }
    TellLeftOut(frame, built);
}

void InsertAfter(wxMenuBar* bar, int after, int id, const wxString& text) {
    wxMenu* menu = nullptr;
    if (!bar || !bar->FindItem(after, &menu) || !menu) return;
    size_t at = 0;
    while (at < menu->GetMenuItemCount() && menu->FindItemByPosition(at)->GetId() != after) ++at;
    menu->Insert(at + 1, id, text);
}

}  // namespace

void BindDiagramCommands(FrameServices& frame) {
    wxMenuBar* bar = frame.Window()->GetMenuBar();
    InsertAfter(bar, kCmdExportJmri, kCmdExportBoard, _("Export Central Station Track &Board..."));
    InsertAfter(bar, kCmdExportBoard, kCmdExportRocrail, _("Export &Rocrail Plan..."));
    frame.Window()->Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ExportBoard(frame); }, kCmdExportBoard);
    frame.Window()->Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ExportRocrail(frame); }, kCmdExportRocrail);
    BindTrackDiagramCommand(frame);
}

std::vector<DetectionSection> WiringDetectionSections(const LayoutDocument& doc,
                                                      const TrackGraph& graph) {
    std::vector<DetectionSection> out;
    if (doc.wiring.detectors.empty()) return out;
    const WiringAnalysis analysis = AnalyseWiring(doc, graph, WiringOptions{});
    for (const Section& s : analysis.sections) {
        if (s.detector == 0) continue;
        out.push_back(DetectionSection{"", s.detector, s.pieces});
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const auto& a, const auto& b) { return a.contact < b.contact; });
    return out;
}
