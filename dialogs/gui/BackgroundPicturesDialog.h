// Layout > Background Pictures...: the layout's pictures with Add, Remove, Show/Hide, Lock,
// Locate, the opacity and the level. Every change goes into the document at once as one undo
// step; Calibrate and Align close the dialog and leave the clicks to the caller.
#pragma once

#include <wx/dialog.h>

#include <functional>

#include "canvas/ViewTransform.h"
#include "model/BackgroundPicture.h"

class FrameServices;
class wxButton;
class wxChoice;
class wxListBox;
class wxSizer;
class wxSlider;

class BackgroundPicturesDialog : public wxDialog {
public:
    // What the dialog was closed for.
    enum Outcome { kClosed = wxID_CANCEL, kCalibrate = wxID_HIGHEST + 80, kAlign };

    // `view` and `client`: where a new picture is put (into the middle of the window).
    BackgroundPicturesDialog(wxWindow* parent, FrameServices& frame, const ViewTransform& view,
                             wxSize client);

    // The picture chosen in the list, or -1.
    int Selected() const;
    void Select(int index);

    // The buttons' actions (also driven by tests). Adding and locating refuse, with a message
    // naming the file, a picture that cannot be read, and change nothing then.
    bool AddPictureFile(const wxString& path);
    bool LocateFile(const wxString& path);
    void RemoveSelected();
    void ToggleShown();
    void ToggleLocked();
    void SetOpacityPercent(int percent);
    // 0: all levels, then the document's levels in order.
    void SetLevelChoice(int choice);

    wxListBox* List() const { return list; }
    wxSlider* OpacitySlider() const { return opacity; }
    wxChoice* LevelChoice() const { return level; }

private:
    wxSizer* BuildButtons();
    wxSizer* BuildSettings();
    void Refill();
    void UpdateControls();
    // Puts the changed picture into the document (one undo step) and tells the frame.
    void Change(const std::function<void(BackgroundPicture&)>& edit);
    wxString AskFile(const wxString& title) const;

    FrameServices& frame;
    ViewTransform view;
    wxSize client;
    wxListBox* list = nullptr;
    wxButton* remove = nullptr;
    wxButton* show = nullptr;
    wxButton* lock = nullptr;
    wxButton* locate = nullptr;
    wxButton* calibrate = nullptr;
    wxButton* align = nullptr;
    wxSlider* opacity = nullptr;
    wxChoice* level = nullptr;
};
