// Writing the plan as a PNG or SVG picture and as PDF pages. Every writer returns "" on success
// or the reason it failed, and leaves an earlier file at the path intact when it fails.
#pragma once

#include <wx/dialog.h>

#include <functional>
#include <string>

#include "dialogs/PlanExport.h"
#include "dialogs/PrintPlan.h"

class wxPrintData;
class wxSpinCtrlDouble;
class wxStaticText;

// The whole layout as the canvas draws it (without grid and selection), framed at pxPerMm; PNG or
// SVG by the path's extension. An SVG states the size of the layout at 1 : scaleDenominator.
// With `withPictures` the background pictures are drawn too.
std::string WritePicture(LayoutDocument& doc, const std::string& path, double pxPerMm,
                         int scaleDenominator = 1, bool withPictures = false);

// The paper of the print settings in millimetres, turned for landscape.
void PaperSizeMm(const wxPrintData& data, double* widthMm, double* heightMm);
// The number of pages WritePdf writes for the printout on paper of widthMm × heightMm.
int PdfPageCount(const LayoutDocument& doc, const PrintOptions& options, double widthMm,
                 double heightMm);
// Told after each page is drawn, with the pages done and the pages in all; false stops the
// writing.
using PageProgress = std::function<bool(int done, int count)>;
// The printout's pages at 300 dots per inch, one PDF page each on paper of widthMm × heightMm;
// pageCount receives the number of pages written. Stopped by `progress`, it writes nothing,
// leaves pageCount at 0 and returns "": the caller stopped it and knows.
std::string WritePdf(LayoutDocument& doc, const PrintOptions& options, double widthMm,
                     double heightMm, const std::string& path, int* pageCount = nullptr,
                     const PageProgress& progress = {});

// Asks for the picture's resolution and shows the size it gives.
class PictureOptionsDialog : public wxDialog {
public:
    // pictureSizes: set when the background pictures are exported too.
    PictureOptionsDialog(wxWindow* parent, const LayoutDocument& doc, double pxPerMm,
                         PictureImageSize pictureSizes = {});
    double Resolution() const;
    wxSpinCtrlDouble* ResolutionField() const { return resolution; }
    wxString SizeText() const;
    void UpdateSize();

private:
    const LayoutDocument& doc;
    PictureImageSize pictureSizes;
    wxSpinCtrlDouble* resolution = nullptr;
    wxStaticText* size = nullptr;
};
