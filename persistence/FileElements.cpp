// Writing and reading element attributes in the file's form, and the piece element with its joints.
#include "persistence/FileElements.h"

#include <algorithm>
#include <charconv>

#include "catalog/TrackCatalog.h"

char* AttributeWriter::Start(std::string_view name, size_t room) {
    // Names are short literals, and every caller asks for less room than half the line.
    if (used_ + name.size() + 3 + room > sizeof line_) Flush();
    char* p = line_ + used_;
    *p++ = ' ';
    p = std::copy(name.begin(), name.end(), p);
    *p++ = '=';
    *p++ = '"';
    return p;
}

void AttributeWriter::End(char* p) {
    *p++ = '"';
    used_ = static_cast<size_t>(p - line_);
}

void AttributeWriter::Integer(std::string_view name, int64_t value) {
    char* p = Start(name, 24);
    End(std::to_chars(p, p + 22, value).ptr);
}

void AttributeWriter::Double(std::string_view name, double value, unsigned) {
    End(WriteFileDouble(Start(name, kMaxFileDoubleChars + 1), value));
}

void AttributeWriter::Text(std::string_view name, std::string_view text, std::string_view,
                           unsigned) {
    if (text.size() > kShortText) {
        Flush();
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        AppendEscapedXml(out_, text);
        out_ += '"';
        return;
    }
    char* p = Start(name, text.size() * kLongestReference + 1);
    for (char c : text) {
        const std::string_view reference = XmlReference(c);
        if (reference.empty())
            *p++ = c;
        else
            p = std::copy(reference.begin(), reference.end(), p);
    }
    End(p);
}

void AttributeWriter::Fixed(std::string_view name, std::string_view value) {
    char* p = Start(name, value.size() + 1);
    End(std::copy(value.begin(), value.end(), p));
}

void AttributeReader::Colour(std::string_view name, bool& hasColour, Rgb& colour, unsigned rules) {
    int32_t value = -1;
    if (!Takes(rules) || !(ok_ = f_.OptionalInt(name, 0, 0xFFFFFF, -1, &value)) || value < 0)
        return;
    hasColour = true;
    colour = Rgb{static_cast<uint8_t>((value >> 16) & 0xFF),
                 static_cast<uint8_t>((value >> 8) & 0xFF), static_cast<uint8_t>(value & 0xFF)};
}

void AppendPieceElement(std::string& out, const PlacedPiece& piece, std::string_view indent) {
    AppendElement<PieceElement>(out, indent, ">\n", piece);
    const std::string jointIndent = std::string(indent) + "  ";
    for (size_t c = 0; c < piece.joints.size(); ++c) {
        if (piece.joints[c].IsOpen()) continue;
        AppendElement<JointElement>(out, jointIndent, "/>\n",
                                    JointLine{static_cast<int32_t>(c), piece.joints[c]});
    }
    out += indent;
    out += "</piece>\n";
}

bool ReadJointLine(LineFields& fields, PlacedPiece* piece) {
    JointLine line;
    if (!ReadElement<JointElement>(fields, FileReader::Layout, line)) return false;
    if (static_cast<size_t>(line.conn) >= piece->joints.size()) {
        // Most pieces have two ends: room for both at the first joint saves a second allocation.
        if (piece->joints.capacity() < 2) piece->joints.reserve(2);
        piece->joints.resize(line.conn + 1);
    }
    piece->joints[line.conn] = line.joint;
    return true;
}

void PadJointSlots(std::vector<PlacedPiece>& pieces) {
    const TrackCatalog& catalog = TrackCatalog::Instance();
    for (PlacedPiece& p : pieces) {
        const PieceDef* def = catalog.Find(p.article);
        if (def && p.joints.size() < def->connectors.size())
            p.joints.resize(def->connectors.size());
    }
}
