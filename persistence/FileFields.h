// Reading attribute values out of one line of a layout or block file, with line-numbered errors.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The most joint slots a piece may have in a file: well above the 30 exits of the largest
// turntable, and small enough that a hostile file cannot make the reader allocate much per piece.
inline constexpr int32_t kMaxFileConnectors = 64;
// Largest magnitude of a double in a file (mm, degrees, factors). Far beyond any layout, yet small
// enough that drawing code can turn every value into pixels without overflow.
inline constexpr double kMaxFileMagnitude = 1e9;

// White space as the C locale knows it, whatever the process locale.
inline bool IsFileSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Calls visit(name, rawValue) for each attribute of `line` from left to right: white space outside
// a quoted value, then a name, '=' and '"'; the value runs to the next '"' (empty when there is
// none). Text inside quoted values is never taken for an attribute: values cannot hold '"' (it is
// escaped), so a name or article ending in ` x=` cannot hide the real x. Stops when visit returns
// true.
template <typename Visit>
void ScanAttributes(std::string_view line, Visit visit) {
    const size_t size = line.size();
    size_t i = 0;
    while (i < size) {
        char c = line[i];
        if (c == '"') {
            // A quote outside an attribute opens text that runs to the next quote.
            size_t close = line.find('"', i + 1);
            if (close == std::string_view::npos) return;
            i = close + 1;
            continue;
        }
        if (!IsFileSpace(c)) {
            ++i;
            continue;
        }
        size_t start = i + 1;
        size_t j = start;
        while (j < size && line[j] != '=' && line[j] != '"' && !IsFileSpace(line[j])) ++j;
        if (j == start || j + 1 >= size || line[j] != '=' || line[j + 1] != '"') {
            i = j;
            continue;
        }
        size_t valueStart = j + 2;
        size_t close = line.find('"', valueStart);
        std::string_view value = close == std::string_view::npos
                                     ? std::string_view()
                                     : line.substr(valueStart, close - valueStart);
        if (visit(line.substr(start, j - start), value)) return;
        if (close == std::string_view::npos) return;
        i = close + 1;
    }
}

// The undecoded value of attribute `name` in `line`: the first place outside a quoted value where
// white space is followed by name, '=' and '"'; the value runs to the next '"'. Empty when absent
// or unterminated.
std::string_view RawAttribute(std::string_view line, std::string_view name);

// Turns &lt; &gt; &amp; &quot; back into their characters in one left-to-right pass.
std::string DecodeXml(std::string_view raw);
// The reference that stands for < > & " in the file ("&lt;", ...); empty for any other character.
constexpr std::string_view XmlReference(char c) {
    switch (c) {
        case '<':
            return "&lt;";
        case '>':
            return "&gt;";
        case '&':
            return "&amp;";
        case '"':
            return "&quot;";
        default:
            return {};
    }
}
// Appends `text` with < > & " replaced by their references.
void AppendEscapedXml(std::string& out, std::string_view text);
// Appends a double in the file's form: fixed, exactly 4 decimals, "." whatever the locale; a value
// the reader would refuse (not finite, beyond kMaxFileMagnitude) is written as the nearest one it
// takes.
void AppendFileDouble(std::string& out, double value);
// The most characters a double takes in the file's form: sign, ten digits, point, four decimals.
inline constexpr size_t kMaxFileDoubleChars = 24;
// Writes a double in the file's form at `p` (room for kMaxFileDoubleChars) and returns its end.
char* WriteFileDouble(char* p, double value);

enum class NumberStatus { Ok, NotANumber, OutOfRange };
// The leading decimal integer of `raw` (white space skipped) as a 32-bit integer.
NumberStatus ParseFileInt(std::string_view raw, int32_t* out);
// The leading floating-point number of `raw` with "." as decimal point; must be finite and within
// kMaxFileMagnitude.
NumberStatus ParseFileDouble(std::string_view raw, double* out);

// The attributes of one element line. Every getter returns false on a fault and leaves the first
// fault's text ("Line 12: x in <piece> is not a number") in the error string it was given.
class LineFields {
public:
    LineFields(std::string_view line, int lineNumber, std::string_view element, std::string* error)
        : line_(line), lineNumber_(lineNumber), element_(element), error_(error) {
        ScanAttributes(line, [this](std::string_view name, std::string_view value) {
            if (count_ == kMaxSplit) {
                overflow_ = true;
                return true;
            }
            attributes_[count_++] = {name.data(), name.size(), value.data(), value.size()};
            return false;
        });
    }

    // A required integer within [lo, hi].
    bool Int(std::string_view name, int32_t lo, int32_t hi, int32_t* out);
    // An integer within [lo, hi]; `fallback` when absent.
    bool OptionalInt(std::string_view name, int32_t lo, int32_t hi, int32_t fallback, int32_t* out);
    // A required double.
    bool Double(std::string_view name, double* out);
    // A double; `fallback` when absent.
    bool OptionalDouble(std::string_view name, double fallback, double* out);
    // A required object id: 0 to 2^31 - 1.
    bool Id(std::string_view name, uint32_t* out);
    // A reference to an object: an id, or -1 for none (kNoId).
    bool Ref(std::string_view name, uint32_t* out);
    // A reference that is none when absent.
    bool OptionalRef(std::string_view name, uint32_t* out);
    // A decoded text; "" when absent.
    std::string Text(std::string_view name) const { return DecodeXml(Raw(name)); }
    std::string_view Raw(std::string_view name) const;
    // True only for the value "1".
    bool Flag(std::string_view name) const { return Raw(name) == "1"; }

    // Records a fault of this line with the given text (after "Line <n>: ").
    bool Fail(std::string_view what);

private:
    // Fails with `problem`, a format marked with TR_NOOP that takes the attribute's name and
    // then the element's ("%s in <%s> is out of range").
    bool Fault(std::string_view name, std::string_view problem);

    // The line's attributes, split once; lines with more than fit are searched each time. Plain
    // pointers and sizes, left unset beyond count_: a line is read in the time it takes to fill
    // the ones it has, not to clear all of them.
    static constexpr size_t kMaxSplit = 24;
    struct Attribute {
        const char* name;
        size_t nameSize;
        const char* value;
        size_t valueSize;
    };
    Attribute attributes_[kMaxSplit];
    size_t count_ = 0;
    bool overflow_ = false;

    std::string_view line_;
    int lineNumber_;
    std::string_view element_;
    std::string* error_;
};

// The lines of a file, counted from 1: line feed separated, a carriage return before it dropped.
// A line stays valid only until the next call of Next.
class LineSource {
public:
    virtual ~LineSource() = default;
    virtual bool Next(std::string_view* line) = 0;
    int LineNumber() const { return lineNumber_; }

protected:
    int lineNumber_ = 0;
};

// The lines of a text held in memory.
class TextLines : public LineSource {
public:
    explicit TextLines(std::string_view text) : text_(text) {}
    bool Next(std::string_view* line) override;

private:
    std::string_view text_;
    size_t pos_ = 0;
};

// The lines of an open file, read in blocks, so a large layout is never held whole in memory.
class FileLines : public LineSource {
public:
    explicit FileLines(int fd) : fd_(fd) {}
    bool Next(std::string_view* line) override;
    // True when reading the file failed (the lines so far are then incomplete).
    bool Failed() const { return failed_; }

private:
    int fd_;
    std::string buffer_;
    size_t pos_ = 0;
    bool eof_ = false;
    bool failed_ = false;
};

// Opens the regular file `path` for reading: the descriptor, or -1 with the error text set
// ("Cannot open file: <path>").
int OpenForReading(const std::string& path, std::string* error);
