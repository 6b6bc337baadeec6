// Starting desktop applications from an argument vector: no shell ever sees a path, so
// blanks, quotes and other characters in names are safe.
#include "DesktopLauncher.h"

#include "FileNames.h"

#include <memory>
#include <string>
#include <vector>
#include <wx/cmdline.h>
#include <wx/mimetype.h>
#include <wx/utils.h>

namespace {
bool Launch(const wxArrayString& args) {
    // The file system's own bytes, so that names that are not UTF-8 reach the program whole.
    std::vector<std::string> bytes;
    for (const wxString& arg : args)
        bytes.push_back(ToFileSystemPath(arg));
    std::vector<const char*> argv;
    for (const std::string& arg : bytes)
        argv.push_back(arg.c_str());
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
