// Result records: resetting and summing.
#include "Result.h"

void Result::Reset() {
    m_nFiles = m_nSize = m_nLines = 0;
    m_nCodeLines = m_nCodeCommentLines = m_nCommentLines = m_nBlankLines = 0;
    m_fManHours = m_fCost = m_fUtCases = m_fUtDefects = m_fItCases = m_fItDefects = 0;
}

void Result::AddCounts(const Result& other, std::size_t files) {
    m_nFiles += files;
    m_nSize += other.m_nSize;
    m_nLines += other.m_nLines;
    m_nCodeLines += other.m_nCodeLines;
    m_nCodeCommentLines += other.m_nCodeCommentLines;
    m_nCommentLines += other.m_nCommentLines;
    m_nBlankLines += other.m_nBlankLines;
}

void Result::AddEstimates(const Result& other) {
    m_fManHours += other.m_fManHours;
    m_fCost += other.m_fCost;
    m_fUtCases += other.m_fUtCases;
    m_fUtDefects += other.m_fUtDefects;
    m_fItCases += other.m_fItCases;
    m_fItDefects += other.m_fItDefects;
}
