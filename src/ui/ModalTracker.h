// Counts the modal dialogs that are open, so that the main window is never destroyed under
// one: a close request from a signal can arrive while a dialog's own event loop runs.
#pragma once

#include <functional>
#include <wx/modalhook.h>

class ModalTracker : public wxModalDialogHook {
public:
    // allClosed runs whenever the last open dialog has closed.
    explicit ModalTracker(std::function<void()> allClosed) : m_allClosed(std::move(allClosed)) {}

    bool AnyOpen() const { return m_nOpen > 0; }

protected:
    int Enter(wxDialog*) override {
        ++m_nOpen;
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {
        if (--m_nOpen == 0 && m_allClosed)
            m_allClosed();
    }

private:
    int m_nOpen = 0;
    std::function<void()> m_allClosed;
};
