// The program's settings: frame geometry, filter panes, full-screen options and the source
// directories, kept in the toolkit's default configuration store.
#pragma once

#include <cstdint>
#include <wx/arrstr.h>

class wxConfigBase;
class wxTopLevelWindow;

class Preference {
public:
    virtual ~Preference();

    static Preference* GetInstance();

    // frame: the window whose geometry is restored now and stored by Save.
    void Load(wxTopLevelWindow* frame);
    void Save();

    int m_nPreserveFrameSizePos = 1;
    int m_nShowFilterDirectory = 1;
    int m_nShowFilterExtension = 1;
    int m_nShowFilterModifiedDate = 1;
    int m_nHideMenuBar = 1;
    int m_nHideStatusBar = 1;
    int m_nPreserveDirectory = 1;
    wxArrayString m_arrDirectory;
    wxConfigBase* m_pConfig = nullptr;
    wxTopLevelWindow* m_pFrame = nullptr;
    std::uint64_t m_nDirectoryNum = 0;

    static constexpr std::size_t MAX_DIRECTORIES = 16;

private:
    Preference() = default;
    void LoadFramePos();
    void SaveFramePos();

    static Preference* s_pInstance;
};
