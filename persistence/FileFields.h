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

// The undecoded value of attribute `name` in `line`: the first place where white space is followed
// by name, '=' and '"'; the value runs to the next '"'. Empty when absent or unterminated.
std::string_view RawAttribute(std::string_view line, std::string_view name);

// Turns &lt; &gt; &amp; &quot; back into their characters in one left-to-right pass.
std::string DecodeXml(std::string_view raw);
// Appends `text` with < > & " replaced by their references.
void AppendEscapedXml(std::string& out, std::string_view text);

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
        : line_(line), lineNumber_(lineNumber), element_(element), error_(error) {}

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
    std::string Text(std::string_view name) const { return DecodeXml(RawAttribute(line_, name)); }
    std::string_view Raw(std::string_view name) const { return RawAttribute(line_, name); }
    // True only for the value "1".
    bool Flag(std::string_view name) const { return Raw(name) == "1"; }

    // Records a fault of this line with the given text (after "Line <n>: ").
    bool Fail(std::string_view what);

private:
    bool Fault(std::string_view name, std::string_view problem);

    std::string_view line_;
    int lineNumber_;
    std::string_view element_;
    std::string* error_;
};

struct PlacedPiece;
// Reads a <joint line (conn, target, tconn) into the piece's joint slots, growing them as needed.
// A target of -1 opens the slot.
bool ReadJointLine(LineFields& fields, PlacedPiece* piece);
// Gives every piece of a known article at least one joint slot per connector of its definition
// (the file leaves open slots out), so a loaded piece looks like a freshly placed one.
void PadJointSlots(std::vector<PlacedPiece>& pieces);

// Splits a file's text into lines (line feed separated, a carriage return before it dropped),
// counting them from 1.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    bool Next(std::string_view* line);
    int LineNumber() const { return lineNumber_; }

private:
    std::string_view text_;
    size_t pos_ = 0;
    int lineNumber_ = 0;
};
