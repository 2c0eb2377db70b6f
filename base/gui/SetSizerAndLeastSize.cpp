#include "base/gui/SetSizerAndLeastSize.h"

#include <wx/sizer.h>
#include <wx/window.h>

void SetSizerAndLeastSize(wxWindow& window, wxSizer* sizer) {
    window.SetSizer(sizer);
    const wxSize least = window.ClientToWindowSize(sizer->CalcMin());
    window.SetMinSize(least);
    wxSize size = window.GetSize();
    size.IncTo(least);
    window.SetSize(size);
    window.Layout();
}
