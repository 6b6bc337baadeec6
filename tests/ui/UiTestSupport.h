// Helpers of the window tests: the program's start-up, settings, waiting and screenshots.
// Every window test includes it, and with it GoogleTest and the toolkit's wx/testing.h.
#pragma once

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include <wx/arrstr.h>
#include <wx/event.h>
#include <wx/image.h>
#include <wx/msgdlg.h>
#include <wx/string.h>
#include <wx/testing.h>

class TallywickFrame;
class wxListCtrl;
class wxWindow;

// Failed checks print texts as text.
inline void PrintTo(const wxString& text, std::ostream* out) {
    *out << '"' << text.utf8_string() << '"';
}

namespace uitest {
// Runs the program's start-up (names, store, language, catalog, icon, main frame) and
// returns the frame it shows.
TallywickFrame* StartProgram();
// Closes the frame as the user does and waits until it is gone; the store is flushed.
void CloseProgram(TallywickFrame* frame);
// Lets the toolkit handle what is pending until done() holds or about milliseconds pass. The
// time is a watchdog, long enough for a loaded machine: it returns as soon as done() holds.
bool WaitFor(const std::function<bool()>& done, int milliseconds = 15000);
void Idle(int milliseconds = 100);
// Saves a picture of the whole virtual screen as build/screens/<name>.png.
void SaveScreenshot(const wxString& name);
// Saves a picture of the window's area of the screen as build/screens/<name>.png.
void SaveWindowScreenshot(const wxString& name, const wxWindow* window);
// What the window's client area shows now, copied from the screen without repainting it.
wxImage Drawn(wxWindow* window);
// The smallest rectangle holding every dark pixel (text, lines) of the image; empty if none.
wxRect InkBounds(const wxImage& image);
// The share of the image's pixels that have this colour, from 0 to 1.
double Share(const wxImage& image, const wxColour& colour);
// Turns the mouse wheel sideways by this many notches (to the left when negative) wherever
// the pointer is, through the X server as a real wheel does.
void WheelSideways(int notches);
// Whether text is exactly expected; a failure tells the lengths and the starts only, as the
// texts may be many thousand characters long.
testing::AssertionResult SameText(const wxString& text, const wxString& expected);
// Sends the command event a user's click on the control sends (a button, a check box or a
// list item); value is the new state of a check box or the index of a list item.
void Command(wxWindow* control, wxEventType type, int value = 0);

// Answers a modal dialog of type T by running action on it, which drives the dialog as a
// user would and returns what ShowModal returns. Used in wxTEST_DIALOG.
template <class T> class ExpectDialog : public wxExpectModalBase<T, ExpectDialog<T>> {
public:
    explicit ExpectDialog(std::function<int(T*)> action) : m_action(std::move(action)) {}

protected:
    int OnInvoked(T* dialog) const override { return m_action(dialog); }

private:
    std::function<int(T*)> m_action;
};

// Expects a message box with this text and the caption "Confirm" (translated), and presses
// the button answer (wxID_OK, wxID_YES or wxID_NO). A style, when given, must match the box's
// buttons, wxCENTRE and wxICON_ERROR exactly.
ExpectDialog<wxMessageDialog> ExpectMessage(const wxString& text, int answer = wxID_OK,
                                            long style = 0);

// A test that starts the program in English and closes it at the end, if still open.
class ProgramTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    TallywickFrame* frame = nullptr;
};

// The working folder of this test process (a copy of build/run's data).
wxString WorkDir();
// Writes a file below the working folder, making its folders; returns its full path.
wxString WriteFile(const wxString& relativePath, const std::string& content);
// Sets the frame up as a user would before Start: only these folders in the list, checked,
// only these extensions selected, their list shown in the source-type box; then starts.
void Count(TallywickFrame* frame, const std::vector<wxString>& dirs,
           const std::vector<wxString>& exts, bool start = true);
// Drags every column of a report list wider, as a user does to read shortened names whole.
void WidenColumnsByHand(wxListCtrl* list, int width = 1000);
// Chooses a menu command (or toolbar tool) of the frame; buttons and other controls take
// Command(control, type) above.
void Command(TallywickFrame* frame, long id);
// Messages logged since the process started, errors and warnings alike.
const wxArrayString& LoggedMessages();

// While one lives, dialogs that no test expects really run (with their own event loops)
// instead of failing the test.
struct RealDialogs {
    RealDialogs();
    ~RealDialogs();
};

// Starts a run from the window and lets action act between two of its files, as a command
// that arrives while the run dispatches events; the run adds a folder of its own to those
// checked, and a source type when none is chosen.
void DuringRun(TallywickFrame* frame, const std::function<void()>& action);

} // namespace uitest
