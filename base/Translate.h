// The program's texts in the reader's language. The core has no message catalogs of its own:
// the window program installs a translator that looks texts up in its catalog, and without one
// every text stays in English, as the tests and the command line see it.
#pragma once

#include <string>

using Translator = std::string (*)(const char* english);

// Installs the translator (null restores English). Set once at start-up, before any window.
void SetTranslator(Translator translator);

// The text in the reader's language; `english` is also the catalog key, so pass the literal
// itself (xgettext collects it), or a text marked with TR_NOOP. Format strings are translated
// before their numbers are filled in.
std::string Tr(const char* english);

// Marks a literal for the catalog where it is stored in a table and translated later with Tr.
#define TR_NOOP(text) text
