#include "core/base/ini_text.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <vector>

#include "core/base/numbers.h"

namespace quillon {

namespace {

// One line of the text: [begin, end) without its line end, next = start of the next line.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

std::vector<Line> linesOf(std::string_view text) {
    std::vector<Line> lines;
    std::size_t begin = 0;
    while (begin < text.size()) {
        const std::size_t feed = text.find('\n', begin);
        const std::size_t next = feed == std::string_view::npos ? text.size() : feed + 1;
        std::size_t end = feed == std::string_view::npos ? text.size() : feed;
        if (end > begin && text[end - 1] == '\r') {
            --end;
        }
        lines.push_back({begin, end, next});
        begin = next;
    }
    return lines;
}

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The section name of a header line "[name]", nothing for other lines.
std::optional<std::string_view> headerName(std::string_view line) {
    line = trimmed(line);
    const std::size_t close = line.find(']');
    if (line.empty() || line.front() != '[' || close == std::string_view::npos) {
        return std::nullopt;
    }
    return trimmed(line.substr(1, close - 1));
}

// The key of a "key=value" line, nothing for comments, headers and other lines.
std::optional<std::string_view> keyName(std::string_view line) {
    const std::string_view t = trimmed(line);
    const std::size_t equals = t.find('=');
    if (t.empty() || t.front() == ';' || t.front() == '#' || t.front() == '[' ||
        equals == std::string_view::npos) {
        return std::nullopt;
    }
    return trimmed(t.substr(0, equals));
}

// Where section's lines are: the header's index and the index behind its last line.
struct SectionLines {
    std::size_t header;
    std::size_t end;
};

std::optional<SectionLines> findSection(std::string_view text, const std::vector<Line>& lines,
                                        std::string_view section) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = headerName(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (!name || !sameName(*name, section)) {
            continue;
        }
        std::size_t end = i + 1;
        while (end < lines.size() &&
               !headerName(text.substr(lines[end].begin, lines[end].end - lines[end].begin))) {
            ++end;
        }
        return SectionLines{i, end};
    }
    return std::nullopt;
}

std::string_view lineEnd(std::string_view text) {
    return text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
}

std::string keyLine(std::string_view key, std::string_view value) {
    const bool quoted = !value.empty() && trimmed(value).size() != value.size();
    std::string line(key);
    line += '=';
    if (quoted) {
        line += '"';
    }
    line += value;
    if (quoted) {
        line += '"';
    }
    return line;
}

// The key's line within the section, or the index behind the section's last key line when
// it has none (found = false).
std::size_t keyLineIndex(std::string_view text, const std::vector<Line>& lines,
                         const SectionLines& s, std::string_view key, bool& found) {
    std::size_t behindLastKey = s.header + 1;
    for (std::size_t i = s.header + 1; i < s.end; ++i) {
        const auto name = keyName(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
        if (name && sameName(*name, key)) {
            found = true;
            return i;
        }
        if (name) {
            behindLastKey = i + 1;
        }
    }
    found = false;
    return behindLastKey;
}

}  // namespace

std::string setIniValue(std::string_view text, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::vector<Line> lines = linesOf(text);
    const std::string_view eol = lineEnd(text);
    const std::string line = keyLine(key, value);
    const std::optional<SectionLines> s = findSection(text, lines, section);
    std::string out;
    if (!s) {
        out = text;
        if (!out.empty() && out.back() != '\n') {
            out += eol;
        }
        return out.append("[").append(section).append("]").append(eol).append(line).append(eol);
    }
    bool found = false;
    const std::size_t at = keyLineIndex(text, lines, *s, key, found);
    if (found) {
        out = text.substr(0, lines[at].begin);
        out += line;
        return out.append(text.substr(lines[at].end));
    }
    // A new line before line `at`, or at the end of the text.
    const std::size_t place = at < lines.size() ? lines[at].begin : text.size();
    out = text.substr(0, place);
    if (!out.empty() && out.back() != '\n') {
        out += eol;
    }
    out.append(line).append(eol);
    return out.append(text.substr(place));
}

std::string removeIniKey(std::string_view text, std::string_view section, std::string_view key) {
    const std::vector<Line> lines = linesOf(text);
    const std::optional<SectionLines> s = findSection(text, lines, section);
    bool found = false;
    const std::size_t at = s ? keyLineIndex(text, lines, *s, key, found) : 0;
    if (!found) {
        return std::string(text);
    }
    return std::string(text.substr(0, lines[at].begin)).append(text.substr(lines[at].next));
}

}  // namespace quillon
