// The pictures built into the program, decoded through the toolkit.
#pragma once

#include <wx/image.h>

// The picture with the resource number (101, 102, 103), decoded from its JPEG bytes; an empty
// image (IsOk() false) when it is missing, withheld or cannot be decoded.
wxImage LoadResourceImage(int number);
// The same, scaled to width x height with the high-quality filter; empty when LoadResourceImage
// is.
wxImage LoadResourceImage(int number, int width, int height);
// Makes LoadResourceImage treat a picture as missing (or brings it back), so the windows'
// fallbacks can be seen.
void WithholdResourceImage(int number, bool withheld);
