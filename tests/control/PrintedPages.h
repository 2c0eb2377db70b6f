// The pages a window's Print button sends to the frame's print job, drawn into pictures.
#pragma once

#include <gtest/gtest.h>
#include <wx/dcmemory.h>
#include <wx/image.h>
#include <wx/print.h>

#include <functional>
#include <vector>

#include "app/gui/MainFrameDialogs.h"

// Runs `print` with a print job that draws every page the printout names on white paper of
// `size` pixels at 100 pixels an inch; returns the pages drawn.
inline std::vector<wxImage> PrintedPages(const std::function<void()>& print, wxSize size) {
    std::vector<wxImage> pages;
    SetPrintRunner([&](wxWindow*, wxPrintDialogData&, wxPrintout& printout) {
        printout.SetPageSizePixels(size.x, size.y);
        printout.SetPaperRectPixels(wxRect(size));
        printout.SetPPIPrinter(100, 100);
        printout.OnPreparePrinting();
        int minPage = 0, maxPage = 0, from = 0, to = 0;
        printout.GetPageInfo(&minPage, &maxPage, &from, &to);
        EXPECT_FALSE(printout.HasPage(maxPage + 1));
        for (int page = 1; page <= maxPage; ++page) {
            wxBitmap bitmap(size, 24);
            {
                wxMemoryDC dc(bitmap);
                dc.SetBackground(*wxWHITE_BRUSH);
                dc.Clear();
                printout.SetDC(&dc);
                EXPECT_TRUE(printout.OnPrintPage(page));
                printout.SetDC(nullptr);
            }
            pages.push_back(bitmap.ConvertToImage());
        }
        return PrintOutcome::Printed;
    });
    print();
    SetPrintRunner(nullptr);
    return pages;
}

// Pixels of a picture for which `is(red, green, blue)` holds.
inline int CountPixels(const wxImage& image, const std::function<bool(int, int, int)>& is) {
    int n = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            n += is(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y));
    return n;
}
