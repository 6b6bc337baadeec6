// Start-up of the program.
#include "TallywickApp.h"

#include "ConfirmBox.h"
#include "ExecutablePath.h"
#include "TallywickFrame.h"
#include "TallywickTraits.h"
#include "chooselang.h"

#include <memory>
#include <wx/config.h>
#include <wx/fileconf.h>
#include <wx/filefn.h>
#include <wx/icon.h>
#include <wx/image.h>
#include <wx/log.h>
#include <wx/translation.h>

const wxString TallywickApp::VENDOR_NAME = "Corvane";
const wxString TallywickApp::APP_NAME = "Tallywick";
const wxString TallywickApp::LOCALE_DIR = "locales/";
const wxString TallywickApp::ICON_FILE = "img/Tallywick_01.ico";

bool TallywickApp::OnInit() {
    // Launchers and file managers start programs in another folder; the data lies beside us.
    if (!wxDirExists("conf"))
        wxSetWorkingDirectory(GetExecutableDir());

    SetVendorName(VENDOR_NAME);
    SetAppName(APP_NAME);
    wxConfigBase::Get()->SetRecordDefaults(true);
    wxFileTranslationsLoader::AddCatalogLookupPathPrefix(LOCALE_DIR);
    // Before the language question, and before the window shows: a session that ends as soon
    // as it sees either would otherwise end the program without its settings.
    m_stop.Install([this] {
        // Not the language question, which the stop has already ended.
        if (auto* frame = dynamic_cast<TallywickFrame*>(GetTopWindow())) {
            frame->Close();
            // The window is deleted at the next idle time, which a signal alone does not bring.
            wxWakeUpIdle();
        }
    });
    InstallLanguage(GetUILanguage());
    if (m_stop.Arrived()) {
        // Stopped at the language question: no window; the main loop ends at once, and its
        // end writes the settings.
        CallAfter([this] { ExitMainLoop(); });
        return true;
    }
    m_locale.AddCatalog(APP_NAME);

    wxIcon icon;
    if (wxFileExists(ICON_FILE)) {
        wxLogNull quiet;
        icon.LoadFile(ICON_FILE, wxBITMAP_TYPE_ICO);
    }
    wxInitAllImageHandlers();

    m_frame = new TallywickFrame(nullptr, wxID_ANY);
    if (icon.IsOk())
        m_frame->SetIcon(icon);
    SetTopWindow(m_frame);
    m_frame->Show();
    return true;
}

wxAppTraits* TallywickApp::CreateTraits() {
    return new TallywickTraits;
}

int TallywickApp::OnExit() {
    // The toolkit writes the store as it ends, and shows a failure that it logs after this
    // object is gone, which crashes: write it here, and tell a failure once.
    std::unique_ptr<wxConfigBase> store(wxConfigBase::Set(nullptr));
    wxConfigBase::DontCreateOnDemand();
    bool saved = true;
    if (store) {
        wxLogNull quiet;
        saved = store->Flush();
        store.reset(); // a store not yet written tries again as it goes: quietly too
    }
    if (!saved)
        ShowConfirm(wxString::Format(_("The settings could not be saved: %s"),
                                     wxFileConfig::GetLocalFileName(GetAppName())),
                    wxOK | wxCENTRE | wxICON_ERROR);
    return wxApp::OnExit();
}

void TallywickApp::InstallLanguage(wxLanguage language) {
    // Without the system's locale for the language the catalog still translates; the
    // toolkit's complaint about the locale would otherwise open a box at every start.
    if (language != wxLANGUAGE_DEFAULT && !wxLocale::IsAvailable(language)) {
        wxLogNull quiet;
        m_locale.Init(language, wxLOCALE_LOAD_DEFAULT);
        return;
    }
    m_locale.Init(language, wxLOCALE_LOAD_DEFAULT);
}
