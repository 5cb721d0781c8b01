#include "core/settings/ini_text.h"

#include <cstddef>

namespace qfd {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kNewLine = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Names asked for lose leading and trailing spaces only; a tab stays part of the name.
std::string_view TrimSpaces(std::string_view s) {
    while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
    return s;
}

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
        return v.substr(1, v.size() - 2);
    }
    return v;
}

struct Line {
    std::size_t begin = 0;       // first byte of the line
    std::size_t contentEnd = 0;  // first byte of the line break (or the end of the file)
    std::size_t end = 0;         // first byte after the line break
    bool terminated() const { return end > contentEnd; }
};

enum class LineKind { Other, Header, Key, NoEquals };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;   // section name, key name or the whole text of a line without '='
    std::string_view value;  // trimmed raw value of a key line
};

// Splits at CRLF, LF or a lone CR.
class LineReader {
  public:
    LineReader(std::string_view text, std::size_t start) : text_(text), pos_(start) {}

    bool Next(Line& line) {
        if (pos_ >= text_.size()) return false;
        line.begin = pos_;
        const std::string_view rest = text_.substr(pos_);
        const std::size_t lf = rest.find('\n');
        const std::size_t cr = rest.substr(0, lf).find('\r');
        const std::size_t breakAt = cr != std::string_view::npos ? cr : lf;
        if (breakAt == std::string_view::npos) {
            line.contentEnd = line.end = text_.size();
        } else {
            line.contentEnd = pos_ + breakAt;
            const bool crlf = breakAt == cr && cr + 1 == lf;
            line.end = line.contentEnd + (crlf ? 2 : 1);
        }
        pos_ = line.end;
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_;
};

bool LooksLikeHeader(std::string_view content) {
    const std::size_t first = content.find_first_not_of(" \t");
    return first != std::string_view::npos && content[first] == '[';
}

ParsedLine Parse(std::string_view content) {
    ParsedLine p;
    if (content.find('\0') != std::string_view::npos) return p;  // never a key or a header
    std::string_view t = TrimBlanks(content);
    if (t.empty() || t.front() == ';') return p;
    if (t.front() == '[') {
        std::string_view inner = t.substr(1);
        std::size_t close = inner.find(']');
        p.kind = LineKind::Header;
        p.name = TrimBlanks(close == std::string_view::npos ? inner : inner.substr(0, close));
        return p;
    }
    std::size_t eq = t.find('=');
    if (eq == std::string_view::npos) {
        p.kind = LineKind::NoEquals;
        p.name = t;
        return p;
    }
    p.kind = LineKind::Key;
    p.name = TrimBlanks(t.substr(0, eq));
    p.value = TrimBlanks(t.substr(eq + 1));
    return p;
}

std::size_t BodyStart(std::string_view file) {
    return file.starts_with(kUtf8ByteOrderMark) ? kUtf8ByteOrderMark.size() : 0;
}

// Where the bytes that an edit keeps begin: the byte order mark is dropped, as the platform's
// writer does, unless another one follows it. Dropping it then would make the second one the
// mark that readers skip, and turn the line behind it into another line (a header, say).
std::size_t KeptStart(std::string_view file) {
    const std::size_t body = BodyStart(file);
    return BodyStart(file.substr(body)) > 0 ? 0 : body;
}

// Where a key stands (or would go) in the file.
struct KeyPlace {
    bool sectionFound = false;
    std::optional<Line> keyLine;        // the first line of the key
    std::optional<Line> noEqualsLine;   // a value-less line spelling the key's name
    std::optional<Line> lastKeyOrHead;  // the line a new key goes after
};

// Reads stop at the key; writes go on to the section's end to find where a new key goes.
enum class Scan { UntilKey, WholeSection };

KeyPlace Locate(std::string_view file, std::string_view section, std::string_view key, Scan scan) {
    KeyPlace place;
    LineReader reader(file, BodyStart(file));
    Line line;
    bool inSection = false;
    while (reader.Next(line)) {
        const std::string_view content = file.substr(line.begin, line.contentEnd - line.begin);
        // Outside the section only headers matter; skip the rest cheaply.
        if (!inSection && !LooksLikeHeader(content)) continue;
        ParsedLine p = Parse(content);
        if (p.kind == LineKind::Header) {
            if (place.sectionFound) break;  // only the first section of a name counts
            inSection = SameName(p.name, section);
            if (inSection) {
                place.sectionFound = true;
                place.lastKeyOrHead = line;
            }
            continue;
        }
        if (!inSection) continue;
        if (p.kind == LineKind::Key) {
            place.lastKeyOrHead = line;
            if (!place.keyLine && SameName(p.name, key)) {
                place.keyLine = line;
                if (scan == Scan::UntilKey) break;
            }
        } else if (p.kind == LineKind::NoEquals && !place.noEqualsLine && SameName(p.name, key)) {
            place.noEqualsLine = line;
        }
    }
    return place;
}

}  // namespace

std::string_view ReadBackForm(std::string_view raw) { return Unquote(TrimBlanks(raw)); }

std::optional<IniValue> FindIniValue(std::string_view file, std::string_view section,
                                     std::string_view key) {
    const std::string_view wantSection = TrimSpaces(section);
    const std::string_view wantKey = TrimSpaces(key);
    KeyPlace place = Locate(file, wantSection, wantKey, Scan::UntilKey);
    if (!place.keyLine) return std::nullopt;
    const Line& line = *place.keyLine;
    ParsedLine p = Parse(file.substr(line.begin, line.contentEnd - line.begin));
    return IniValue{Unquote(p.value), line.terminated()};
}

std::optional<std::string> SetIniValue(std::string_view file, std::string_view section,
                                       std::string_view key, std::string_view value) {
    const std::string_view wantSection = TrimSpaces(section);
    const std::string_view wantKey = TrimSpaces(key);
    const std::size_t body = KeptStart(file);
    KeyPlace place = Locate(file, wantSection, wantKey, Scan::WholeSection);

    std::string out;
    out.reserve(file.size() + wantSection.size() + wantKey.size() + value.size() + 8);
    auto keepBytes = [&](std::size_t from, std::size_t to) {
        out.append(file.substr(from, to - from));
    };

    const std::optional<Line>& existing = place.keyLine ? place.keyLine : place.noEqualsLine;
    if (existing) {
        ParsedLine p = Parse(file.substr(existing->begin, existing->contentEnd - existing->begin));
        if (p.kind == LineKind::Key && Unquote(p.value) == ReadBackForm(value)) return std::nullopt;
        keepBytes(body, existing->begin);
        out.append(p.name).append("=").append(value);  // the key keeps its spelling in the file
        if (!existing->terminated()) out.append(kNewLine);
        keepBytes(existing->contentEnd, file.size());
        return out;
    }

    if (place.sectionFound) {
        const Line& after = *place.lastKeyOrHead;
        keepBytes(body, after.end);
        if (!after.terminated()) out.append(kNewLine);
        out.append(wantKey).append("=").append(value).append(kNewLine);
        keepBytes(after.end, file.size());
        return out;
    }

    keepBytes(body, file.size());
    if (!out.empty() && out.back() != '\n' && out.back() != '\r') out.append(kNewLine);
    out.append("[").append(wantSection).append("]").append(kNewLine);
    out.append(wantKey).append("=").append(value).append(kNewLine);
    return out;
}

}  // namespace qfd
