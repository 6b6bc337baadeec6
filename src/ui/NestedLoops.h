// The event loops that run inside the main window's handlers: a counting run (which dispatches
// events between files), modal dialogs and popup menus. While one is on the stack the window
// must not be destroyed under it, so a close that arrives meanwhile is put off until the last
// one has returned; the decision is made here, once. From a close on, no dialog opens: one
// that would is refused as cancelled.
#pragma once

#include <functional>
#include <wx/defs.h>
#include <wx/modalhook.h>

class wxMenu;

class NestedLoops : private wxModalDialogHook {
public:
    // What to do with a close request.
    enum class Close {
        NOW,     // nothing is on the stack: close; the close is under way from here on
        PUT_OFF, // a loop is on the stack: carried out when it has returned
        IGNORED, // a close is already under way (a request during its message box)
    };

    // Counts one loop for as long as it lives, so that no early return can skip the end.
    class Scope {
    public:
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope() {
            if (m_menu)
                m_loops.m_openMenu = nullptr;
            m_loops.End(m_depth);
        }

    private:
        friend class NestedLoops;
        Scope(NestedLoops& loops, int& depth, wxMenu* menu = nullptr)
            : m_loops(loops), m_depth(depth), m_menu(menu) {
            ++m_depth;
            if (m_menu)
                m_loops.m_openMenu = m_menu;
        }
        NestedLoops& m_loops;
        int& m_depth;
        wxMenu* m_menu;
    };

    // closeDue runs whenever the last loop has returned with a close put off; it runs inside
    // the loop's own end (a dialog's hook), so it should only schedule the close.
    explicit NestedLoops(std::function<void()> closeDue) : m_closeDue(std::move(closeDue)) {
        Register();
    }

    [[nodiscard]] Scope Run() { return Scope(*this, m_nRuns); }
    [[nodiscard]] Scope Popup(wxMenu& menu) { return Scope(*this, m_nPopups, &menu); }

    bool Counting() const { return m_nRuns > 0; }
    // A close has been asked for: put off, or under way.
    bool Stopping() const { return m_bClosePutOff || m_bClosing; }
    // The popup menu that shows now, if any.
    wxMenu* OpenMenu() const { return m_openMenu; }
    // The window is about to go: not even the close's own messages may open from here on.
    void Closed() { m_bClosed = true; }
    bool Any() const { return m_nRuns > 0 || m_nDialogs > 0 || m_nPopups > 0; }
    bool ClosePutOff() const { return m_bClosePutOff; }
    // True when a put-off close can be carried out now.
    bool CloseDue() const { return m_bClosePutOff && !Any(); }

    Close RequestClose() {
        if (m_bClosing)
            return Close::IGNORED;
        if (Any()) {
            m_bClosePutOff = true;
            return Close::PUT_OFF;
        }
        m_bClosing = true;
        return Close::NOW;
    }

private:
    int Enter(wxDialog*) override {
        // A dialog that a command left behind, or that code opens after a stop, would hold the
        // close up, or run on a window being destroyed.
        if (m_bClosePutOff || m_bClosed)
            return wxID_CANCEL;
        ++m_nDialogs;
        return wxID_NONE;
    }
    void Exit(wxDialog*) override { End(m_nDialogs); }

    void End(int& depth) {
        if (--depth == 0 && CloseDue() && m_closeDue)
            m_closeDue();
    }

    int m_nRuns = 0;
    int m_nDialogs = 0;
    int m_nPopups = 0;
    bool m_bClosePutOff = false;
    bool m_bClosing = false;
    bool m_bClosed = false;
    wxMenu* m_openMenu = nullptr;
    std::function<void()> m_closeDue;
};
