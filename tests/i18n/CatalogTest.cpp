// The German catalog against the sources: every text marked for translation is translated, no
// translation is empty or fuzzy or breaks its placeholders or keys, and the window code shows no
// text that is not marked. The texts are collected with xgettext as the pot target does.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "i18n/PoFile.h"

namespace fs = std::filesystem;

namespace {

const std::string kSource = QUILLMORE_SOURCE_DIR;

// A scratch folder for the templates, removed at the end of the program.
const std::string& Scratch() {
    static std::string pattern = (fs::temp_directory_path() / "quillmore-i18n-XXXXXX").string();
    static const std::string path = mkdtemp(pattern.data()) ? pattern : std::string();
    static const struct Remover {
        ~Remover() {
            std::error_code ec;
            if (!path.empty()) fs::remove_all(path, ec);
        }
    } remover;
    return path;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Runs `command`, which writes the template `out`; its entries (none when it wrote no file, as
// xgettext does when it finds nothing).
PoFile RunToTemplate(const std::string& command, const std::string& out) {
    PoFile failed;
    failed.error = "failed: " + command;
    if (std::system((command + " 2>/dev/null").c_str()) != 0) return failed;
    return fs::exists(out) ? ReadPoFile(out) : PoFile{};
}

// xgettext over `files` with `options` into a template; its entries.
PoFile Extract(const std::vector<std::string>& files, const std::string& options,
               const std::string& name) {
    const std::string out = Scratch() + "/" + name;
    std::string command = "cd " + Quoted(kSource) +
                          " && xgettext --language=C++ --from-code=UTF-8 --no-wrap " + options +
                          " -o " + Quoted(out);
    for (const std::string& f : files) command += " " + Quoted(f);
    return RunToTemplate(command, out);
}

// Every text marked for translation in the program's sources, as the pot target collects it.
const PoFile& MarkedTexts() {
    static const std::string out = Scratch() + "/marked.pot";
    static const PoFile marked = RunToTemplate("bash " + Quoted(kSource + "/po/ExtractTexts.sh") +
                                                   " " + Quoted(kSource) + " " + Quoted(out),
                                               out);
    return marked;
}

const PoFile& German() {
    static const PoFile german = ReadPoFile(kSource + "/po/de.po");
    return german;
}

// A text as a PO file writes it: line breaks, tabs and quotes escaped.
std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text)
        out += c == '\n' ? "\\n" : c == '\t' ? "\\t" : std::string(c == '"' || c == '\\', '\\') + c;
    return out;
}

std::string Shown(const PoEntry& e) {
    std::string text = "  \"" + Escaped(e.id) + "\"";
    if (!e.where.empty()) text += "  (" + e.where + ")";
    return text + "\n";
}

TEST(GermanCatalog, TranslatesEveryMarkedText) {
    const PoFile& marked = MarkedTexts();
    ASSERT_EQ(marked.error, "");
    // The extraction itself works: texts known to be marked are found.
    ASSERT_NE(marked.Find("&File"), nullptr);
    ASSERT_NE(marked.Find("Open Failed"), nullptr);
    ASSERT_EQ(German().error, "");
    std::string missing;
    for (const PoEntry& e : marked.entries)
        if (!German().Find(e.id)) missing += Shown(e);
    EXPECT_EQ(missing, "") << "Marked in the sources but not in po/de.po (run the pot target, then "
                              "msgmerge -U po/de.po po/quillmore.pot, and translate):\n"
                           << missing;
}

TEST(GermanCatalog, IsCompleteAndKeepsPlaceholdersKeysAndMnemonics) {
    ASSERT_EQ(German().error, "");
    ASSERT_FALSE(German().entries.empty());
    std::string empty, fuzzy, wrong;
    for (const PoEntry& e : German().entries) {
        if (e.fuzzy) fuzzy += Shown(e);
        const size_t forms = e.pluralId.empty() ? 1 : 2;
        bool complete = e.translations.size() >= forms;
        for (size_t form = 0; form < e.translations.size(); ++form) {
            const std::string& english = form == 0 || e.pluralId.empty() ? e.id : e.pluralId;
            const std::string& german = e.translations[form];
            complete = complete && !german.empty();
            // A singular without a number ("1 piece") may drop it; a plural form may not.
            if (PrintfConversions(german) != PrintfConversions(english) &&
                !(form == 0 && !e.pluralId.empty() && PrintfConversions(german).empty()))
                wrong += Shown(e) + "    placeholders differ: \"" + german + "\"\n";
            if (AcceleratorOf(german) != AcceleratorOf(english))
                wrong += Shown(e) + "    shortcut key differs: \"" + german + "\"\n";
            if (MnemonicCount(german) != MnemonicCount(english))
                wrong += Shown(e) + "    mnemonic '&' differs: \"" + german + "\"\n";
        }
        if (!complete) empty += Shown(e);
    }
    EXPECT_EQ(empty, "") << "Untranslated in po/de.po:\n" << empty;
    EXPECT_EQ(fuzzy, "") << "Fuzzy in po/de.po (check and remove the flag):\n" << fuzzy;
    EXPECT_EQ(wrong, "") << wrong;
}

// The literals of window code that are allowed to stay unmarked: po/allowed-literals.txt (and
// any po/allowed-literals-*.txt), one per line as xgettext prints it, "#" starting a comment.
std::set<std::string> AllowedLiterals() {
    std::set<std::string> allowed;
    for (const fs::directory_entry& entry : fs::directory_iterator(kSource + "/po")) {
        const std::string name = entry.path().filename().string();
        if (!name.starts_with("allowed-literals") || !name.ends_with(".txt")) continue;
        std::ifstream in(entry.path());
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line.starts_with("#")) continue;
            // Decoded as a PO string, so that "\n" in the list means a line break.
            const PoFile one = ParsePo("msgid \"" + line + "\"\nmsgstr \"x\"\n");
            allowed.insert(one.entries.empty() ? line : one.entries.front().id);
        }
    }
    return allowed;
}

