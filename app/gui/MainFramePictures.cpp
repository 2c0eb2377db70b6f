// The main window's background pictures: Layout > Background Pictures..., the clicks of
// calibrating and aligning a picture, and the note about picture files gone missing.
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/textdlg.h>

#include <cmath>
#include <memory>

#include "app/CommandIds.h"
#include "app/gui/MainFrame.h"
#include "app/gui/MainFrameDialogs.h"
#include "base/NumberStyle.h"
#include "base/Translate.h"
#include "canvas/gui/CanvasPanel.h"
#include "canvas/gui/PictureLayer.h"
#include "dialogs/gui/BackgroundPicturesDialog.h"
#include "model/DocumentChange.h"
#include "model/LayoutDocument.h"
#include "trackgeometry/Units.h"

namespace {

// The clicks that calibrate or align one picture. The canvas's left presses come here until the
// last one (or Escape) ends it; the picture changes only at the end, as one undo step.
class PicturePicks {
public:
    PicturePicks(MainFrame& frame, size_t index, bool align)
        : frame(frame), index(index), align(align) {}

    void Start() {
        CanvasPanel* canvas = frame.Canvas();
        previousClick = canvas->CurrentClickHandler();
        canvas->SetClickHandler([this](double x, double y) { return Click(x, y); });
        frame.Bind(wxEVT_CHAR_HOOK, &PicturePicks::OnKey, this);
        ShowStep();
    }
    // Ends the picking; nothing of the picture changes unless `apply` brought a change first.
    void Stop(const wxString& status) {
        frame.Canvas()->SetClickHandler(previousClick);
        frame.Unbind(wxEVT_CHAR_HOOK, &PicturePicks::OnKey, this);
        frame.ShowStatus(status);
    }

private:
    const BackgroundPicture* Picture() const {
        const auto& pictures = frame.Document().pictures;
        return index < pictures.size() ? &pictures[index] : nullptr;
    }

    void ShowStep() {
        static const char* const calibrateSteps[] = {
            TR_NOOP("Calibrate: click the first point on the picture (Escape cancels)"),
            TR_NOOP("Calibrate: click the second point on the picture (Escape cancels)")};
        static const char* const alignSteps[] = {
            TR_NOOP("Align: click a first point on the picture (Escape cancels)"),
            TR_NOOP("Align: click the layout point it belongs on (Escape cancels)"),
            TR_NOOP("Align: click a second point on the picture (Escape cancels)"),
            TR_NOOP("Align: click the layout point the second one belongs on (Escape cancels)")};
        frame.ShowStatus(wxGetTranslation(align ? alignSteps[step] : calibrateSteps[step]));
    }

    bool Click(double x, double y) {
        const BackgroundPicture* p = Picture();
        auto image = p ? PictureImages::Shared().Get(p->path) : nullptr;
        if (!image || !image->Ok()) {
            Finish(_("The picture is no longer there"));
            return true;
        }
        points[step] = {x, y};
        if (++step < (align ? 4 : 2)) {
            ShowStep();
            return true;
        }
        // The distance is asked once the press is over.
        frame.CallAfter([this, width = image->Width()] { Complete(width); });
        return true;
    }

    void Complete(double width) {
        const BackgroundPicture* p = Picture();
        if (!p) return Finish(_("The picture is no longer there"));
        BackgroundPicture changed = *p;
        if (align) {
            const PointMm a = LayoutToPicture(*p, width, points[0]);
            const PointMm b = LayoutToPicture(*p, width, points[2]);
            if (!AlignPicture(changed, width, a, b, points[1], points[3]))
                return Finish(_("Alignment needs two different points; nothing was changed"));
            return Apply(changed, _("Picture aligned"));
        }
        const PointMm a = LayoutToPicture(*p, width, points[0]);
        const PointMm b = LayoutToPicture(*p, width, points[1]);
        const int units = frame.Document().units;
        const wxString unit = wxString::FromUTF8(UnitName(units));
        for (;;) {
            wxTextEntryDialog ask(
                &frame, wxString::Format(_("Real distance between the two points (%s):"), unit),
                _("Calibrate Picture"));
            if (ask.ShowModal() != wxID_OK) return Finish(_("Calibration cancelled"));
            double value = 0;
            if (ParseDecimal(ask.GetValue().utf8_string(), &value) && value > 0 &&
                CalibratePicture(changed, width, a, b, value * UnitFactor(units)))
                return Apply(changed, _("Picture calibrated"));
            wxMessageBox(_("Please type a distance greater than zero, and click two different "
                           "points."),
                         _("Calibrate Picture"), wxOK | wxICON_WARNING, &frame);
            if (!(Length(a, b) > 0)) return Finish(_("Calibration cancelled"));
        }
    }

