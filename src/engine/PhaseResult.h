// Cost and man-months of each project phase, derived from a result and the coefficients.
#pragma once

class AnalysisParam;
class Result;

class PhaseResult {
public:
    PhaseResult(const Result& result, const AnalysisParam& param);
    virtual ~PhaseResult() = default;

    double m_fCDCost;
    double m_fCDMM;
    double m_fLLDCost;
    double m_fLLDMM;
    double m_fUTCost;
    double m_fUTMM;
    double m_fITCost;
    double m_fITMM;
};
