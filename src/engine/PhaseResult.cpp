// Phase estimates.
#include "PhaseResult.h"

#include "AnalysisParam.h"
#include "Result.h"

PhaseResult::PhaseResult(const Result& result, const AnalysisParam& param) {
    // In double throughout: the coding cost is the total's own, to the cent.
    m_fCDCost = result.m_fCost;
    m_fCDMM = result.m_fManHours / (param.m_nManMonthDays * AnalysisParam::HOURS_PER_DAY);
    const double cost = m_fCDCost / 100.0;
    m_fLLDCost = cost * param.m_nLLD;
    m_fUTCost = cost * param.m_nUT;
    m_fITCost = cost * param.m_nIT;
    const double mm = m_fCDMM / 100.0;
    m_fLLDMM = param.m_nLLD * mm;
    m_fUTMM = param.m_nUT * mm;
    m_fITMM = param.m_nIT * mm;
}
