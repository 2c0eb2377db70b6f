// Exporting the plan: the parts list as CSV, the frame and size of a picture of the layout, the
// file kinds by extension and the PDF page geometry.
#pragma once

#include <string>
#include <vector>

#include "model/BackgroundPicture.h"
#include "model/LayoutDocument.h"

// The parts list: the header "Article,Name,System,Count", then one row per tallied article
// (in the tally's order, with the pieces hidden in bridges and helices), then the recommended
// accessories; UTF-8, lines ended by CR LF.
std::string PartsListCsv(const LayoutDocument& doc);

enum class ExportKind { Unknown, Png, Svg, Pdf, Csv };
// The kind a file name asks for by its extension (any case).
ExportKind ExportKindForPath(const std::string& path);

// Pixels per millimetre a picture may use.
inline constexpr double kMinPictureResolution = 0.05;
inline constexpr double kMaxPictureResolution = 20.0;
// Longest side and area a picture may have.
inline constexpr int kMaxPictureSide = 30000;
inline constexpr double kMaxPicturePixels = 200e6;

// Where a picture draws: layout point (x, y) lands on pixel (x · zoom + offsetX, ...).
struct PictureFrame {
    double zoom = 1;
    double offsetX = 0;
    double offsetY = 0;
    int width = 1;
    int height = 1;
};
// Everything drawn (DrawingExtent, the baseboard when shown, the background pictures when
// `pictureSizes` is set; 0..1000 mm when empty) framed with a margin, at pxPerMm.
PictureFrame PictureFrameFor(const LayoutDocument& doc, double pxPerMm,
                             const PictureImageSize& pictureSizes = {});
// A resolution that keeps the picture's longer side near 4000 pixels (at most 4 px/mm).
double DefaultPictureResolution(const LayoutDocument& doc,
                                const PictureImageSize& pictureSizes = {});
// "" when the picture can be made, else why not.
std::string PictureSizeProblem(const PictureFrame& frame);
// "4000 × 2000 pixels"
std::string PictureSizeText(const PictureFrame& frame);

// The resolution an SVG of the frame states so that its stated size is the layout at 1 : N
// (N = scaleDenominator, 1 for full size).
double SvgDotsPerInch(const PictureFrame& frame, int scaleDenominator);
// The width in millimetres that resolution gives the drawing.
double SvgWidthMm(const PictureFrame& frame, int scaleDenominator);

// A picture draws what is sized in pixels (text, pens, dots) as a view of the whole layout about
// this many pixels wide would, enlarged with the picture, so that a large picture's dimension
// labels and articles stay readable.
inline constexpr int kPictureViewSide = 1600;
// The pixel scale of a picture of the frame: its longer side over kPictureViewSide, at least 1.
double PicturePixelScale(const PictureFrame& frame);

// "1 : 10", the scale an SVG drawn for scaleDenominator states.
std::string SvgScaleText(int scaleDenominator);
// The SVG's title and description, naming that scale.
std::string SvgTitle(int scaleDenominator);
std::string SvgDescription(int scaleDenominator);
// The SVG text with its <desc> (the toolkit's credit) replaced by SvgDescription, or one added
// after the <title>.
std::string WithSvgDescription(std::string svg, int scaleDenominator);

// The folder an export's file dialog opens in: the folder of the last export of the same layout
// file in this run (`lastLayout` is the layout that export was for), else the layout file's own
// folder, else the program's layouts folder for a layout never saved.
std::string ExportStartFolder(const std::string& lastFolder, const std::string& lastLayout,
                              const std::string& layoutPath, const std::string& programFolder);

// The path to write for an export's file dialog answer. `extensions` are the dialog's file kinds,
// the first being the one the offered name carries; `chosen` is the kind picked in its filter. A
// name the user gave another kind's extension keeps it; the offered extension, or none, becomes
// the chosen kind's (a file dialog leaves the offered name alone when the filter changes); any
// other extension gives empty.
std::string ChosenExportPath(const std::string& path, const std::vector<std::string>& extensions,
                             size_t chosen);

// A PDF page: its size in points and the page pixels the printout is computed for.
struct PdfPage {
    double widthPt = 0;
    double heightPt = 0;
    int widthPx = 0;
    int heightPx = 0;
    double pxPerPt = 1;
};
// The page of a paper of widthMm × heightMm at dpi page pixels per inch.
PdfPage PdfPageFor(double widthMm, double heightMm, int dpi);
