// Cost and man-months of each project phase, derived from a result and the coefficients.
#pragma once

class AnalysisParam;
class Result;

class PhaseResult {
public:
    PhaseResult(const Result& result, const AnalysisParam& param);
    virtual ~PhaseResult() = default;

    float m_fCDCost;
    float m_fCDMM;
    float m_fLLDCost;
    float m_fLLDMM;
    float m_fUTCost;
    float m_fUTMM;
    float m_fITCost;
    float m_fITMM;
};