// False for texts without words, which need no translation: "%d", "|", " > ", "\n", "x".
// printf conversions ("%s", "%.1f", "%H") are no words.
bool HasWords(const std::string& text) {
    int letters = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            while (i + 1 < text.size() && !std::isalpha(static_cast<unsigned char>(text[i + 1])))
                ++i;
            ++i;  // the conversion's letter
            letters = 0;
            continue;
        }
        letters = std::isalpha(static_cast<unsigned char>(text[i])) ? letters + 1 : 0;
        if (letters == 2) return true;
    }
    return false;
}

// The window code of the folders checked for unmarked texts.
std::vector<std::string> WindowSources() {
    std::vector<std::string> files;
    std::istringstream folders(QUILLMORE_CHECKED_GUI_FOLDERS);
    std::string folder;
    while (folders >> folder) {
        for (const fs::directory_entry& entry :
             fs::directory_iterator(kSource + "/" + folder + "/gui"))
            if (entry.path().extension() == ".cpp")
                files.push_back(folder + "/gui/" + entry.path().filename().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(WindowCode, ShowsNoUnmarkedText) {
    const std::vector<std::string> files = WindowSources();
    ASSERT_FALSE(files.empty());
    const PoFile all = Extract(files, "--extract-all", "all.pot");
    // Marked texts, and the log texts, which stay English.
    const PoFile marked = Extract(
        files, "-k_ -kwxTRANSLATE -kwxPLURAL:1,2 -kTr -kTR_NOOP -kAppLog -kTraceLog", "marked.pot");
    ASSERT_EQ(all.error, "");
    ASSERT_EQ(marked.error, "");
    ASSERT_NE(all.Find("&File"), nullptr) << "xgettext --extract-all found too little";
    const std::set<std::string> allowed = AllowedLiterals();
    std::string unmarked;
    for (const PoEntry& e : all.entries)
        if (!marked.Find(e.id) && !allowed.count(e.id) && HasWords(e.id)) unmarked += Shown(e);
    EXPECT_EQ(unmarked, "") << "Texts in window code that are neither marked with _() nor listed "
                               "in po/allowed-literals.txt:\n"
                            << unmarked;
}

}  // namespace
