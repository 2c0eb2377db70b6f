// The web store's host name and its variant id for every article it sells.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

// The store's addresses and item ids. The built-in table is the one the program ships with;
// tests and other stores may supply their own.
struct StoreTable {
    std::string host;  // web host name, e.g. "shop.example"
    // Article number -> the store's variant id for it (a 14-digit decimal string).
    std::map<std::string, std::string, std::less<>> variantIds;

    // The variant id of an article; null when the store does not sell it.
    const std::string* FindVariantId(std::string_view article) const;
    // "https://" + host + "/cart/": the cart items follow directly.
    std::string CartAddress() const;
    // "https://" + host + "/": the store's home page.
    std::string HomePage() const;

    // The shipped table (248 articles), built on first use and never changed.
    static const StoreTable& BuiltIn();
};
