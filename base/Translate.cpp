#include "base/Translate.h"

#include <atomic>

namespace {
std::atomic<Translator> g_translator{nullptr};
}

void SetTranslator(Translator translator) { g_translator.store(translator); }

std::string Tr(const char* english) {
    if (!english) return {};
    const Translator t = g_translator.load();
    return t ? t(english) : std::string(english);
}
