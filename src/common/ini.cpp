#include "common/ini.h"

#include <algorithm>
#include <mutex>

#include "common/file_io.h"
#include "common/text.h"

namespace korvel::ini {

namespace {

// One lock for every INI access of the process: a write is a read-modify-write
// that must not interleave with another, and on Windows a file held open by a
// reader cannot be renamed over.
std::mutex& iniLock() {
    static std::mutex m;
    return m;
}

enum class Encoding { Utf8, Utf8Bom, Utf16LE, Utf16BE };

struct Content {
    std::u16string text;
    Encoding encoding = Encoding::Utf8;
};

Content decode(const std::string& bytes) {
    Content c;
    const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    if (n >= 2 && ((b[0] == 0xFF && b[1] == 0xFE) || (b[0] == 0xFE && b[1] == 0xFF))) {
        const bool le = b[0] == 0xFF;
        c.encoding = le ? Encoding::Utf16LE : Encoding::Utf16BE;
        c.text.reserve(n / 2);
        for (std::size_t i = 2; i + 1 < n; i += 2)
            c.text.push_back(static_cast<char16_t>(le ? (b[i] | (b[i + 1] << 8)) : ((b[i] << 8) | b[i + 1])));
        // An odd last byte cannot be a character; it is dropped.
        return c;
    }
    if (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) {
        c.encoding = Encoding::Utf8Bom;
        c.text = fromUtf8(std::string_view(bytes).substr(3));
        return c;
    }
    c.text = fromUtf8(bytes);
    return c;
}

std::string encode(const Content& c) {
    switch (c.encoding) {
        case Encoding::Utf8:
            return toUtf8(c.text);
        case Encoding::Utf8Bom:
            return "\xEF\xBB\xBF" + toUtf8(c.text);
        case Encoding::Utf16LE:
        case Encoding::Utf16BE: {
            const bool le = c.encoding == Encoding::Utf16LE;
            std::string out = le ? "\xFF\xFE" : "\xFE\xFF";
            out.reserve(2 + 2 * c.text.size());
            for (char16_t ch : c.text) {
                const char lo = static_cast<char>(ch & 0xFF), hi = static_cast<char>(ch >> 8);
                out.push_back(le ? lo : hi);
                out.push_back(le ? hi : lo);
            }
            return out;
        }
    }
    return {};
}

struct Line {
    std::u16string body;
    std::u16string eol;  // "", "\n", "\r\n" or "\r"
};

std::vector<Line> splitLines(std::u16string_view text) {
    // LF, CR LF and a lone CR each end a line, as for Windows' own reader.
    std::vector<Line> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string_view::npos) {
            lines.push_back({std::u16string(text.substr(start)), u""});
            break;
        }
        std::u16string eol = u"\n";
        if (text[end] == u'\r') eol = end + 1 < text.size() && text[end + 1] == u'\n' ? u"\r\n" : u"\r";
        lines.push_back({std::u16string(text.substr(start, end - start)), eol});
        start = end + eol.size();
    }
    return lines;
}

enum class Kind { Other, Section, Key };

struct Parsed {
    Kind kind = Kind::Other;
    std::u16string_view name;   // section or key name, trimmed
    std::u16string_view value;  // trimmed, quotes not yet stripped
};

Parsed parseLine(std::u16string_view body) {
    const std::u16string_view t = trimBlanks(body);
    Parsed p;
    if (t.empty() || t.front() == u';') return p;
    if (t.front() == u'[') {
        const auto close = t.rfind(u']');
        if (close == std::u16string_view::npos) return p;  // not a header: ignored
        p.kind = Kind::Section;
        p.name = trimBlanks(t.substr(1, close - 1));
        return p;
    }
    const auto eq = t.find(u'=');
    p.name = trimBlanks(t.substr(0, eq));
    if (p.name.empty()) return p;
    p.kind = Kind::Key;
    if (eq != std::u16string_view::npos) p.value = trimBlanks(t.substr(eq + 1));
    return p;
}

std::u16string stripQuotes(std::u16string_view v) {
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::u16string(v);
}

bool hasLineBreak(std::u16string_view s) {
    return s.find(u'\n') != std::u16string_view::npos || s.find(u'\r') != std::u16string_view::npos;
}

bool acceptable(const Write& w) {
    const auto section = trimBlanks(w.section);
    const auto key = trimBlanks(w.key);
    if (section.empty() || key.empty()) return false;
    if (hasLineBreak(w.section) || hasLineBreak(w.key) || hasLineBreak(w.value)) return false;
    if (section.find(u']') != std::u16string_view::npos) return false;
    if (key.find(u'=') != std::u16string_view::npos || key.front() == u'[' || key.front() == u';') return false;
    return true;
}

