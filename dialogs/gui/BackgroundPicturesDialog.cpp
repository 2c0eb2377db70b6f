// The background pictures dialog: the list, its buttons, the opacity slider and the level.
#include "dialogs/gui/BackgroundPicturesDialog.h"

#include <wx/button.h>
#include <wx/choice.h>
#include <wx/filedlg.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/image.h>
#include <wx/intl.h>
#include <wx/listbox.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/slider.h>
#include <wx/stattext.h>

#include <algorithm>
#include <cmath>

#include "base/gui/FrameServices.h"
#include "canvas/gui/PictureLayer.h"
#include "model/DocumentChange.h"
#include "model/LayoutDocument.h"

namespace {

// The picture files the toolkit reads here, and PDF.
wxString PictureWildcard() {
    wxString patterns;
    auto add = [&](const wxString& ext) {
        if (ext.empty()) return;
        if (!patterns.empty()) patterns += ";";
        patterns += "*." + ext;
    };
    for (wxList::compatibility_iterator node = wxImage::GetHandlers().GetFirst(); node;
         node = node->GetNext()) {
        const auto* handler = static_cast<wxImageHandler*>(node->GetData());
        if (handler->GetType() == wxBITMAP_TYPE_ANI || handler->GetType() == wxBITMAP_TYPE_CUR ||
            handler->GetType() == wxBITMAP_TYPE_ICO)
            continue;
        add(handler->GetExtension());
        for (const wxString& alt : handler->GetAltExtensions()) add(alt);
    }
    add("pdf");
    return _("Pictures and PDF") + " (" + patterns + ")|" + patterns + "|" + _("All files") +
           " (*)|*";
}

bool Readable(const BackgroundPicture& p) { return PictureImages::Shared().Get(p.path)->Ok(); }

}  // namespace

BackgroundPicturesDialog::BackgroundPicturesDialog(wxWindow* parent, FrameServices& frame,
                                                   const ViewTransform& view, wxSize client)
    : wxDialog(parent, wxID_ANY, _("Background Pictures"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      frame(frame),
      view(view),
      client(client) {
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    list = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(360, 200));
    row->Add(list, 1, wxEXPAND | wxRIGHT, 8);
    row->Add(BuildButtons(), 0, wxEXPAND);
    top->Add(row, 1, wxEXPAND | wxALL, 10);

    top->Add(BuildSettings(), 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 10);
    top->Add(CreateStdDialogButtonSizer(wxCLOSE), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
    SetEscapeId(wxID_CLOSE);
    Bind(
        wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(kClosed); }, wxID_CLOSE);

    list->Bind(wxEVT_LISTBOX, [this](wxCommandEvent&) { UpdateControls(); });
    // One undo step when the slider comes to rest, not one per pixel of a drag.
    opacity->Bind(wxEVT_SCROLL_CHANGED,
                  [this](wxScrollEvent&) { SetOpacityPercent(opacity->GetValue()); });
    level->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { SetLevelChoice(level->GetSelection()); });
    Refill();
    if (!frame.Document().pictures.empty()) Select(0);
    Centre();
}

