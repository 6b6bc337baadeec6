// A stop from the terminal or the session (SIGINT, SIGTERM, SIGHUP). The program closes as on
// Quit, so the settings and the rules are saved; dialogs open at that moment end first, as if
// cancelled, innermost first, since ending an outer loop while an inner one runs would quit
// the wrong one.
#pragma once

#include <functional>
#include <memory>
#include <vector>
#include <wx/modalhook.h>
#include <wx/timer.h>

class StopSignals : private wxModalDialogHook {
public:
    StopSignals() = default;
    ~StopSignals() override;
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // From here on a stop ends the open dialogs and then calls close; with dialogs open it
    // calls close first too, for a window that can put its close off until they have ended.
    void Install(std::function<void()> close);
    // Whether a stop has arrived since Install.
    bool Arrived() const { return m_bArrived; }

private:
    static void OnSignal(int);
    void Stop();
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog* dialog) override;
    // Ends the innermost dialog, or closes once none is left.
    void EndNext();
    // EndNext again a little later: a retry queued as an event would be handled again and
    // again at once, before the loop it waits for could begin.
    void EndNextLater();

    std::function<void()> m_close;
    std::unique_ptr<wxTimer> m_retry;
    // The dialogs that run a modal loop, outermost first.
    std::vector<wxDialog*> m_open;
    // Between a stop and its close: the open dialogs are being ended and no other may open.
    bool m_bEnding = false;
    bool m_bArrived = false;
};
