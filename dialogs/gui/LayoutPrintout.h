// The printout of the layout: pagination and drawing of each page to scale.
#pragma once

#include <wx/print.h>

#include "dialogs/PrintPlan.h"

class wxDC;

// Draws page `page` of a print into dc, whose logical units are the page pixels the pages were
// computed for: the layout tile as it goes on paper (in grey through a bitmap of the page's
// pixels with the grayscale option; on several pages cut at the tile's edges) and, on multi-page
// prints, the page's place and the corner marks in its margin. Text and pens keep on paper the
// size they have on a screen showing the same scale. The level, grid, baseboard and selection
// flags the options ask for hold only while the page is drawn.
void DrawPrintPage(wxDC& dc, LayoutDocument& doc, const PrintOptions& options, uint32_t activeLevel,
                   const PrintPages& pages, int page);

class LayoutPrintout : public wxPrintout {
public:
    // The document is read and, while a page is drawn, its visibility flags are changed; it
    // must outlive the printout's printing (not its destruction).
    LayoutPrintout(LayoutDocument& doc, const PrintOptions& options,
                   const wxString& title = "Quillmore Layout");

    void OnPreparePrinting() override;
    bool HasPage(int page) override;
    bool OnPrintPage(int page) override;
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;

    const PrintPages& Pages() const { return pages; }

private:
    void PaginateForPage();

    LayoutDocument& doc;
    PrintOptions options;
    uint32_t activeLevel;
    PrintBounds bounds;
    PrintPages pages;
};
