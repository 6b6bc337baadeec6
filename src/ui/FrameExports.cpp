// Exports of the results, and the Update command.
#include "TallywickFrame.h"

void TallywickFrame::OnExportHtml(wxCommandEvent&) {}

void TallywickFrame::OnExportCsv(wxCommandEvent&) {}

void TallywickFrame::OnCheckUpdate(wxCommandEvent&) {}
