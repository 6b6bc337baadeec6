// The window after resizes that come from outside (configure events from the X server, as a
// window manager or a drag makes them), by any path: it shows what a fresh start at its final
// size shows, with and without a window manager.
#include "DockingManager.h"
#include "TallywickFrame.h"
#include "UiTestSupport.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/dir.h>
#include <wx/evtloop.h>
#include <wx/filename.h>
#include <wx/listctrl.h>
#include <wx/timer.h>
#include <wx/utils.h>

#include <memory>
#include <numeric>
#include <optional>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {
// Runs the steps in one event loop of the program's own kind, a pause before each: idle time
// comes only when the loop has nothing else to do, as in the program, not after every step
// as uitest::Idle gives it. Then, pause after pause, looks until done says what it looked at
// has settled.
void RunSteps(
    const std::vector<std::function<void()>>& steps,
    const std::function<bool()>& done = [] { return true; }) {
    wxGUIEventLoop loop;
    wxTimer pause;
    std::size_t next = 0;
    pause.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (next < steps.size())
            steps[next++]();
        else if (done())
            loop.Exit();
    });
    pause.Start(800);
    loop.Run();
}

// What look gives once two looks a pause apart agree: a loaded machine may take longer than
// one pause to lay out and draw what it was asked. After fifteen looks, the last.
template <class T> std::function<bool()> Settled(std::function<T()> look, T& into) {
    auto looks = std::make_shared<int>(0);
    auto seen = std::make_shared<std::optional<T>>();
    return [=, &into] {
        T now = look();
        const bool same = *seen && **seen == now;
        *seen = std::move(now);
        if (!same && ++*looks < 15)
            return false;
        into = **seen;
        return true;
    };
}

// Runs with what X does of its own: an X call made by another program.
void WithDisplay(const std::function<void(Display*)>& call) {
    Display* display = XOpenDisplay(nullptr);
    call(display);
    XSync(display, False);
    XCloseDisplay(display);
}

Window XWindowOf(wxWindow* window) {
    return gdk_x11_window_get_xid(gtk_widget_get_window(window->m_widget));
}

// What the window shows on the screen, menus, panes, lists and status bar, as pixels.
struct Shown {
    wxSize size;
    std::vector<unsigned long> pixels;
    bool operator==(const Shown& other) const {
        return size == other.size && pixels == other.pixels;
    }
};

Shown Screen(wxWindow* window) {
    Shown shown{window->GetSize(), {}};
    Display* display = XOpenDisplay(nullptr);
    XImage* image =
        XGetImage(display, XWindowOf(window), 0, 0, shown.size.x, shown.size.y, AllPlanes, ZPixmap);
    for (int y = 0; image && y < shown.size.y; ++y)
        for (int x = 0; x < shown.size.x; ++x)
            shown.pixels.push_back(XGetPixel(image, x, y));
    if (image)
        XDestroyImage(image);
    XCloseDisplay(display);
    return shown;
}

// Keeps a picture for a failed comparison, as build/screens/<name>.png.
void Save(const Shown& shown, const wxString& name) {
    wxImage image(shown.size);
    for (int y = 0; y < shown.size.y; ++y)
        for (int x = 0; x < shown.size.x; ++x) {
            const unsigned long pixel = shown.pixels[y * shown.size.x + x];
            image.SetRGB(x, y, (pixel >> 16) & 0xff, (pixel >> 8) & 0xff, pixel & 0xff);
        }
    wxFileName::Mkdir(TALLYWICK_SCREENS_DIR, wxS_DIR_DEFAULT, wxPATH_MKDIR_FULL);
    image.SaveFile(wxString(TALLYWICK_SCREENS_DIR) + "/" + name + ".png", wxBITMAP_TYPE_PNG);
}

