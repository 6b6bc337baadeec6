// PHP line classification.
#include "PhpCounter.h"

#include "ScriptPage.h"

#include <algorithm>

const wxString PhpCounter::STYLE = "PHP";

bool PhpCounter::MarkerWalk::Next(Found& found) {
    // Occurrences of one marker never overlap; those of different markers may ("/*/" holds
    // "/*" at 0 and "*/" at 1). No two markers can start at the same position.
    while (m_pos < m_line.size()) {
        m_pace.At(m_pos);
        for (const std::size_t due = std::min(m_line.size(), m_pace.Due()); m_pos < due; ++m_pos) {
            const char ch = m_line[m_pos];
            if (ch != '<' && ch != '?' && ch != '/' && ch != '*' && ch != '#')
                continue;
            for (int m = 0; m < 6; ++m) {
                if (m_pos >= m_resume[m] &&
                    m_line.compare(m_pos, MARKERS[m].size(), MARKERS[m]) == 0) {
                    found = {m_pos, static_cast<Marker>(m)};
                    m_resume[m] = m_pos + MARKERS[m].size();
                    ++m_pos;
                    return true;
                }
            }
        }
    }
    return false;
}

void PhpCounter::CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                            std::uint64_t& comment, std::uint64_t&, std::uint64_t& blank) {
    bool inScript = false;
    bool inComment = false;
    constexpr std::size_t none = std::string_view::npos;
    ForEachScriptLine(lines, total, blank, [&](std::string_view line) {
        Found f;
        MarkerWalk walk(line);
        if (!walk.Next(f)) {
            if (inScript && inComment)
                ++comment;
            else if (inScript)
                ++code;
            return;
        }
        // Neither marker overlaps itself, so the walk meets these same two.
        const std::size_t firstBegin = LinePace::Find(line, MARKERS[ScriptBegin]);
        const std::size_t lastEnd = LinePace::RFind(line, MARKERS[ScriptEnd]);
        bool skipToEnd = false, codeSeen = false, commentSeen = false;
        do {
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
        } while (walk.Next(f));
        if (codeSeen)
            ++code;
        if (commentSeen)
            ++comment;
    });
}
