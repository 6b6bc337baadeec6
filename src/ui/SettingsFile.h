// The settings store: the toolkit's configuration file, written as the rules file is.
#pragma once

#include <string>
#include <wx/fileconf.h>

// The toolkit's file store (~/.Tallywick) with its own writing: the toolkit's leaves its
// temporary file behind whenever the last step fails (with ~/.Tallywick a folder, at every
// write), and replaces a read-only file or a symbolic link. Here the file is replaced
// atomically, or left as it is with nothing beside it. Without a home folder the settings
// last for the session only.
class SettingsFile : public wxFileConfig {
public:
    SettingsFile();
    // home: whether there is a home folder to keep the file in.
    explicit SettingsFile(bool home);
    ~SettingsFile() override;

    // Writes the file when the settings differ from what it was last known to hold; false
    // when it cannot be written, and the next call tries again.
    bool Flush(bool currentOnly = false) override;

private:
    std::string Text();

    wxString m_path;
    std::string m_written;
};
