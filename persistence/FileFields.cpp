// Attribute lookup, character references and locale-free number parsing for the file readers.
#include "persistence/FileFields.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "model/LayoutDocument.h"

std::string_view RawAttribute(std::string_view line, std::string_view name) {
    if (name.empty()) return {};
    size_t from = 1;
    while (from < line.size()) {
        size_t at = line.find(name, from);
        if (at == std::string_view::npos) return {};
        size_t after = at + name.size();
        if (IsFileSpace(line[at - 1]) && after + 1 < line.size() && line[after] == '=' &&
            line[after + 1] == '"') {
            size_t start = after + 2;
            size_t end = line.find('"', start);
            if (end == std::string_view::npos) return {};
            return line.substr(start, end - start);
        }
        from = at + 1;
    }
    return {};
}

std::string DecodeXml(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    size_t i = 0;
    while (i < raw.size()) {
        char c = raw[i];
        if (c == '&') {
            std::string_view rest = raw.substr(i);
            if (rest.starts_with("&lt;")) {
                out += '<';
                i += 4;
                continue;
            }
            if (rest.starts_with("&gt;")) {
                out += '>';
                i += 4;
                continue;
            }
            if (rest.starts_with("&amp;")) {
                out += '&';
                i += 5;
                continue;
            }
            if (rest.starts_with("&quot;")) {
                out += '"';
                i += 6;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

void AppendEscapedXml(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
}

namespace {

// Skips leading white space and an optional plus sign, as the C library's readers do.
const char* SkipNumberLead(std::string_view raw) {
    const char* p = raw.data();
    const char* end = p + raw.size();
    while (p < end && IsFileSpace(*p)) ++p;
    if (p < end && *p == '+' && p + 1 < end && *(p + 1) != '-') ++p;
    return p;
}

}  // namespace

NumberStatus ParseFileInt(std::string_view raw, int32_t* out) {
    const char* p = SkipNumberLead(raw);
    const char* end = raw.data() + raw.size();
    int32_t value = 0;
    auto [ptr, ec] = std::from_chars(p, end, value);
    if (ec == std::errc::result_out_of_range) return NumberStatus::OutOfRange;
    if (ec != std::errc()) return NumberStatus::NotANumber;
    *out = value;
    return NumberStatus::Ok;
}

NumberStatus ParseFileDouble(std::string_view raw, double* out) {
    const char* p = SkipNumberLead(raw);
    const char* end = raw.data() + raw.size();
    double value = 0;
    auto [ptr, ec] = std::from_chars(p, end, value, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) return NumberStatus::OutOfRange;
    if (ec != std::errc() || !std::isfinite(value)) return NumberStatus::NotANumber;
    if (std::fabs(value) > kMaxFileMagnitude) return NumberStatus::OutOfRange;
    *out = value;
    return NumberStatus::Ok;
}

bool LineFields::Fail(std::string_view what) {
    if (error_->empty()) {
        *error_ = "Line " + std::to_string(lineNumber_) + ": ";
        error_->append(what);
    }
    return false;
}

bool LineFields::Fault(std::string_view name, std::string_view problem) {
    std::string what;
    what.append(name).append(" in <").append(element_).append("> ").append(problem);
    return Fail(what);
}

bool LineFields::Int(std::string_view name, int32_t lo, int32_t hi, int32_t* out) {
    std::string_view raw = Raw(name);
    if (raw.empty()) {
        std::string what = "missing ";
        what.append(name).append(" in <").append(element_).append(">");
        return Fail(what);
    }
    int32_t value = 0;
    switch (ParseFileInt(raw, &value)) {
        case NumberStatus::NotANumber: return Fault(name, "is not a number");
        case NumberStatus::OutOfRange: return Fault(name, "is out of range");
        case NumberStatus::Ok: break;
    }
    if (value < lo || value > hi) return Fault(name, "is out of range");
    *out = value;
    return true;
}

bool LineFields::OptionalInt(std::string_view name, int32_t lo, int32_t hi, int32_t fallback,
                             int32_t* out) {
    if (Raw(name).empty()) {
        *out = fallback;
        return true;
    }
    return Int(name, lo, hi, out);
}

bool LineFields::Double(std::string_view name, double* out) {
    std::string_view raw = Raw(name);
    if (raw.empty()) {
        std::string what = "missing ";
        what.append(name).append(" in <").append(element_).append(">");
        return Fail(what);
    }
    switch (ParseFileDouble(raw, out)) {
        case NumberStatus::NotANumber: return Fault(name, "is not a number");
        case NumberStatus::OutOfRange: return Fault(name, "is out of range");
        case NumberStatus::Ok: break;
    }
    return true;
}

bool LineFields::OptionalDouble(std::string_view name, double fallback, double* out) {
    if (Raw(name).empty()) {
        *out = fallback;
        return true;
    }
    return Double(name, out);
}

bool LineFields::Id(std::string_view name, uint32_t* out) {
    int32_t value = 0;
    if (!Int(name, 0, std::numeric_limits<int32_t>::max(), &value)) return false;
    *out = static_cast<uint32_t>(value);
    return true;
}

bool LineFields::Ref(std::string_view name, uint32_t* out) {
    int32_t value = 0;
    if (!Int(name, -1, std::numeric_limits<int32_t>::max(), &value)) return false;
    *out = value < 0 ? kNoId : static_cast<uint32_t>(value);
    return true;
}

bool LineFields::OptionalRef(std::string_view name, uint32_t* out) {
    if (Raw(name).empty()) {
        *out = kNoId;
        return true;
    }
    return Ref(name, out);
}

bool LineCursor::Next(std::string_view* line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    std::string_view l = text_.substr(pos_, end - pos_);
    if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
    pos_ = end + 1;
    ++lineNumber_;
    *line = l;
    return true;
}