    static double Length(PointMm a, PointMm b) { return std::hypot(b.x - a.x, b.y - a.y); }

    void Apply(const BackgroundPicture& changed, const wxString& status) {
        if (ChangePicture(frame.Document(), index, changed))
            frame.NotifyChanged(DocChange::Pictures);
        Finish(status);
    }

    void OnKey(wxKeyEvent& event) {
        if (event.GetKeyCode() != WXK_ESCAPE) return event.Skip();
        Finish(align ? _("Alignment cancelled") : _("Calibration cancelled"));
    }

    void Finish(const wxString& status);

    MainFrame& frame;
    size_t index;
    bool align;
    int step = 0;
    PointMm points[4];
    CanvasPanel::ClickHandler previousClick;
};

std::unique_ptr<PicturePicks> picks;

void PicturePicks::Finish(const wxString& status) {
    Stop(status);
    // Let go of this object once the event that ended it is over.
    frame.CallAfter([] { picks.reset(); });
}

void ShowBackgroundPictures(MainFrame& frame) {
    CanvasPanel* canvas = frame.Canvas();
    int choice = -1;
    int outcome = BackgroundPicturesDialog::kClosed;
    {
        BackgroundPicturesDialog dialog(&frame, frame, canvas->Transform(),
                                        canvas->GetClientSize());
        outcome = dialog.ShowModal();
        choice = dialog.Selected();
    }
    if (choice < 0 || (outcome != BackgroundPicturesDialog::kCalibrate &&
                       outcome != BackgroundPicturesDialog::kAlign))
        return;
    if (picks) picks->Stop(wxString());
    picks = std::make_unique<PicturePicks>(frame, static_cast<size_t>(choice),
                                           outcome == BackgroundPicturesDialog::kAlign);
    picks->Start();
}

}  // namespace

void BindPictureCommands(MainFrame& frame) {
    if (wxMenuBar* bar = frame.GetMenuBar()) {
        wxMenu* menu = nullptr;
        if (bar->FindItem(kCmdLevels, &menu) && menu) {
            size_t at = 0;
            while (at < menu->GetMenuItemCount() &&
                   menu->FindItemByPosition(at)->GetId() != kCmdLevels)
                ++at;
            menu->Insert(at + 1, kCmdBackgroundPictures, _("Backgro&und Pictures..."));
        }
    }
    frame.Bind(
        wxEVT_MENU, [&frame](wxCommandEvent&) { ShowBackgroundPictures(frame); },
        kCmdBackgroundPictures);
    frame.Bind(wxEVT_DESTROY, [&frame](wxWindowDestroyEvent& event) {
        event.Skip();
        if (event.GetEventObject() == &frame && picks) picks.reset();
    });
}

void ReportMissingPictures(MainFrame& frame) {
    wxString missing;
    for (const BackgroundPicture& p : frame.Document().pictures) {
        auto image = PictureImages::Shared().Get(p.path);
        if (!image->Ok()) missing += "\n" + wxString::FromUTF8(p.path);
    }
    if (missing.empty()) return;
    wxMessageBox(wxString::Format(_("These background pictures could not be read:%s\n\nTheir "
                                    "entries are kept: Layout > Background Pictures... > "
                                    "Locate... finds them again."),
                                  missing),
                 _("Background Pictures"), wxOK | wxICON_WARNING, &frame);
}
