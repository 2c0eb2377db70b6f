// The owner's box of track and its CSV file, read as leniently as spreadsheet programs write it.
#include "trackbox/TrackBox.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include "base/Format.h"
#include "base/Translate.h"
#include "persistence/AtomicFile.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// Spreadsheets set to a language that writes decimal commas separate fields with ';'. The first
// separator outside quotes tells which one the file uses.
char DetectSeparator(std::string_view text) {
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (!quoted && (c == ',' || c == ';')) return c;
    }
    return ',';
}

// Splits CSV text into rows of fields (RFC 4180 quoting), counting physical lines for messages.
class CsvRows {
public:
    CsvRows(std::string_view text, char separator) : text_(text), separator_(separator) {}

    // The next row, its first line in *line; false at the end. On a malformed row *error is set.
    bool Next(std::vector<std::string>& fields, int* line, std::string* error) {
        fields.clear();
        if (pos_ >= text_.size()) return false;
        *line = line_;
        for (;;) {
            std::string field;
            if (!ReadField(field, *line, error)) return false;
            fields.push_back(std::move(field));
            if (pos_ >= text_.size()) return true;
            const char c = text_[pos_];
            if (c == separator_) {
                ++pos_;
                continue;
            }
            EndLine();  // only a line end stops a field that is not followed by a separator
            return true;
        }
    }

private:
    bool AtLineEnd() const { return text_[pos_] == '\n' || text_[pos_] == '\r'; }

    void EndLine() {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
    }

    bool ReadField(std::string& field, int rowLine, std::string* error) {
        size_t start = pos_;
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
        if (pos_ >= text_.size() || text_[pos_] != '"') {
            pos_ = start;
            while (pos_ < text_.size() && text_[pos_] != separator_ && !AtLineEnd()) ++pos_;
            field = Trim(text_.substr(start, pos_ - start));
            return true;
        }
        ++pos_;  // the opening quote
        for (;;) {
            if (pos_ >= text_.size()) {
                *error = Format(Tr("Line %d: a quoted field is not closed").c_str(), rowLine);
                return false;
            }
            const char c = text_[pos_++];
            if (c == '"') {
                if (pos_ < text_.size() && text_[pos_] == '"') {
                    field += '"';
                    ++pos_;
                    continue;
                }
                break;
            }
            if (c == '\n' || (c == '\r' && (pos_ >= text_.size() || text_[pos_] != '\n'))) ++line_;
            field += c;
        }
        while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
        if (pos_ < text_.size() && text_[pos_] != separator_ && !AtLineEnd()) {
            *error = Format(Tr("Line %d: text after a closing quote").c_str(), line_);
            return false;
        }
        return true;
    }

    std::string_view text_;
    char separator_;
    size_t pos_ = 0;
    int line_ = 1;
};

bool HasControlCharacter(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return true;
    return false;
}

// The count of a row; nullopt with *error set when it is refused.
std::optional<int> ParseCount(std::string_view text, const std::string& article, int line,
                              std::string* error) {
    if (text.empty()) {
        *error = Format(Tr("Line %d: no count for %s").c_str(), line, article.c_str());
        return std::nullopt;
    }
    const bool negative = text.front() == '-';
    std::string_view digits = negative ? text.substr(1) : text;
    bool allDigits = !digits.empty();
    for (char c : digits) allDigits = allDigits && c >= '0' && c <= '9';
    if (!allDigits) {
        *error = Format(Tr("Line %d: the count \"%s\" of %s is not a whole number").c_str(), line,
                        std::string(text).c_str(), article.c_str());
        return std::nullopt;
    }
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (negative && digits != "0") {
        *error = Format(Tr("Line %d: the count %s of %s is negative").c_str(), line,
                        std::string(text).c_str(), article.c_str());
        return std::nullopt;
    }
    const std::string limit = std::to_string(kMaxOwnedCount);
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit)) {
        *error = Format(Tr("Line %d: the count %s of %s is more than %s").c_str(), line,
                        std::string(text).c_str(), article.c_str(), limit.c_str());
        return std::nullopt;
    }
    return std::stoi(std::string(digits));
}

bool NeedsQuotes(std::string_view field) {
    if (field.empty() || IsBlank(field.front()) || IsBlank(field.back())) return true;
    return field.find_first_of(",;\"") != std::string_view::npos;
}

}  // namespace

int TrackBox::Owned(const std::string& article) const {
    const auto it = counts.find(article);
    return it == counts.end() ? 0 : it->second;
}

void TrackBox::Set(const std::string& article, int count) {
    if (count > 0) {
        counts[article] = count;
    } else {
        counts.erase(article);
    }
}

void TrackBox::Add(const TrackBox& other) {
    for (const auto& [article, count] : other.counts) {
        int& sum = counts[article];
        sum = std::min(kMaxOwnedCount, sum + count);
    }
}

std::string ParseTrackBox(std::string_view text, TrackBox& box) {
    if (text.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        text.remove_prefix(kByteOrderMark.size());
    CsvRows rows(text, DetectSeparator(text));
    TrackBox read;
    std::vector<std::string> fields;
    int line = 0;
    std::string error;
    bool firstRow = true;
    while (rows.Next(fields, &line, &error)) {
        bool blank = true;
        for (const std::string& field : fields) blank = blank && field.empty();
        if (blank) continue;
        const bool header = firstRow && fields.size() >= 2 &&
                            EqualsIgnoringCase(fields[0], "Article") &&
                            EqualsIgnoringCase(fields[1], "Count");
        firstRow = false;
        if (header) continue;
        const std::string& article = fields[0];
        if (article.empty()) return Format(Tr("Line %d: no article").c_str(), line);
        if (HasControlCharacter(article))
            return Format(Tr("Line %d: the article holds a control character").c_str(), line);
        const std::optional<int> count =
            ParseCount(fields.size() > 1 ? fields[1] : "", article, line, &error);
        if (!count) return error;
        const int total = read.Owned(article) + *count;
        if (total > kMaxOwnedCount)
            return Format(Tr("Line %d: the counts of %s add up to more than %d").c_str(), line,
                          article.c_str(), kMaxOwnedCount);
        read.Set(article, total);
    }
    if (!error.empty()) return error;
    box = std::move(read);
    return "";
}

std::string TrackBoxToText(const TrackBox& box) {
    std::string text = std::string(kTrackBoxHeader) + "\n";
    for (const auto& [article, count] : box.counts) {
        if (count <= 0) continue;
        if (NeedsQuotes(article)) {
            text += '"';
            for (char c : article) text += c == '"' ? std::string("\"\"") : std::string(1, c);
            text += '"';
        } else {
            text += article;
        }
        text += ',' + std::to_string(count) + '\n';
    }
    return text;
}

std::string LoadTrackBox(const std::string& path, TrackBox& box) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return Tr("Cannot open file: ") + path;
    std::string text;
    char buffer[65536];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return Tr("Cannot read file: ") + path;
    return ParseTrackBox(text, box);
}

std::string SaveTrackBox(const std::string& path, const TrackBox& box) {
    return WriteFileAtomically(path, TrackBoxToText(box));
}
