// Phase estimates.
#include "PhaseResult.h"

#include "AnalysisParam.h"
#include "Result.h"

PhaseResult::PhaseResult(const Result& result, const AnalysisParam& param) {
    m_fCDCost = result.m_fCost;
    // The hours per man-month are an integer product; the division is in single precision.
    m_fCDMM = result.m_fManHours / static_cast<float>(param.m_nManMonthDays * 8);
    const double cost = m_fCDCost / 100.0;
    m_fLLDCost = static_cast<float>(cost * param.m_nLLD);
    m_fUTCost = static_cast<float>(cost * param.m_nUT);
    m_fITCost = static_cast<float>(cost * param.m_nIT);
    const double mm = m_fCDMM / 100.0;
    m_fLLDMM = static_cast<float>(param.m_nLLD * mm);
    m_fUTMM = static_cast<float>(param.m_nUT * mm);
    m_fITMM = static_cast<float>(param.m_nIT * mm);
}
