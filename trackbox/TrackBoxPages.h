// Which articles the My Track dialog lists on which page.
#pragma once

#include <string>
#include <vector>

#include "base/Translate.h"
#include "trackbox/TrackBox.h"

struct TrackBoxPage {
    std::string name;  // the tab's title
    std::vector<std::string> articles;
};

// In English; the page shows it translated.
inline constexpr char kOtherArticlesPage[] = TR_NOOP("Other Articles");

// One page per palette system, in the palette's order, listing every catalog article of its
// groups once (in list order). A last page "Other Articles" holds, in ascending order, the
// articles of the box that no palette lists (kept from an imported file), when there are any.
std::vector<TrackBoxPage> TrackBoxPages(const TrackBox& box);