class ResizePathTest : public testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        wxConfigBase::Get()->Write("ui_language", "en");
        // Long names at every level, and short ones beside them.
        wxString dir = uitest::WorkDir() + "/tree";
        root = dir;
        for (const char* level :
             {"/an_application_with_a_descriptive_name", "/platform_independent_sources",
              "/communication_and_networking_layer", "/protocol_implementations_version_two"}) {
            dir += level;
            const wxString relative = dir.Mid(uitest::WorkDir().length() + 1);
            uitest::WriteFile(relative + "/a_source_file_with_a_long_name.c", "int x;\n// a\n\n");
            uitest::WriteFile(relative + "/report_gen.cpp", "int y;\n");
        }
        if (GetParam()) {
            const char* const openbox[] = {"openbox", nullptr};
            m_windowManager = wxExecute(const_cast<char**>(openbox), wxEXEC_ASYNC);
            ASSERT_GT(m_windowManager, 0);
            RunSteps({[] {}});
        }
    }
    void TearDown() override {
        if (frame)
            uitest::CloseProgram(frame);
        if (m_windowManager > 0)
            wxKill(m_windowManager, wxSIGTERM);
    }

    // Starts the program as a user would find it at this outer size (or at the size of a
    // first start), and counts.
    void StartAt(const wxSize& size = wxDefaultSize) {
        if (frame)
            uitest::CloseProgram(frame);
        frame = nullptr;
        wxConfigBase* store = wxConfigBase::Get();
        store->DeleteEntry("w");
        store->DeleteEntry("h");
        if (size.IsFullySpecified()) {
            store->Write("w", size.x - m_border.x);
            store->Write("h", size.y - m_border.y);
        }
        store->Flush();
        frame = uitest::StartProgram();
        ASSERT_NE(frame, nullptr);
        m_border = frame->GetSize() - frame->GetClientSize();
        uitest::Count(frame, {root}, {".c", ".cpp"});
    }

    // The step that leaves the pointer out of the way and the focus in the window, as both
    // show in how it is drawn.
    std::function<void()> Settle() {
        return [this] {
            WithDisplay([this](Display* display) {
                XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, 1270, 890);
                XSetInputFocus(display, XWindowOf(frame), RevertToParent, CurrentTime);
            });
        };
    }

    TallywickFrame* frame = nullptr;
    wxString root;

private:
    wxSize m_border;
    long m_windowManager = 0;
};

TEST_P(ResizePathTest, EveryPathEndsAsAFreshStartAtItsSize) {
    const bool managed = GetParam();
    // Sizes from outside; an empty size is the window manager's maximise, then its restore.
    std::vector<std::vector<wxSize>> paths = {
        {wxSize(1280, 860), wxSize(700, 500)},
        {wxSize(1280, 860), wxSize(700, 500), wxSize(1100, 800)},
        {wxSize(700, 500), wxSize(1200, 850)},
        {wxSize(1100, 800), wxSize(1000, 700), wxSize(900, 640), wxSize(820, 560)},
    };
    if (managed)
        paths.push_back({wxSize(700, 500), wxSize(), wxSize()});

    for (const auto& path : paths) {
        StartAt();
        std::vector<std::function<void()>> steps = {Settle()};
        bool maximized = false;
        for (const wxSize& size : path)
            steps.push_back([&, size] {
                if (size.IsFullySpecified())
                    WithDisplay([&](Display* display) {
                        XResizeWindow(display, XWindowOf(frame), size.x, size.y);
                    });
                else
                    frame->Maximize(maximized = !maximized);
            });
        Shown after, fresh;
        const std::function<Shown()> screen = [&] { return Screen(frame); };
        RunSteps(steps, Settled(screen, after));
        StartAt(after.size);
        RunSteps({Settle()}, Settled(screen, fresh));
        ASSERT_EQ(after.size, fresh.size);
        const auto differing =
            std::inner_product(after.pixels.begin(), after.pixels.end(), fresh.pixels.begin(), 0,
                               std::plus<>(), std::not_equal_to<>());
        EXPECT_EQ(differing, 0) << "ending at " << after.size.x << "x" << after.size.y << " in "
                                << path.size() << " steps";
        if (differing != 0) {
            const wxString name = wxString::Format("resize-%s-%dx%d-", managed ? "wm" : "x",
                                                   after.size.x, after.size.y);
            Save(after, name + "after");
            Save(fresh, name + "fresh");
        }
    }
}

