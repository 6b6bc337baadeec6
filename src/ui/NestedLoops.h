// The event loops that run inside the main window's handlers: a counting run (which dispatches
// events between files), modal dialogs and popup menus. While one is on the stack the window
// must not be destroyed under it, so a close that arrives meanwhile is put off until the last
// one has returned; the decision is made here, once.
#pragma once

#include <functional>
#include <wx/modalhook.h>

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
        ~Scope() { m_loops.End(m_depth); }

    private:
        friend class NestedLoops;
        Scope(NestedLoops& loops, int& depth) : m_loops(loops), m_depth(depth) { ++m_depth; }
        NestedLoops& m_loops;
        int& m_depth;
    };

    // closeDue runs whenever the last loop has returned with a close put off; it runs inside
    // the loop's own end (a dialog's hook), so it should only schedule the close.
    explicit NestedLoops(std::function<void()> closeDue) : m_closeDue(std::move(closeDue)) {
        Register();
    }

    [[nodiscard]] Scope Run() { return Scope(*this, m_nRuns); }
    [[nodiscard]] Scope Popup() { return Scope(*this, m_nPopups); }

    bool Counting() const { return m_nRuns > 0; }
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
    std::function<void()> m_closeDue;
};
