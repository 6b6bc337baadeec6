// The version check: a worker thread that reads the latest version from the maker's site
// and hands it to the frame. Nothing starts it yet; the frame holds a running one through
// its Joiner, so it never closes under a check.
#pragma once

#include <cstddef>
#include <string>
#include <wx/string.h>
#include <wx/thread.h>

class TallywickFrame;

class CheckVerThread : public wxThread {
public:
    // Where the check asks, and the product's page that the Update command opens.
    static const wxString VERSION_HOST;
    static const unsigned short VERSION_PORT;
    static const wxString VERSION_PATH;
    static const wxString UPDATE_PAGE_URL;
    // One socket operation waits no longer, and closing the window waits about as long.
    static const int TIMEOUT_SECONDS;
    // The marker is looked for within the reply's first bytes only.
    static const std::size_t MAX_REPLY_BYTES;

    // Stops a running check, waits for it and deletes the thread.
    struct Joiner {
        void operator()(CheckVerThread* thread) const;
    };

    // A joinable thread. Created on the GUI thread, which must set up sockets before a
    // worker uses one.
    explicit CheckVerThread(TallywickFrame* frame);
    virtual ~CheckVerThread() = default;

    // Runs the request and stores a well-formed version; the messages go to the GUI thread.
    void CheckVersion();
    // The first version marker in the text, "$4.1$" up to "$4.1.0.0$" (digits only), without
    // its dollar signs; empty when there is none.
    static wxString FindVersion(const std::string& reply);

    TallywickFrame* m_pFrame;
    wxString m_strHost;
    unsigned short m_nPort;

protected:
    ExitCode Entry() override;
    void OnExit() override {}

private:
    bool Cancelled();
    // The failure message, shown on the GUI thread; with the connection hint when asked.
    void ReportFailure(bool connectionHint) const;
};
