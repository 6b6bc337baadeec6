// The C style counter.
#include "CppCounter.h"

const wxString CppCounter::STYLE = "C";
CppCounter* CppCounter::GetInstance() {
    static CppCounter instance;
    return &instance;
}
