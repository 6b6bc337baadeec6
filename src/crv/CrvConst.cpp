// The file list's column titles.
#include "CrvConst.h"

#include <wx/intl.h>

const wxArrayString& CrvConst::GetColumnTitles() {
    static wxArrayString titles;
    if (titles.empty()) {
        for (const char* title :
             {wxTRANSLATE("File"), wxTRANSLATE("Type"), wxTRANSLATE("Folder"),
              wxTRANSLATE("Total Lines"), wxTRANSLATE("Code lines"), wxTRANSLATE("Code//Comment"),
              wxTRANSLATE("Comment lines"), wxTRANSLATE("Blank lines"), wxTRANSLATE("Size"),
              wxTRANSLATE("Man-hour"), wxTRANSLATE("Cost"), wxTRANSLATE("UT Cases"),
              wxTRANSLATE("UT Defects"), wxTRANSLATE("IT Cases"), wxTRANSLATE("IT Defects"),
              wxTRANSLATE("Modified Date")})
            titles.Add(wxGetTranslation(title));
    }
    return titles;
}
