// The abstract line counter behind every source style.
#pragma once

#include "TextLines.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <wx/string.h>

class AnalysisParam;
class CounterRule;
class CountingParam;
class FileResult;

class Counter {
public:
    // A rule's comment markers as ISO-8859-1 bytes; an empty marker is absent.
    struct Markers {
        std::string single;
        std::string begin;
        std::string end;
    };

    Counter() = default;
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;
    virtual ~Counter() = default;

    // Counts the file at result->m_strPath and fills its size, modification time and lines.
    // False when the file could not be opened or read in full, a stop during it included (its
    // lines then stay zero); a file that is not a regular file is no failure.
    bool Count(FileResult* result, CountingParam* countingParam, AnalysisParam* analysisParam);

    // Adds the lines of one file to the five counters.
    virtual void CountLines(const TextLines& lines, std::uint64_t& total, std::uint64_t& code,
                            std::uint64_t& comment, std::uint64_t& codeComment,
                            std::uint64_t& blank) = 0;

    // The line loop of the rule-driven styles. A null rule counts as one without markers.
    void CountByRule(const TextLines& lines, const CounterRule* rule, std::uint64_t& total,
                     std::uint64_t& code, std::uint64_t& comment, std::uint64_t& codeComment,
                     std::uint64_t& blank);

    // Classifies one line (or the rest of one) with the given markers.
    static void ParseLine(const Markers& markers, std::string_view line, bool& hasComment,
                          bool& hasCode, bool& inBlock);

    CounterRule* m_rule = nullptr; // not owned

protected:
    // The markers of a rule, converted once and again only when the rule changes.
    const Markers& MarkersOf(const CounterRule* rule);

private:
    const CounterRule* m_markersRule = nullptr;
    wxString m_markersSource[3];
    Markers m_markers;
};
