// Helpers of the window tests: the program's start-up, settings, waiting and screenshots.
#pragma once

#include <functional>
#include <string>
#include <wx/arrstr.h>
#include <wx/string.h>

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
// Writes a file below the working folder, making its folders; returns its full path.
wxString WriteFile(const wxString& relativePath, const std::string& content);
// Sets the frame up as a user would before Start: the folders added and checked, the given
// extensions selected, their list shown in the source-type box.
void PrepareRun(TallywickFrame* frame, const wxArrayString& dirs, const wxArrayString& exts);
// Chooses a menu command of the frame, or presses one of its buttons.
void Command(TallywickFrame* frame, long id);
void Press(TallywickFrame* frame, long id);
// Messages logged since the process started, errors and warnings alike.
const wxArrayString& LoggedMessages();
} // namespace uitest