void applyOne(std::vector<Line>& lines, const Write& w, const std::u16string& defaultEol) {
    const auto section = trimBlanks(w.section);
    const auto key = trimBlanks(w.key);
    const std::u16string value(trimBlanks(w.value));

    std::size_t header = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = parseLine(lines[i].body);
        if (p.kind == Kind::Section && equalsNoCase(p.name, section)) {
            header = i;
            break;
        }
    }
    if (header == lines.size()) {
        if (!lines.empty() && lines.back().eol.empty()) lines.back().eol = defaultEol;
        lines.push_back({u"[" + std::u16string(section) + u"]", defaultEol});
        lines.push_back({std::u16string(key) + u"=" + value, defaultEol});
        return;
    }
    std::size_t lastContent = header;
    for (std::size_t i = header + 1; i < lines.size(); ++i) {
        const Parsed p = parseLine(lines[i].body);
        if (p.kind == Kind::Section) break;
        if (p.kind == Kind::Key && equalsNoCase(p.name, key)) {
            // Replace in place, keeping the name as the file spells it.
            lines[i].body = std::u16string(p.name) + u"=" + value;
            return;
        }
        if (!trimBlanks(lines[i].body).empty()) lastContent = i;
    }
    if (lines[lastContent].eol.empty()) lines[lastContent].eol = defaultEol;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(lastContent) + 1,
                 Line{std::u16string(key) + u"=" + value, defaultEol});
}

std::u16string joinLines(const std::vector<Line>& lines) {
    std::u16string out;
    for (const auto& l : lines) {
        out += l.body;
        out += l.eol;
    }
    return out;
}

std::u16string eolOf(const std::vector<Line>& lines) {
    for (const auto& l : lines)
        if (!l.eol.empty()) return l.eol;
    return u"\r\n";
}

std::u16string applyToText(std::u16string_view text, const std::vector<Write>& writes, bool& ok) {
    ok = true;
    for (const auto& w : writes)
        if (!acceptable(w)) ok = false;
    if (!ok) return std::u16string(text);
    auto lines = splitLines(text);
    const auto eol = eolOf(lines);
    for (const auto& w : writes) applyOne(lines, w, eol);
    return joinLines(lines);
}

}  // namespace

Snapshot Snapshot::fromText(std::u16string_view content) {
    Snapshot s;
    s.exists_ = true;
    // Only the first section of a name is visible, as with Windows: keys of a
    // later section of the same name are never found.
    std::u16string current;
    bool inSection = false, visible = false;
    std::vector<std::u16string> seen;
    for (const auto& line : splitLines(content)) {
        const Parsed p = parseLine(line.body);
        if (p.kind == Kind::Section) {
            current.assign(p.name);
            inSection = true;
            visible = true;
            for (const auto& name : seen)
                if (equalsNoCase(name, current)) visible = false;
            if (visible) seen.push_back(current);
        } else if (p.kind == Kind::Key && inSection && visible) {
            s.entries_.push_back({current, std::u16string(p.name), stripQuotes(p.value)});
        }
    }
    return s;
}

Snapshot Snapshot::load(std::u16string_view path) {
    std::optional<std::string> bytes;
    {
        std::lock_guard lock(iniLock());
        bytes = readWholeFile(path);
    }
    if (!bytes) return Snapshot{};
    return fromText(decode(*bytes).text);
}

const Snapshot::Entry* Snapshot::find(std::u16string_view section, std::u16string_view key) const {
    section = trimBlanks(section);
    key = trimBlanks(key);
    for (const auto& e : entries_)
        if (equalsNoCase(e.section, section) && equalsNoCase(e.key, key)) return &e;
    return nullptr;
}

std::u16string Snapshot::get(std::u16string_view section, std::u16string_view key, std::size_t capacity) const {
    const Entry* e = find(section, key);
    if (!e || capacity == 0) return {};
    // A zero character ends the text, as it ends a C string for Windows.
    const std::u16string_view value(e->value.data(), std::min(e->value.size(), e->value.find(u'\0')));
    return std::u16string(value.substr(0, capacity - 1));
}

bool Snapshot::has(std::u16string_view section, std::u16string_view key) const { return find(section, key) != nullptr; }

std::u16string readString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                          std::size_t capacity) {
    return Snapshot::load(path).get(section, key, capacity);
}

std::u16string applyWrites(std::u16string_view content, const std::vector<Write>& writes, bool* ok) {
    bool accepted = true;
    auto out = applyToText(content, writes, accepted);
    if (ok) *ok = accepted;
    return out;
}

bool writeStrings(std::u16string_view path, const std::vector<Write>& writes) {
    std::lock_guard lock(iniLock());
    Content content;
    if (auto bytes = readWholeFile(path)) {
        content = decode(*bytes);
    } else if (fileExists(path)) {
        return false;  // there but unreadable: never replace what we could not read
    }
    bool ok = true;
    content.text = applyToText(content.text, writes, ok);
    if (!ok) return false;
    return replaceFileAtomically(path, encode(content));
}

bool writeString(std::u16string_view path, std::u16string_view section, std::u16string_view key,
                 std::u16string_view value) {
    return writeStrings(path, {Write{std::u16string(section), std::u16string(key), std::u16string(value)}});
}

}  // namespace korvel::ini