// The buttons beside the list: the pictures' own, then calibrating and aligning on the layout.
wxSizer* BackgroundPicturesDialog::BuildButtons() {
    auto* buttons = new wxBoxSizer(wxVERTICAL);
    auto button = [&](const wxString& label, void (BackgroundPicturesDialog::*action)()) {
        auto* b = new wxButton(this, wxID_ANY, label);
        buttons->Add(b, 0, wxEXPAND | wxBOTTOM, 4);
        b->Bind(wxEVT_BUTTON, [this, action](wxCommandEvent&) { (this->*action)(); });
        return b;
    };
    auto* add = new wxButton(this, wxID_ANY, _("&Add..."));
    buttons->Add(add, 0, wxEXPAND | wxBOTTOM, 4);
    add->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        const wxString path = AskFile(_("Add Picture"));
        if (!path.empty()) AddPictureFile(path);
    });
    remove = button(_("&Remove"), &BackgroundPicturesDialog::RemoveSelected);
    show = button(_("&Hide"), &BackgroundPicturesDialog::ToggleShown);
    lock = button(_("&Lock"), &BackgroundPicturesDialog::ToggleLocked);
    locate = new wxButton(this, wxID_ANY, _("L&ocate..."));
    buttons->Add(locate, 0, wxEXPAND | wxBOTTOM, 4);
    locate->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        const wxString path = AskFile(_("Locate Picture"));
        if (!path.empty()) LocateFile(path);
    });
    buttons->AddSpacer(8);
    calibrate = new wxButton(this, wxID_ANY, _("&Calibrate..."));
    calibrate->SetToolTip(
        _("Click two points of the picture on the layout, then type their "
          "real distance"));
    buttons->Add(calibrate, 0, wxEXPAND | wxBOTTOM, 4);
    calibrate->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(kCalibrate); });
    align = new wxButton(this, wxID_ANY, _("Ali&gn..."));
    align->SetToolTip(
        _("Click two points of the picture, each followed by the layout point "
          "it belongs on"));
    buttons->Add(align, 0, wxEXPAND | wxBOTTOM, 4);
    align->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndModal(kAlign); });
    return buttons;
}

// The selected picture's opacity and level.
wxSizer* BackgroundPicturesDialog::BuildSettings() {
    auto* settings = new wxFlexGridSizer(2, 6, 8);
    settings->AddGrowableCol(1);
    settings->Add(new wxStaticText(this, wxID_ANY, _("O&pacity:")), 0, wxALIGN_CENTER_VERTICAL);
    opacity = new wxSlider(this, wxID_ANY, 50, 0, 100, wxDefaultPosition, wxSize(200, -1),
                           wxSL_HORIZONTAL | wxSL_LABELS);
    settings->Add(opacity, 1, wxEXPAND);
    settings->Add(new wxStaticText(this, wxID_ANY, _("Le&vel:")), 0, wxALIGN_CENTER_VERTICAL);
    level = new wxChoice(this, wxID_ANY);
    settings->Add(level, 1, wxEXPAND);
    return settings;
}

int BackgroundPicturesDialog::Selected() const {
    const int i = list->GetSelection();
    return i >= 0 && static_cast<size_t>(i) < frame.Document().pictures.size() ? i : -1;
}

void BackgroundPicturesDialog::Select(int index) {
    if (index >= 0 && static_cast<unsigned>(index) < list->GetCount()) list->SetSelection(index);
    UpdateControls();
}

void BackgroundPicturesDialog::Refill() {
    const int keep = list->GetSelection();
    list->Clear();
    for (const BackgroundPicture& p : frame.Document().pictures) {
        wxString label = wxFileName(wxString::FromUTF8(p.path)).GetFullName();
        if (!Readable(p)) label += " " + _("(missing)");
        if (!p.shown) label += " " + _("(hidden)");
        if (p.locked) label += " " + _("(locked)");
        list->Append(label);
    }
    level->Clear();
    level->Append(_("All levels"));
    for (const Level& l : frame.Document().levels) level->Append(wxString::FromUTF8(l.name));
    if (keep >= 0 && static_cast<unsigned>(keep) < list->GetCount()) list->SetSelection(keep);
    UpdateControls();
}

void BackgroundPicturesDialog::UpdateControls() {
    const int i = Selected();
    const BackgroundPicture* p = i >= 0 ? &frame.Document().pictures[i] : nullptr;
    for (wxWindow* w : {static_cast<wxWindow*>(remove), static_cast<wxWindow*>(show),
                        static_cast<wxWindow*>(lock), static_cast<wxWindow*>(locate),
                        static_cast<wxWindow*>(opacity), static_cast<wxWindow*>(level)})
        w->Enable(p != nullptr);
    const bool usable = p && p->shown && Readable(*p);
    calibrate->Enable(usable);
    align->Enable(usable);
    if (!p) return;
    show->SetLabel(p->shown ? _("&Hide") : _("&Show"));
    lock->SetLabel(p->locked ? _("Un&lock") : _("&Lock"));
    opacity->SetValue(static_cast<int>(std::lround(p->opacity * 100)));
    int choice = 0;
    const auto& levels = frame.Document().levels;
    for (size_t k = 0; k < levels.size(); ++k)
        if (levels[k].id == p->level) choice = static_cast<int>(k) + 1;
    level->SetSelection(choice);
}

