// Gives a window its sizer and makes it at least as large as the sizer needs: the rows of labels
// and buttons grow with the language, and a window never opens narrower than they are.
#pragma once

class wxSizer;
class wxWindow;

void SetSizerAndLeastSize(wxWindow& window, wxSizer* sizer);
