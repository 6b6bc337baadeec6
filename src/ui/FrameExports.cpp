// Exports of the results: the file records as CSV, the report page as HTML.
#include "TallywickFrame.h"

#include "AtomicFile.h"
#include "CountingManager.h"

#include "ConfirmBox.h"
#include <wx/filedlg.h>
#include <wx/filename.h>

namespace {
void ReportExport(bool ok) {
    ShowConfirm(ok ? _("Export completed!") : _("Export failed!"), wxOK | wxCENTRE);
}
} // namespace

// Asks for the file to write, with a save dialog: an open dialog would only let the user
// pick an existing file, which the export then replaced without a question. Empty when the
// user cancels; a name typed without an extension gets the filter's one, and since the
// dialog asked about the name as typed, replacing a file of the completed name is asked here.
wxString TallywickFrame::AskExportPath(const wxString& wildcard, const wxString& extension) {
    m_pFileDialog->SetWildcard(wildcard);
    // Keep the name the user gave last time, with this export's extension.
    wxFileName name(m_pFileDialog->GetFilename());
    if (!name.HasName())
        name.SetName("Tallywick");
    name.SetExt(extension);
    m_pFileDialog->SetFilename(name.GetFullName());
    if (m_pFileDialog->ShowModal() == wxID_CANCEL || m_pFileDialog->GetPath().empty())
        return wxString();
    wxFileName path(m_pFileDialog->GetPath());
    // The chooser goes back to the folder it was created with at every show unless told.
    m_pFileDialog->SetDirectory(path.GetPath());
    if (path.HasExt())
        return path.GetFullPath();
    path.SetExt(extension);
    const wxString completed = path.GetFullPath();
    if (wxFileExists(completed) &&
        ShowConfirm(wxString::Format(_("The file %s already exists. Do you want to replace it?"),
                                     completed),
                    wxYES_NO | wxCENTRE) != wxYES)
        return wxString();
    return completed;
}

void TallywickFrame::OnExportCsv(wxCommandEvent&) {
    const wxString path = AskExportPath("CSV files (*.csv)|*.csv", "csv");
    if (path.empty())
        return;
    ReportExport(m_pCountingManager->ExportCsv(path));
}

void TallywickFrame::OnExportHtml(wxCommandEvent&) {
    const wxString path = AskExportPath("HTML files (*.html;*.htm)|*.html;*.htm", "html");
    if (path.empty())
        return;
    // UTF-8 without a byte-order mark, written whole or not at all.
    const wxScopedCharBuffer bytes = s_strHtmlPage.utf8_str();
    ReportExport(WriteFileAtomically(path, bytes.data(), bytes.length()));
}
