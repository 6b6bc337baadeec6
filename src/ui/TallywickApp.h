// The application object: names the program, installs the interface language and opens
// the main window.
#pragma once

#include "StopSignals.h"

#include <wx/app.h>
#include <wx/intl.h>

class TallywickFrame;

class TallywickApp : public wxApp {
public:
    virtual ~TallywickApp() = default;
    bool OnInit() override;
    int OnExit() override;

    static const wxString VENDOR_NAME;
    static const wxString APP_NAME;
    static const wxString LOCALE_DIR;
    static const wxString ICON_FILE;

    wxLocale m_locale;
    TallywickFrame* m_frame = nullptr;

protected:
    wxAppTraits* CreateTraits() override;

private:
    void InstallLanguage(wxLanguage language);

    StopSignals m_stop;
};

wxDECLARE_APP(TallywickApp);
