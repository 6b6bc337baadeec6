// Coefficients of the effort and test estimates.
#pragma once

class AnalysisParam {
public:
    virtual ~AnalysisParam() = default;

    // Working hours in a man-day, which turn man-days into man-hours.
    static constexpr int HOURS_PER_DAY = 8;

    bool m_bValid = false; // the user edited at least one value
    int m_nUTCaseDensity = 50;
    int m_nUTDefectDensity = 10;
    int m_nITCaseDensity = 20;
    int m_nITDefectDensity = 2;
    int m_nManMonthLines = 4000;
    int m_nManMonthDays = 20;
    int m_nManMonthCost = 10000;
    int m_nLLD = 100; // percent of coding effort
    int m_nUT = 100;
    int m_nIT = 40;
};
