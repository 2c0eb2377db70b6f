#include "base/gui/TextPrintout.h"

#include <wx/cmndata.h>
#include <wx/dc.h>

#include <algorithm>

TextPrintout::TextPrintout(const wxString& title, const std::string& text, int drawn)
    : wxPrintout(title), drawnPages(drawn) {
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(wxString::FromUTF8(text.substr(start, end - start)));
        if (end == std::string::npos) break;
        start = end + 1;
    }
}

int TextPrintout::PageCount() const {
    const int textPages = (static_cast<int>(lines.size()) + kLinesPerPage - 1) / kLinesPerPage;
    return drawnPages + std::max(1, textPages);
}

bool TextPrintout::HasPage(int page) { return page >= 1 && page <= PageCount(); }

void TextPrintout::GetPageInfo(int* minPage, int* maxPage, int* from, int* to) {
    *minPage = *from = 1;
    *maxPage = *to = PageCount();
}

void TextPrintout::DrawPage(wxDC&, int) {}

bool TextPrintout::OnPrintPage(int page) {
    wxDC* dc = GetDC();
    if (!dc) return false;
    // Inside the paper's margins, unless the printer does not say how large its paper is.
    int widthMm = 0, heightMm = 0;
    GetPageSizeMM(&widthMm, &heightMm);
    if (widthMm > 0 && heightMm > 0)
        FitThisSizeToPageMargins(wxSize(kWidth, kHeight), wxPageSetupDialogData());
    else
        FitThisSizeToPage(wxSize(kWidth, kHeight));
    if (page <= drawnPages) {
        DrawPage(*dc, page);
        return true;
    }
    dc->SetFont(wxFont(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE)));
    dc->SetTextForeground(*wxBLACK);
    const int lineHeight = dc->GetCharHeight() + 2;
    const size_t first = static_cast<size_t>(page - drawnPages - 1) * kLinesPerPage;
    for (size_t k = 0; k < kLinesPerPage && first + k < lines.size(); ++k)
        dc->DrawText(lines[first + k], 0, static_cast<int>(k) * lineHeight);
    return true;
}
