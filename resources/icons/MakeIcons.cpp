// Draws the program's icon: writes it as SVG and renders that SVG to the PNG sizes the desktop
// asks for. Run it after changing the drawing; its output is kept in the source tree.
//   make_icons <folder>   writes quillmore.svg and quillmore-48.png, -128, -256 into <folder>
#include <wx/bmpbndl.h>
#include <wx/image.h>
#include <wx/init.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {
// A green board with an oval of track, sleepers between two rails, and a red locomotive on the
// near straight.
constexpr const char* kIconSvg =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" viewBox="0 0 256 256">
  <rect x="8" y="8" width="240" height="240" rx="36" fill="#4f7f3a"/>
  <rect x="40" y="64" width="176" height="128" rx="64" fill="none" stroke="#9a9186" stroke-width="34"/>
  <rect x="40" y="64" width="176" height="128" rx="64" fill="none" stroke="#6b4a2b" stroke-width="28" stroke-dasharray="5 7"/>
  <rect x="30" y="54" width="196" height="148" rx="74" fill="none" stroke="#e6e6e6" stroke-width="5"/>
  <rect x="50" y="74" width="156" height="108" rx="54" fill="none" stroke="#e6e6e6" stroke-width="5"/>
  <rect x="92" y="176" width="72" height="32" rx="7" fill="#c0392b" stroke="#5b1a13" stroke-width="3"/>
  <rect x="142" y="181" width="16" height="12" rx="2" fill="#f5e9c8"/>
</svg>
)";
constexpr int kSizes[] = {48, 128, 256};
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icons <folder>\n");
        return 2;
    }
    wxInitializer toolkit;
    if (!toolkit.IsOk()) return 1;
    wxImage::AddHandler(new wxPNGHandler);
    const std::string folder = argv[1];
    std::ofstream(folder + "/quillmore.svg", std::ios::binary) << kIconSvg;
    for (int size : kSizes) {
        const wxBitmapBundle bundle = wxBitmapBundle::FromSVG(kIconSvg, wxSize(size, size));
        const wxImage image = bundle.GetBitmap(wxSize(size, size)).ConvertToImage();
        const std::string path = folder + "/quillmore-" + std::to_string(size) + ".png";
        if (!image.IsOk() || !image.SaveFile(path, wxBITMAP_TYPE_PNG)) {
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}
