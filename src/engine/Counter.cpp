// The file reading frame of every counter and the rule-driven line classifier.
#include "Counter.h"

#include "CounterRule.h"
#include "FileResult.h"
#include "LinePace.h"
#include "SourceFile.h"
#include "WhiteSpace.h"

#include <ctime>
#include <new>

namespace {
// The years a date column can show; times beyond them make no valid date.
constexpr std::time_t kEarliestTime = -62135596800 + 86400; // 0001-01-02
constexpr std::time_t kLatestTime = 253402300799 - 86400;   // 9999-12-30

// A marker with a character outside ISO-8859-1 can never match a byte: it stays empty.
std::string ToLatin1(const wxString& marker) {
    std::string bytes;
    bytes.reserve(marker.length());
    for (wxUniChar ch : marker) {
        const auto code = ch.GetValue();
        if (code > 0xFF)
            return std::string();
        bytes.push_back(static_cast<char>(code));
    }
    return bytes;
}

// Finds one marker in the shrinking rest of a line. The rest only loses text at its ends, so
// an earlier result stays true until the front moves past it; each byte is searched about
// once per marker, however many comments the line holds.
class MarkerSearch {
public:
    explicit MarkerSearch(const std::string& marker) : m_marker(marker) {}

    // Position of the first occurrence in the rest, or npos. An empty marker is absent.
    std::size_t In(std::string_view rest) {
        if (m_marker.empty())
            return std::string_view::npos;
        const char* begin = rest.data();
        if (!m_searched || (m_found && m_found < begin)) {
            const std::size_t at = LinePace::Find(rest, m_marker);
            m_found = at == std::string_view::npos ? nullptr : begin + at;
            m_searched = true;
        }
        if (!m_found || m_found + m_marker.size() > begin + rest.size())
            return std::string_view::npos;
        return static_cast<std::size_t>(m_found - begin);
    }

private:
    std::string_view m_marker;
    const char* m_found = nullptr;
    bool m_searched = false;
};
} // namespace

bool Counter::Count(FileResult* result, CountingParam*, AnalysisParam*) {
    std::uint64_t total = 0, code = 0, comment = 0, codeComment = 0, blank = 0;
    SourceFile file;
    if (!file.Open(result->m_strPath))
        return !file.Failed();
    // A time that makes no valid date is treated like one that cannot be read.
    const std::time_t modified = file.ModificationTime();
    if (modified >= kEarliestTime && modified <= kLatestTime) {
        const wxDateTime when(modified);
        if (when.IsValid())
            result->m_dtModified = when;
    }
    try {
        CountLines(TextLines(file.Reader()), total, code, comment, codeComment, blank);
    } catch (const std::bad_alloc&) {
        return false; // memory for this one file: the run goes on without its lines
    } catch (const LinePace::Stopped&) {
        return false; // stopped while a giant line was classified
    }
    // Failed like a file that cannot be read as text, or stopped between two chunks: the
    // lines of a part of a file never pass for the whole.
    if (file.Failed() || file.Reader().Stopped())
        return false;
    result->m_nSize = file.Size();
    result->m_nLines = total;
    result->m_nCodeLines = code;
    result->m_nCommentLines = comment;
    result->m_nCodeCommentLines = codeComment;
    result->m_nBlankLines = blank;
    return true;
}

const Counter::Markers& Counter::MarkersOf(const CounterRule* rule) {
    static const Markers none;
    if (!rule)
        return none;
    if (rule != m_markersRule || m_markersSource[0] != rule->m_strSingleLineComment ||
        m_markersSource[1] != rule->m_strMultiLineCommentBegin ||
        m_markersSource[2] != rule->m_strMultiLineCommentEnd) {
        m_markersRule = rule;
        m_markersSource[0] = rule->m_strSingleLineComment;
        m_markersSource[1] = rule->m_strMultiLineCommentBegin;
        m_markersSource[2] = rule->m_strMultiLineCommentEnd;
        m_markers.single = ToLatin1(m_markersSource[0]);
        m_markers.begin = ToLatin1(m_markersSource[1]);
        m_markers.end = ToLatin1(m_markersSource[2]);
    }
    return m_markers;
}

void Counter::CountByRule(const TextLines& lines, const CounterRule* rule, std::uint64_t& total,
                          std::uint64_t& code, std::uint64_t& comment, std::uint64_t& codeComment,
                          std::uint64_t& blank) {
    const Markers& markers = MarkersOf(rule);
    bool inBlock = false;
    for (std::string_view line : lines) {
        ++total;
        line = Trim(line);
        if (line.empty()) {
            ++blank;
            continue;
        }
        bool hasComment = false, hasCode = false;
        ParseLine(markers, line, hasComment, hasCode, inBlock);
        if (hasComment && hasCode)
            ++codeComment;
        else if (hasComment)
            ++comment;
        else if (hasCode)
            ++code;
    }
}

void Counter::ParseLine(const Markers& markers, std::string_view line, bool& hasComment,
                        bool& hasCode, bool& inBlock) {
    constexpr auto npos = std::string_view::npos;
    MarkerSearch single(markers.single), begin(markers.begin), end(markers.end);
    const char* const start = line.data();
    LinePace pace;
    // Each pass classifies the text behind the marker that ended the previous one; a loop
    // rather than recursion, so a line holding a million markers cannot exhaust the stack.
    for (;;) {
        pace.At(static_cast<std::size_t>(line.data() - start));
        line = Trim(line);
        if (line.empty())
            return;
        if (inBlock) {
            hasComment = true;
            const std::size_t e = end.In(line);
            if (e == npos)
                return;
            inBlock = false;
            line.remove_prefix(e + markers.end.size());
            continue;
        }
        const std::size_t s = single.In(line);
        const std::size_t b = begin.In(line);
        if (s != npos && (b == npos || s < b)) {
            hasComment = true;
            if (s > 0)
                hasCode = true;
            return;
        }
        if (b == npos) {
            hasCode = true;
            return;
        }
        inBlock = true;
        hasComment = true;
        if (b > 0)
            hasCode = true;
        line.remove_prefix(b + markers.begin.size());
    }
}
