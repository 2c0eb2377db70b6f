// Which articles the My Track dialog lists on which page.
#include "trackbox/TrackBoxPages.h"

#include <set>

#include "catalog/TrackCatalog.h"
#include "panels/PaletteTables.h"

std::vector<TrackBoxPage> TrackBoxPages(const TrackBox& box) {
    std::vector<TrackBoxPage> pages;
    const TrackCatalog& catalog = TrackCatalog::Instance();
    std::set<std::string> listed;
    for (int system = 0; system < kPaletteSystemCount; ++system) {
        TrackBoxPage page{Tr(PaletteSystemName(system).c_str()), {}};
        std::set<std::string> onPage;  // an article may stand in two groups of one system
        for (const PaletteGroup& group : PaletteGroups(system)) {
            for (const std::string& article : group.articles) {
                // As in the palette, an article the catalog lacks is not offered.
                if (!catalog.Find(article)) continue;
                if (onPage.insert(article).second) page.articles.push_back(article);
            }
        }
        listed.insert(onPage.begin(), onPage.end());
        pages.push_back(std::move(page));
    }
    TrackBoxPage other{Tr(kOtherArticlesPage), {}};
    for (const auto& [article, count] : box.counts) {
        if (!listed.count(article)) other.articles.push_back(article);
    }
    if (!other.articles.empty()) pages.push_back(std::move(other));
    return pages;
}
