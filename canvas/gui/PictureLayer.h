// Background pictures in the windows: the images read from their files once per path, and
// copies scaled and turned for a view, kept while the zoom and the picture stay as they are.
#pragma once

#include <wx/bitmap.h>
#include <wx/image.h>
#include <wx/string.h>

#include <list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "canvas/ViewTransform.h"
#include "model/BackgroundPicture.h"

class LayoutDocument;
class wxDC;

// One picture file as read: the image, and halvings of it for small zooms.
struct PictureImage {
    wxImage image;                // not Ok when the file could not be read
    std::vector<wxImage> halves;  // image / 2, / 4, ... down to about 256 pixels
    wxString error;               // why it could not be read
    wxString note;                // why it was reduced, when it was
    bool Ok() const { return image.IsOk(); }
    // The width the picture's geometry counts in (the pixels of `image`).
    double Width() const { return image.IsOk() ? image.GetWidth() : 0; }
};

// Reads a picture file: the formats the toolkit reads, and the first page of a PDF through
// poppler's pdftoppm. A picture over kMaxPicturePixels is decoded smaller where its kind allows
// (JPEG) and refused otherwise; one above a third of that is reduced after reading.
std::shared_ptr<const PictureImage> ReadPictureImage(const wxString& path);

// The images of the pictures, read once per path for the run.
class PictureImages {
public:
    static PictureImages& Shared();
    // The image of the file at `path` (UTF-8), read at the first ask.
    std::shared_ptr<const PictureImage> Get(const std::string& path);
    void Put(const std::string& path, std::shared_ptr<const PictureImage> image);
    void Forget(const std::string& path) { images.erase(path); }

private:
    std::map<std::string, std::shared_ptr<const PictureImage>> images;
};

// The pixel sizes of the pictures' images, read through PictureImages::Shared().
PictureImageSize SharedPictureSizes();

// Draws the document's pictures into a device context. For each picture it keeps a copy scaled
// and turned for the zoom, covering the window and a margin around it: repaints of the same view,
// pans within the margin and edits of the track draw the kept copy as it is.
class PictureLayer {
public:
    // marginShare: the margin on each side as a share of the window's size (0 for paper).
    explicit PictureLayer(double marginShare = 0.5) : margin(marginShare) {}

    // Draws the pictures the document shows inside `areas` (window pixels; none: all of
    // `client`).
    void Draw(wxDC& dc, const LayoutDocument& doc, const ViewTransform& view, wxSize client,
              const std::vector<wxRect>& areas);
    // How many scaled copies were made so far.
    int CopiesMade() const { return made; }

private:
    struct Kept {
        BackgroundPicture picture;
        std::shared_ptr<const PictureImage> image;
        double zoom = 0;
        wxRect region;  // pixels of the zoomed layout, without the view's offset
        wxBitmap bitmap;
    };
    // The kept copy of `picture` that covers `needed`, made anew when there is none.
    const Kept* CopyFor(const BackgroundPicture& picture, const ViewTransform& view,
                        const wxRect& bounds, const wxRect& needed, wxSize client);

    double margin;
    std::list<Kept> kept;
    int made = 0;
};
