// Decoding of the built-in pictures.
#include "app/gui/ResourceImages.h"

#include <wx/log.h>
#include <wx/mstream.h>

#include <set>

#include "resources/EmbeddedPictures.h"

namespace {
std::set<int>& Withheld() {
    static std::set<int> numbers;
    return numbers;
}
}  // namespace

wxImage LoadResourceImage(int number) {
    if (Withheld().count(number)) return wxImage();
    const std::span<const unsigned char> bytes = EmbeddedPicture(number);
    if (bytes.empty()) return wxImage();
    if (!wxImage::FindHandler(wxBITMAP_TYPE_JPEG)) wxInitAllImageHandlers();
    wxMemoryInputStream stream(bytes.data(), bytes.size());
    wxLogNull quiet;  // a broken picture is no error to report: the window does without it
    wxImage image;
    if (!image.LoadFile(stream, wxBITMAP_TYPE_JPEG)) return wxImage();
    return image;
}

wxImage LoadResourceImage(int number, int width, int height) {
    wxImage image = LoadResourceImage(number);
    if (image.IsOk()) image.Rescale(width, height, wxIMAGE_QUALITY_HIGH);
    return image;
}

void WithholdResourceImage(int number, bool withheld) {
    if (withheld) {
        Withheld().insert(number);
    } else {
        Withheld().erase(number);
    }
}
