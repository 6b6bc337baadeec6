// Filter parameters.
#include "FilterParam.h"

void FilterParam::Clear() {
    m_arrDirs.Clear();
    m_arrExts.Clear();
    m_arrDates.Clear();
}

void FilterParam::Sort() {
    m_arrDirs.Sort();
    m_arrExts.Sort();
    m_arrDates.Sort();
}
