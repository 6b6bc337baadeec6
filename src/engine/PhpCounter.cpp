// PHP line classification.
#include "PhpCounter.h"

#include "ScriptPage.h"

const wxString PhpCounter::STYLE = "PHP";

void PhpCounter::FindMarkers(std::string_view line) {
    m_found.clear();
    // Occurrences of one marker never overlap; those of different markers may ("/*/" holds
    // "/*" at 0 and "*/" at 1). No two markers can start at the same position.
    std::size_t resume[6] = {};
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char ch = line[i];
        if (ch != '<' && ch != '?' && ch != '/' && ch != '*' && ch != '#')
            continue;
        for (int m = 0; m < 6; ++m) {
            if (i >= resume[m] && line.compare(i, MARKERS[m].size(), MARKERS[m]) == 0) {
                m_found.push_back({i, static_cast<Marker>(m)});
                resume[m] = i + MARKERS[m].size();
            }
        }
    }
}

void PhpCounter::CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                            std::uint64_t& comment, std::uint64_t&, std::uint64_t& blank) {
    bool inScript = false;
    bool inComment = false;
    constexpr std::size_t none = std::string_view::npos;
    ForEachScriptLine(lines, total, blank, [&](std::string_view line) {
        FindMarkers(line);
        if (m_found.empty()) {
            if (inScript && inComment)
                ++comment;
            else if (inScript)
                ++code;
            return;
        }
        std::size_t firstBegin = none, lastEnd = none;
        for (const Found& f : m_found) {
            if (f.marker == ScriptBegin && firstBegin == none)
                firstBegin = f.pos;
            if (f.marker == ScriptEnd)
                lastEnd = f.pos;
        }
        bool skipToEnd = false, codeSeen = false, commentSeen = false;
        for (const Found& f : m_found) {
            if (!inScript) {
                if (f.marker == ScriptBegin) {
                    inScript = true;
                    codeSeen = true;
                }
            } else if (skipToEnd) {
                if (f.marker == ScriptEnd) {
                    skipToEnd = false;
                    inScript = false;
                }
            } else if (inComment) {
                if (f.marker == BlockEnd)
                    inComment = false;
                commentSeen = true;
            } else if (f.marker == LineComment || f.marker == HashComment) {
                commentSeen = true;
                if (f.pos > 0)
                    codeSeen = true;
                // A "?>" behind the comment still ends the script; otherwise the rest of
                // the line is comment.
                if (lastEnd == none || lastEnd < f.pos)
                    break;
                skipToEnd = true;
            } else if (f.marker == BlockBegin) {
                commentSeen = true;
                if (f.pos > 0)
                    codeSeen = true;
                inComment = true;
            } else if (f.marker == ScriptEnd) {
                if (firstBegin == none || firstBegin > f.pos)
                    codeSeen = true;
                inScript = false;
            }
        }
        if (codeSeen)
            ++code;
        if (commentSeen)
            ++comment;
    });
}
