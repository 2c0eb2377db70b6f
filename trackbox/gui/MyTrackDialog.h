// The My Track dialog: the owner's count of every palette article, one page per track system.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <string>
#include <vector>

#include "trackbox/TrackBox.h"

class wxGrid;
class wxNotebook;

class MyTrackDialog : public wxDialog {
public:
    MyTrackDialog(wxWindow* parent, const TrackBox& box);

    // The box as the pages show it now (an edit in progress counts).
    TrackBox Box() const;
    // Puts a box on the pages: an imported file, or the empty box of Clear.
    void ShowBox(const TrackBox& box);

    // The grid of page `index` (column 0 the piece, column 1 its count) and the articles of its
    // rows; null and empty for an index out of range.
    wxGrid* PageGrid(size_t index) const;
    const std::vector<std::string>& PageArticles(size_t index) const;
    size_t PageCount() const { return pages.size(); }

    // Asks for the file to import (save false) or export to (save true); empty when cancelled.
    // Tests replace it, as the native file dialog cannot be answered without being shown.
    using PathAsker = std::function<wxString(wxWindow* parent, bool save)>;
    void SetPathAsker(PathAsker asker);

    // The Import..., Export..., Clear and Undo buttons. Import asks whether the file's counts add
    // to the shown ones or replace them; an import and a Clear are each one step Undo takes back.
    void Import();
    void Export();
    void Clear();
    void Undo();
    bool CanUndo() const { return !undoBoxes.empty(); }

private:
    struct Page {
        wxGrid* grid = nullptr;
        std::vector<std::string> articles;
    };
    void BuildPages(const TrackBox& box);
    // Shows `box` in place of the pages' counts, as one step Undo takes back.
    void ReplaceBox(const TrackBox& box);

    wxNotebook* notebook = nullptr;
    std::vector<Page> pages;
    PathAsker askPath;
    std::vector<TrackBox> undoBoxes;  // the boxes shown before each import or Clear
    wxWindow* undoButton = nullptr;
};
