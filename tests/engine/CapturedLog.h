// A log target for tests: keeps what is logged while it lives.
#pragma once

#include <wx/log.h>
#include <wx/string.h>

struct CapturedLog : wxLog {
    CapturedLog() : previous(wxLog::SetActiveTarget(this)) {}
    ~CapturedLog() override { wxLog::SetActiveTarget(previous); }
    void DoLogTextAtLevel(wxLogLevel, const wxString& message) override { text += message + "\n"; }
    // The text was logged exactly once.
    bool Once(const wxString& part) const {
        return text.find(part) != wxString::npos && text.find(part) == text.rfind(part);
    }
    wxLog* previous;
    wxString text;
};
