// Helpers of the window tests: the program's start-up, settings, waiting and screenshots.
#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <wx/arrstr.h>
#include <wx/msgdlg.h>
#include <wx/string.h>
#include <wx/testing.h>

class TallywickFrame;

namespace uitest {
// Runs the program's start-up (names, store, language, catalog, icon, main frame) and
// returns the frame it shows.
TallywickFrame* StartProgram();
// Closes the frame as the user does and waits until it is gone; the store is flushed.
void CloseProgram(TallywickFrame* frame);
// Lets the toolkit handle what is pending until done() holds or about two seconds pass.
bool WaitFor(const std::function<bool()>& done);
void Idle(int milliseconds = 100);
// Saves a picture of the whole virtual screen as build/screens/<name>.png.
void SaveScreenshot(const wxString& name);
// The working folder of this test process (a copy of build/run's data).
wxString WorkDir();
// Messages logged since the process started, errors and warnings alike.
const wxArrayString& LoggedMessages();

// Counts the folders with the frame's manager as a run from the window does, with only the
// given extensions selected, and takes every folder and extension into the filter choice.
void CountTree(TallywickFrame* frame, std::initializer_list<wxString> dirs,
               std::initializer_list<const char*> extensions);

// Answers a message box with OK after checking its text and its caption "Confirm".
class ExpectMessage : public wxExpectModalBase<wxMessageDialog> {
public:
    explicit ExpectMessage(const wxString& text) : m_text(text) {}

protected:
    int OnInvoked(wxMessageDialog* dialog) const override {
        EXPECT_EQ(dialog->GetMessage(), m_text);
        EXPECT_EQ(dialog->GetTitle(), "Confirm");
        return wxID_OK;
    }

private:
    wxString m_text;
};
} // namespace uitest