// Whether each filter pane shows its list, and the pane's height.
std::vector<std::pair<bool, int>> FilterLists(TallywickFrame* frame) {
    std::vector<std::pair<bool, int>> shown;
    for (wxWindow* list :
         {frame->m_pDirFilterList, frame->m_pDateFilterList, frame->m_pExtFilterList})
        shown.emplace_back(list->IsShown(), list->GetParent()->GetClientSize().y);
    return shown;
}

// A filter list that shows is drawn whole above its "Select All" row: GTK draws a list given
// less than it needs at the height it needs, over that row.
void ExpectWithinTheirPanes(TallywickFrame* frame) {
    for (const auto& [list, selectAll] :
         {std::make_pair(frame->m_pDirFilterList, frame->m_pChkAllDirs),
          std::make_pair(frame->m_pDateFilterList, frame->m_pChkAllDates),
          std::make_pair(frame->m_pExtFilterList, frame->m_pChkAllExts)})
        if (list->IsShown()) {
            EXPECT_LE(list->GetPosition().y + gtk_widget_get_allocated_height(list->m_widget),
                      selectAll->GetPosition().y)
                << list->GetName();
        }
}

TEST_P(ResizePathTest, AFilterListShowsWheneverItsPaneHasRoomForIt) {
    // Files of many days, so that the date list has more rows than it shows.
    wxDateTime day = wxDateTime::Now();
    wxArrayString files;
    wxDir::GetAllFiles(root, &files);
    for (const wxString& file : files) {
        day -= wxDateSpan::Day();
        wxFileName(file).SetTimes(&day, &day, nullptr);
    }
    StartAt(); // learns the border
    using Panes = std::pair<wxSize, std::vector<std::pair<bool, int>>>;
    const std::function<Panes()> panes = [&] {
        return Panes(frame->GetSize(), FilterLists(frame));
    };
    // Heights around the default; at 940x616 the date pane is 89 pixels high, room for its list.
    for (const wxSize& size :
         {wxSize(940, 600), wxSize(940, 616), wxSize(940, 628), wxSize(1000, 640)}) {
        // Reached from a larger window, with the rows already there, then a fresh start at
        // the size it ended at.
        StartAt(wxSize(1280, 860));
        Panes resized, fresh;
        RunSteps({Settle(),
                  [&] {
                      WithDisplay([&](Display* display) {
                          XResizeWindow(display, XWindowOf(frame), size.x, size.y);
                      });
                  }},
                 Settled(panes, resized));
        const wxSize reached = resized.first;
        StartAt(reached);
        RunSteps({Settle()}, Settled(panes, fresh));
        EXPECT_EQ(fresh, resized) << "at " << reached.x << "x" << reached.y;
        if (reached == wxSize(940, 616)) {
            EXPECT_TRUE(frame->m_pDateFilterList->IsShown());
        }
        ExpectWithinTheirPanes(frame);
    }
    // A pane shown from the menu after the run, when the window is too short for its list.
    uitest::CloseProgram(frame); // which stores the panes shown
    frame = nullptr;
    wxConfigBase::Get()->Write("m_nShowFilterModifiedDate", 0);
    StartAt(wxSize(940, 600));
    Panes shown;
    RunSteps({Settle(),
              [&] {
                  wxCommandEvent show(wxEVT_MENU, TallywickFrame::ID_MENU_FILTER_DATE);
                  frame->ProcessWindowEvent(show);
              }},
             Settled(panes, shown));
    ASSERT_TRUE(frame->m_pPanelDateFilter->IsShown());
    ExpectWithinTheirPanes(frame);
}

INSTANTIATE_TEST_SUITE_P(WindowManager, ResizePathTest, testing::Values(false, true));
} // namespace
