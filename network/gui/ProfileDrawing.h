// Drawing a height profile chart on any device context, and writing it as a picture or printing
// it.
#pragma once

#include <wx/print.h>

#include <string>

#include "network/ProfileChart.h"

class wxDC;

// Draws the chart: background, grid and axes with their labels, levels, crossing bars, the track
// coloured by grade, the grades and the joints' dots with their heights.
void DrawProfileChart(wxDC& dc, const ProfileChart& chart);

// The profile as a PNG or SVG picture of width × height pixels, by the path's extension; "" on
// success, otherwise why not (an earlier file at the path is left intact).
std::string WriteProfilePicture(const LayoutDocument& doc, const HeightProfile& profile,
                                const std::string& path, int width, int height);

// One page: the profile filling the page within its margins, under a title.
class ProfilePrintout : public wxPrintout {
public:
    ProfilePrintout(const LayoutDocument& doc, HeightProfile profile, const wxString& title);
    bool HasPage(int page) override { return page == 1; }
    void GetPageInfo(int* minPage, int* maxPage, int* pageFrom, int* pageTo) override;
    bool OnPrintPage(int page) override;

private:
    const LayoutDocument& doc;
    HeightProfile profile;
};
