// Choosing, storing and reading the interface language.
#include "chooselang.h"

#include "ConfirmBox.h"

#include <wx/choicdlg.h>
#include <wx/config.h>
#include <wx/listbox.h>
#include <wx/log.h>
#include <wx/msgdlg.h>

namespace {
const wxString LANGUAGE_KEY = "ui_language";
const wxString DEFAULT_VALUE = "default";

struct LanguageChoice {
    const char* label;
    wxLanguage code;
};

// Only the first label is translated: a user must find their own language whatever the
// current one is. The empty label ends the list.
const LanguageChoice LANGUAGES[] = {
    {wxTRANSLATE("(Use default language)"), wxLANGUAGE_DEFAULT},
    {"Chinese (Simplified)", wxLANGUAGE_CHINESE_SIMPLIFIED},
    {"English", wxLANGUAGE_ENGLISH},
    {"Japanese", wxLANGUAGE_JAPANESE},
    {"", wxLANGUAGE_UNKNOWN},
};
} // namespace

wxLanguage ChooseUILanguage() {
    wxArrayString labels;
    for (const LanguageChoice& choice : LANGUAGES) {
        if (!*choice.label)
            break;
        labels.Add(labels.empty() ? wxGetTranslation(choice.label) : wxString(choice.label));
    }
    // The toolkit's single-choice dialog, made here so that its list shows every entry.
    wxSingleChoiceDialog dialog(nullptr, _("Select your prefered language"),
                                _("Language selection"), labels);
    dialog.SetSelection(0);
    for (wxWindow* child : dialog.GetChildren()) {
        if (auto* list = dynamic_cast<wxListBox*>(child)) {
            const int rows = static_cast<int>(labels.size()) + 1;
            list->SetMinSize(wxSize(list->GetBestSize().x, list->GetCharHeight() * rows * 3 / 2));
            dialog.Fit();
            dialog.Centre();
        }
    }
    return dialog.ShowModal() == wxID_OK ? LANGUAGES[dialog.GetSelection()].code
                                         : wxLANGUAGE_UNKNOWN;
}

void SaveUILanguage(wxLanguage language) {
    if (language == wxLANGUAGE_UNKNOWN)
        return;
    wxConfigBase* config = wxConfigBase::Get();
    if (language == wxLANGUAGE_DEFAULT) {
        config->Write(LANGUAGE_KEY, DEFAULT_VALUE);
    } else {
        const wxLanguageInfo* info = wxLocale::GetLanguageInfo(language);
        if (!info)
            return;
        config->Write(LANGUAGE_KEY, info->CanonicalName);
    }
    // The choice must survive a program that is killed before it writes its settings.
    config->Flush();
}

wxLanguage GetUILanguage() {
    const wxString value = wxConfigBase::Get()->Read(LANGUAGE_KEY, wxString());
    if (value.empty()) {
        const wxLanguage chosen = ChooseUILanguage();
        if (chosen == wxLANGUAGE_UNKNOWN)
            return wxLANGUAGE_DEFAULT; // asked again at the next start
        SaveUILanguage(chosen);
        return chosen;
    }
    if (value == DEFAULT_VALUE)
        return wxLANGUAGE_DEFAULT;
    if (const wxLanguageInfo* info = wxLocale::FindLanguageInfo(value))
        return static_cast<wxLanguage>(info->Language);
    wxLogError(_("Uknown locale code '%s' in registry."), value);
    return wxLANGUAGE_DEFAULT;
}

void ChangeUILanguage() {
    const wxLanguage chosen = ChooseUILanguage();
    if (chosen == wxLANGUAGE_UNKNOWN)
        return;
    SaveUILanguage(chosen);
    ShowConfirm(_("You must restart application for this change to take effect."),
                wxOK | wxCENTRE | wxICON_INFORMATION);
}
