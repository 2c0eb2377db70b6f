// Lines of text on paper in a fixed-width font, sixty to a page, after any pages of drawing a
// printout puts first.
#pragma once

#include <wx/print.h>

#include <string>
#include <vector>

class TextPrintout : public wxPrintout {
public:
    // `text` is split at its line breaks; `drawnPages` pages drawn by DrawPage come first.
    TextPrintout(const wxString& title, const std::string& text, int drawnPages = 0);

    bool HasPage(int page) override;
    void GetPageInfo(int* minPage, int* maxPage, int* from, int* to) override;
    bool OnPrintPage(int page) override;
    int PageCount() const;

protected:
    // The size every page is drawn at, fitted to the paper.
    static constexpr int kWidth = 800, kHeight = 1100;
    // Draws one of the first `drawnPages` pages (1-based) at kWidth × kHeight.
    virtual void DrawPage(wxDC& dc, int page);

private:
    static constexpr int kLinesPerPage = 60;
    std::vector<wxString> lines;
    int drawnPages;
};
