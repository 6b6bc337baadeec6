// A fresh temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wx/file.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/string.h>

class TempDir {
public:
    // With enter set, the folder is also the working directory until the end of the test,
    // so a manager's relative rules file lands inside it.
    explicit TempDir(bool enter = false) {
        char name[] = "/tmp/tallywick-test-XXXXXX";
        m_path = wxString(mkdtemp(name));
        if (enter) {
            m_oldCwd = wxGetCwd();
            wxSetWorkingDirectory(m_path);
        }
    }
    ~TempDir() {
        if (!m_oldCwd.empty())
            wxSetWorkingDirectory(m_oldCwd);
        // Make folders a test locked readable again, so that they can be removed.
        namespace fs = std::filesystem;
        std::error_code error;
        const fs::path root(m_path.ToStdString());
        fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, error);
        for (auto it = fs::recursive_directory_iterator(root, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error))
            if (it->is_directory(error) && !it->is_symlink(error))
                fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(root, error);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const wxString& Path() const { return m_path; }
    wxString operator/(const wxString& relative) const { return m_path + "/" + relative; }

    // Writes the bytes to a file below the folder, creating its folders; returns its path.
    wxString Write(const wxString& relative, const std::string& bytes) const {
        const wxString path = *this / relative;
        wxFileName::Mkdir(wxFileName(path).GetPath(), 0755, wxPATH_MKDIR_FULL);
        wxFile file(path, wxFile::write);
        file.Write(bytes.data(), bytes.size());
        return path;
    }

    // Binds a Unix socket at a path below the folder, which stays as a socket file after the
    // socket is closed; false when that fails.
    bool MakeSocket(const wxString& relative) const {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::snprintf(address.sun_path, sizeof address.sun_path, "%s",
                      (*this / relative).utf8_str().data());
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        const bool bound =
            fd >= 0 && bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
        if (fd >= 0)
            close(fd);
        return bound;
    }

    // Creates a folder below the folder (with its parents); returns its path.
    wxString MakeDir(const wxString& relative) const {
        const wxString path = *this / relative;
        wxFileName::Mkdir(path, 0755, wxPATH_MKDIR_FULL);
        return path;
    }

private:
    wxString m_path;
    wxString m_oldCwd;
};
