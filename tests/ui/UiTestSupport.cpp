// Helpers of the window tests.
#include "UiTestSupport.h"

#include "CountingManager.h"
#include "FileExtension.h"
#include "TallywickApp.h"
#include "TallywickFrame.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>
#include <vector>
#include <wx/bmpbuttn.h>
#include <wx/checklst.h>
#include <wx/combobox.h>
#include <wx/config.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/file.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/timer.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <X11/Xlib.h>
#include <dlfcn.h>

namespace {
// Saves the screen, or only the area when it is not empty, as build/screens/<name>.png.
void Capture(const wxString& name, const wxRect& area) {
    wxFileName::Mkdir(TALLYWICK_SCREENS_DIR, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    uitest::Idle(300);
    const wxString path = wxString(TALLYWICK_SCREENS_DIR) + "/" + name + ".png";
    const wxScopedCharBuffer file = path.utf8_str();
    const wxString geometry =
        wxString::Format("%dx%d+%d+%d", area.width, area.height, area.x, area.y);
    const wxScopedCharBuffer crop = geometry.utf8_str();
    std::vector<const char*> command = {"import", "-window", "root"};
    if (!area.IsEmpty())
        command.insert(command.end(), {"-crop", crop.data(), "+repage"});
    command.insert(command.end(), {file.data(), nullptr});
    wxExecute(command.data(), wxEXEC_SYNC);
}
} // namespace

namespace uitest {
TallywickFrame* StartProgram() {
    // The toolkit's locale is installed once per process; later starts only build a frame.
    auto& app = *static_cast<TallywickApp*>(wxTheApp);
    if (!app.m_frame) {
        app.OnInit();
    } else {
        app.m_frame = new TallywickFrame(nullptr, wxID_ANY);
        app.m_frame->Show();
    }
    Idle(300);
    return app.m_frame;
}

void CloseProgram(TallywickFrame* frame) {
    frame->Close(true);
    WaitFor([] { return wxTopLevelWindows.empty(); });
    wxConfigBase::Get()->Flush();
}

bool WaitFor(const std::function<bool()>& done, int milliseconds) {
    for (int i = 0; i < milliseconds / 50; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        wxYield();
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

void Idle(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        wxYield();
        wxTheApp->ProcessIdle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

wxString WriteFile(const wxString& relativePath, const std::string& content) {
    const wxString path = WorkDir() + "/" + relativePath;
    wxFileName::Mkdir(wxFileName(path).GetPath(), wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    wxFile file(path, wxFile::write);
    file.Write(content.data(), content.size());
    return path;
}

void Count(TallywickFrame* frame, const std::vector<wxString>& dirs,
           const std::vector<wxString>& exts, bool start) {
    frame->m_pSourceDirList->Clear();
    for (const wxString& dir : dirs)
        frame->m_pSourceDirList->Check(frame->m_pSourceDirList->Append(dir), true);
    wxString types;
    for (auto& [name, ext] : frame->m_pCountingManager->m_extMap)
        ext->m_bSelected = false;
    for (const wxString& ext : exts) {
        if (FileExtension* known = frame->m_pCountingManager->GetFileExtension(ext))
            known->m_bSelected = true;
        types += ext + ";";
    }
    frame->m_pSourceTypeCombo->SetSelection(frame->m_pSourceTypeCombo->Append(types));
    if (start)
        Command(frame, TallywickFrame::ID_MENU_START);
}

void WidenColumnsByHand(wxListCtrl* list, int width) {
    for (int column = 0; column < list->GetColumnCount(); ++column) {
        list->SetColumnWidth(column, width);
        wxListEvent dragged(wxEVT_LIST_COL_END_DRAG, list->GetId());
        dragged.SetEventObject(list);
        dragged.m_col = column;
        list->GetEventHandler()->ProcessEvent(dragged);
    }
}

void Command(TallywickFrame* frame, long id) {
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(frame);
    frame->ProcessWindowEvent(event);
}

void ProgramTest::SetUp() {
    wxConfigBase::Get()->Write("ui_language", "en");
    frame = StartProgram();
    ASSERT_NE(frame, nullptr);
}

void ProgramTest::TearDown() {
    if (frame)
        CloseProgram(frame);
}

void SaveScreenshot(const wxString& name) {
    Capture(name, wxRect());
}

void SaveWindowScreenshot(const wxString& name, const wxWindow* window) {
    Capture(name, window->GetScreenRect());
}

wxImage Drawn(wxWindow* window) {
    const wxSize size = window->GetClientSize();
    wxBitmap copy(size);
    wxMemoryDC memory(copy);
    wxClientDC screen(window);
    memory.Blit(0, 0, size.x, size.y, &screen, 0, 0);
    memory.SelectObject(wxNullBitmap);
    return copy.ConvertToImage();
}

wxRect InkBounds(const wxImage& image) {
    wxRect bounds;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            if (image.GetRed(x, y) + image.GetGreen(x, y) + image.GetBlue(x, y) < 3 * 128)
                bounds.Union(wxRect(x, y, 1, 1)); // an empty rectangle takes the other's place
    return bounds;
}

double Share(const wxImage& image, const wxColour& colour) {
    int same = 0;
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x)
            same +=
                wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)) == colour;
    return static_cast<double>(same) / (image.GetWidth() * image.GetHeight());
}

void WheelSideways(int notches) {
    // The toolkit's simulator knows three buttons; the wheel's sideways notches are buttons 6
    // and 7, pressed through the test extension that the toolkit has loaded for its own use.
    using FakeButton = int (*)(Display*, unsigned int, Bool, unsigned long);
    const auto fake = reinterpret_cast<FakeButton>(dlsym(RTLD_DEFAULT, "XTestFakeButtonEvent"));
    ASSERT_NE(fake, nullptr) << "the X test extension is not loaded";
    Display* display = XOpenDisplay(nullptr);
    for (int i = 0; i < std::abs(notches); ++i)
        for (Bool press : {True, False})
            fake(display, notches < 0 ? 6 : 7, press, CurrentTime);
    XCloseDisplay(display);
}

ExpectDialog<wxMessageDialog> ExpectMessage(const wxString& text, int answer, long style) {
    return ExpectDialog<wxMessageDialog>([text, answer, style](wxMessageDialog* box) {
        EXPECT_EQ(box->GetMessage(), text);
        EXPECT_EQ(box->GetCaption(), _("Confirm"));
        const long checked = wxOK | wxYES_NO | wxCENTRE | wxICON_ERROR;
        EXPECT_TRUE(!style || (box->GetMessageDialogStyle() & checked) == style)
            << text << ": style " << box->GetMessageDialogStyle();
        return answer;
    });
}

testing::AssertionResult SameText(const wxString& text, const wxString& expected) {
    if (text == expected)
        return testing::AssertionSuccess();
    const auto brief = [](const wxString& t) {
        return wxString::Format("%zu characters \"%s\"", t.length(), t.Left(70)).utf8_string();
    };
    return testing::AssertionFailure() << brief(text) << ", expected " << brief(expected);
}

void Command(wxWindow* control, wxEventType type, int value) {
    wxCommandEvent event(type, control->GetId());
    event.SetEventObject(control);
    event.SetInt(value);
    control->ProcessWindowEvent(event);
}

void DuringRun(TallywickFrame* frame, const std::function<void()>& action) {
    // Enough files that the run dispatches events for some milliseconds.
    const wxString dir = WorkDir() + "/during-run";
    for (int i = 0; i < 200; ++i)
        WriteFile(wxString::Format("during-run/f%03d.c", i), "int a;\n");
    wxCheckListBox* dirs = frame->m_pSourceDirList;
    const int added = dirs->Append(dir);
    dirs->Check(added, true);
    if (frame->m_pSourceTypeCombo->GetValue().empty()) {
        frame->m_pCountingManager->GetFileExtension(".c")->m_bSelected = true;
        frame->m_pSourceTypeCombo->SetSelection(frame->m_pSourceTypeCombo->Append(".c;"));
    }
    bool acted = false;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (!acted && !frame->m_pBtnStart->IsEnabled()) { // Start is off during a run only
            acted = true;
            action();
        }
    });
    timer.StartOnce(1);
    Command(frame, TallywickFrame::ID_MENU_START);
    timer.Stop();
    dirs->Delete(added);
    EXPECT_TRUE(acted) << "the run ended before the command came";
}
} // namespace uitest
