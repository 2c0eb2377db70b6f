// Article names as the reader's language shows them. The catalog's names (and the files) keep
// the English text; a window shows the article number unchanged, the descriptive words
// translated, the decimals in the reader's style and no inch fractions where inches are not
// used.
#pragma once

#include <string>

std::string ArticleDisplayName(const std::string& name);
