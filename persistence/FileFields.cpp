// Attribute lookup, character references and locale-free number parsing for the file readers.
#include "persistence/FileFields.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <limits>

#include "base/Format.h"
#include "base/Translate.h"
#include "model/LayoutDocument.h"

std::string_view RawAttribute(std::string_view line, std::string_view name) {
    std::string_view found;
    ScanAttributes(line, [&](std::string_view n, std::string_view value) {
        if (n != name) return false;
        found = value;
        return true;
    });
    return found;
}

std::string_view LineFields::Raw(std::string_view name) const {
    // The first attribute of that name wins.
    for (size_t i = 0; i < count_; ++i)
        if (std::string_view(attributes_[i].name, attributes_[i].nameSize) == name)
            return std::string_view(attributes_[i].value, attributes_[i].valueSize);
    return overflow_ ? RawAttribute(line_, name) : std::string_view();
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
    // Runs without a character to replace go in whole: most texts have none.
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const std::string_view reference = XmlReference(text[i]);
        if (reference.empty()) continue;
        out.append(text.data() + start, i - start);
        out += reference;
        start = i + 1;
    }
    out.append(text.data() + start, text.size() - start);
}

char* WriteFileDouble(char* p, double value) {
    if (!std::isfinite(value)) value = 0;
    if (value > kMaxFileMagnitude) value = kMaxFileMagnitude;
    if (value < -kMaxFileMagnitude) value = -kMaxFileMagnitude;
    // Most values are a plain integer count of ten-thousandths once scaled. Within the clamp the
    // product is off by at most 0.0012 from the exact one, so a scaled value further than that
    // from a half rounds as the exact decimal does; the rest go the long way.
    const double scaled = value * 10000.0;
    const double rounded = std::nearbyint(scaled);
    if (std::fabs(scaled - rounded) < 0.498) {
        const uint64_t n = static_cast<uint64_t>(std::fabs(rounded));
        if (std::signbit(value)) *p++ = '-';  // also -0.0000, as the C library writes it
        p = std::to_chars(p, p + 12, n / 10000).ptr;
        const unsigned frac = static_cast<unsigned>(n % 10000);
        p[0] = '.';
        p[1] = static_cast<char>('0' + frac / 1000);
        p[2] = static_cast<char>('0' + frac / 100 % 10);
        p[3] = static_cast<char>('0' + frac / 10 % 10);
        p[4] = static_cast<char>('0' + frac % 10);
        return p + 5;
    }
    return std::to_chars(p, p + kMaxFileDoubleChars, value, std::chars_format::fixed, 4).ptr;
}

void AppendFileDouble(std::string& out, double value) {
    char buffer[kMaxFileDoubleChars];
    out.append(buffer, WriteFileDouble(buffer, value));
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
        *error_ = Format(Tr("Line %d: %s").c_str(), lineNumber_, std::string(what).c_str());
    }
    return false;
}

bool LineFields::Fault(std::string_view name, std::string_view problem) {
    // `problem` is a marked format with the attribute's and the element's names.
    return Fail(Format(Tr(std::string(problem).c_str()).c_str(), std::string(name).c_str(),
                       std::string(element_).c_str()));
}

bool LineFields::Int(std::string_view name, int32_t lo, int32_t hi, int32_t* out) {
    std::string_view raw = Raw(name);
    if (raw.empty()) {
        return Fault(name, TR_NOOP("missing %s in <%s>"));
    }
    int32_t value = 0;
    switch (ParseFileInt(raw, &value)) {
        case NumberStatus::NotANumber:
            return Fault(name, TR_NOOP("%s in <%s> is not a number"));
        case NumberStatus::OutOfRange:
            return Fault(name, TR_NOOP("%s in <%s> is out of range"));
        case NumberStatus::Ok:
            break;
    }
    if (value < lo || value > hi) return Fault(name, TR_NOOP("%s in <%s> is out of range"));
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
        return Fault(name, TR_NOOP("missing %s in <%s>"));
    }
    switch (ParseFileDouble(raw, out)) {
        case NumberStatus::NotANumber:
            return Fault(name, TR_NOOP("%s in <%s> is not a number"));
        case NumberStatus::OutOfRange:
            return Fault(name, TR_NOOP("%s in <%s> is out of range"));
        case NumberStatus::Ok:
            break;
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

namespace {

std::string_view TrimCarriageReturn(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

}  // namespace

bool TextLines::Next(std::string_view* line) {
    if (pos_ >= text_.size()) return false;
    size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    *line = TrimCarriageReturn(text_.substr(pos_, end - pos_));
    pos_ = end + 1;
    ++lineNumber_;
    return true;
}

bool FileLines::Next(std::string_view* line) {
    constexpr size_t kBlock = 65536;
    for (;;) {
        size_t end = buffer_.find('\n', pos_);
        if (end != std::string::npos) {
            *line = TrimCarriageReturn(std::string_view(buffer_).substr(pos_, end - pos_));
            pos_ = end + 1;
            ++lineNumber_;
            return true;
        }
        if (eof_ || failed_) {
            if (pos_ >= buffer_.size()) return false;
            *line = TrimCarriageReturn(std::string_view(buffer_).substr(pos_));
            pos_ = buffer_.size();
            ++lineNumber_;
            return true;
        }
        // Keep the unfinished line and read the next block after it.
        buffer_.erase(0, pos_);
        pos_ = 0;
        size_t have = buffer_.size();
        buffer_.resize(have + kBlock);
        ssize_t n;
        do {
            n = ::read(fd_, buffer_.data() + have, kBlock);
        } while (n < 0 && errno == EINTR);
        if (n < 0) {
            failed_ = true;
            n = 0;
        }
        if (n == 0) eof_ = true;
        buffer_.resize(have + static_cast<size_t>(n));
    }
}

int OpenForReading(const std::string& path, std::string* error) {
    // Only regular files: a folder, a pipe or a device such as /dev/zero is not a layout, and
    // opening a pipe without O_NONBLOCK would wait for a writer forever.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    struct stat info {};
    if (fd >= 0 && (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode))) {
        ::close(fd);
        fd = -1;
    }
    if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (fd < 0) *error = Format(Tr("Cannot open file: %s").c_str(), path.c_str());
    return fd;
}