void BackgroundPicturesDialog::Change(const std::function<void(BackgroundPicture&)>& edit) {
    const int i = Selected();
    if (i < 0) return;
    LayoutDocument& doc = frame.Document();
    BackgroundPicture changed = doc.pictures[i];
    edit(changed);
    if (ChangePicture(doc, static_cast<size_t>(i), changed))
        frame.NotifyChanged(DocChange::Pictures);
    Refill();
}

wxString BackgroundPicturesDialog::AskFile(const wxString& title) const {
    wxFileDialog dialog(const_cast<BackgroundPicturesDialog*>(this), title, wxString(), wxString(),
                        PictureWildcard(), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    return dialog.ShowModal() == wxID_OK ? dialog.GetPath() : wxString();
}

bool BackgroundPicturesDialog::AddPictureFile(const wxString& path) {
    const wxString full = wxFileName(path).GetAbsolutePath();
    auto image = ReadPictureImage(full);
    if (!image->Ok()) {
        wxMessageBox(image->error, _("Add Picture"), wxOK | wxICON_WARNING, this);
        return false;
    }
    PictureImages::Shared().Put(full.utf8_string(), image);
    // Into the middle of the window, four fifths of its width, until it is calibrated.
    BackgroundPicture p;
    p.path = full.utf8_string();
    p.widthMm = std::max(client.x, 100) * 0.8 / view.zoom;
    const double heightMm = p.widthMm * image->image.GetHeight() / image->Width();
    p.xMm = view.ToLayoutX(client.x / 2.0) - p.widthMm / 2;
    p.yMm = view.ToLayoutY(client.y / 2.0) - heightMm / 2;
    AddPicture(frame.Document(), p);
    frame.NotifyChanged(DocChange::Pictures);
    Refill();
    Select(static_cast<int>(frame.Document().pictures.size()) - 1);
    if (!image->note.empty())
        wxMessageBox(image->note, _("Add Picture"), wxOK | wxICON_INFORMATION, this);
    return true;
}

bool BackgroundPicturesDialog::LocateFile(const wxString& path) {
    if (Selected() < 0) return false;
    const wxString full = wxFileName(path).GetAbsolutePath();
    auto image = ReadPictureImage(full);
    if (!image->Ok()) {
        wxMessageBox(image->error, _("Locate Picture"), wxOK | wxICON_WARNING, this);
        return false;
    }
    PictureImages::Shared().Put(full.utf8_string(), image);
    Change([&](BackgroundPicture& p) { p.path = full.utf8_string(); });
    return true;
}

void BackgroundPicturesDialog::RemoveSelected() {
    const int i = Selected();
    if (i < 0 || !RemovePicture(frame.Document(), static_cast<size_t>(i))) return;
    frame.NotifyChanged(DocChange::Pictures);
    Refill();
    Select(std::min(i, static_cast<int>(list->GetCount()) - 1));
}

void BackgroundPicturesDialog::ToggleShown() {
    Change([](BackgroundPicture& p) { p.shown = !p.shown; });
}

void BackgroundPicturesDialog::ToggleLocked() {
    Change([](BackgroundPicture& p) { p.locked = !p.locked; });
}

void BackgroundPicturesDialog::SetOpacityPercent(int percent) {
    Change([&](BackgroundPicture& p) { p.opacity = std::clamp(percent, 0, 100) / 100.0; });
}

void BackgroundPicturesDialog::SetLevelChoice(int choice) {
    const auto& levels = frame.Document().levels;
    const uint32_t id =
        choice >= 1 && static_cast<size_t>(choice) <= levels.size() ? levels[choice - 1].id : kNoId;
    Change([&](BackgroundPicture& p) { p.level = id; });
}
