// Starting desktop applications from an argument vector: no shell ever sees a path, so
// blanks, quotes and other characters in names are safe.
#include "DesktopLauncher.h"

#include <memory>
#include <vector>
#include <wx/cmdline.h>
#include <wx/mimetype.h>
#include <wx/utils.h>

namespace {
bool Launch(const wxArrayString& args) {
    std::vector<wxScopedCharBuffer> buffers;
    std::vector<const char*> argv;
    for (const wxString& arg : args) {
        buffers.push_back(arg.utf8_str());
        argv.push_back(buffers.back().data());
    }
    argv.push_back(nullptr);
    return wxExecute(argv.data(), wxEXEC_ASYNC) > 0;
}
} // namespace

void OpenWithDesktop(const wxString& path) {
    wxArrayString args;
    args.Add("xdg-open");
    args.Add(path);
    Launch(args);
}

void OpenAsText(const wxString& path) {
    // The text editor's command line, asked for a stand-in name that needs no quoting; the
    // stand-in is then replaced by the real path as one argument.
    static const wxString STAND_IN = "/tallywick-stand-in.txt";
    std::unique_ptr<wxFileType> type(wxTheMimeTypesManager->GetFileTypeFromMimeType("text/plain"));
    wxString command;
    if (type && type->GetOpenCommand(&command, wxFileType::MessageParameters(STAND_IN))) {
        wxArrayString args = wxCmdLineParser::ConvertStringToArgs(command, wxCMD_LINE_SPLIT_UNIX);
        bool replaced = false;
        for (wxString& arg : args)
            if (arg == STAND_IN) {
                arg = path;
                replaced = true;
            }
        if (replaced && !args.empty() && Launch(args))
            return;
    }
    OpenWithDesktop(path);
}
