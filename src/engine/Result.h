// The counts and estimates shared by every kind of result record.
#pragma once

#include <cstddef>

class Result {
public:
    virtual ~Result() = default;

    void Reset();
    // Adds another record's file count, size and line counts (not its estimates).
    void AddCounts(const Result& other, std::size_t files);
    // Adds another record's six estimates.
    void AddEstimates(const Result& other);

    std::size_t m_nFiles = 0;
    std::size_t m_nSize = 0;
    std::size_t m_nLines = 0;
    std::size_t m_nCodeLines = 0;
    std::size_t m_nCodeCommentLines = 0;
    std::size_t m_nCommentLines = 0;
    std::size_t m_nBlankLines = 0;
    // A file's estimates are rounded to single precision when computed; sums over many files
    // need the double width to stay equal, to the cent, to the sum of their rows.
    double m_fManHours = 0;
    double m_fCost = 0;
    double m_fUtCases = 0;
    double m_fUtDefects = 0;
    double m_fItCases = 0;
    double m_fItDefects = 0;
};
