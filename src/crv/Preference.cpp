// Loading and saving the settings.
#include "Preference.h"

#include <algorithm>
#include <map>
#include <optional>
#include <wx/config.h>
#include <wx/display.h>
#include <wx/toplevel.h>

Preference* Preference::s_pInstance = nullptr;

namespace {
const long DEFAULT_X = 40, DEFAULT_Y = 16, DEFAULT_W = 940, DEFAULT_H = 616;
const wxString DIRECTORY_GROUP = "Directory";

// Where a frame stored at (x, y) with a client area of w x h opens: on the display that shows
// most of it, moved and shrunk into that display's work area. The result holds the frame's
// position and client size; none when no display shows any of it. border: what the frame
// adds around its client area.
std::optional<wxRect> FitOnDisplay(long x, long y, long w, long h, const wxSize& border) {
    // Stored values may be anything: bounded far beyond any screen, the sums cannot overflow.
    const auto bounded = [](long value) { return std::clamp(value, -(1L << 40), 1L << 40); };
    const long left = bounded(x), top = bounded(y);
    const long right = left + bounded(w) + border.x, bottom = top + bounded(h) + border.y;
    long most = 0;
    int best = wxNOT_FOUND;
    for (unsigned i = 0; i < wxDisplay::GetCount(); ++i) {
        const wxRect screen = wxDisplay(i).GetGeometry();
        const long width =
            std::min<long>(right, screen.x + screen.width) - std::max<long>(left, screen.x);
        const long height =
            std::min<long>(bottom, screen.y + screen.height) - std::max<long>(top, screen.y);
        if (width > 0 && height > 0 && width * height > most) {
            most = width * height;
            best = static_cast<int>(i);
        }
    }
    if (best == wxNOT_FOUND)
        return std::nullopt;
    const wxRect area = wxDisplay(static_cast<unsigned>(best)).GetClientArea();
    const long width = std::min<long>(right - left, area.width);
    const long height = std::min<long>(bottom - top, area.height);
    return wxRect(static_cast<int>(std::clamp<long>(left, area.x, area.x + area.width - width)),
                  static_cast<int>(std::clamp<long>(top, area.y, area.y + area.height - height)),
                  static_cast<int>(width) - border.x, static_cast<int>(height) - border.y);
}
} // namespace

Preference::~Preference() {
    // The holder (the frame) deletes the instance at exit; a later call makes a fresh one.
    if (s_pInstance == this)
        s_pInstance = nullptr;
}

Preference* Preference::GetInstance() {
    if (!s_pInstance)
        s_pInstance = new Preference;
    return s_pInstance;
}

void Preference::Load(wxTopLevelWindow* frame) {
    m_pFrame = frame;
    m_pConfig = wxConfigBase::Get();
    m_pConfig->SetPath("/");
    LoadFramePos();
    m_pConfig->SetPath("/");
    m_nShowFilterDirectory = m_pConfig->ReadLong("m_nShowFilterDirectory", 1);
    m_nShowFilterExtension = m_pConfig->ReadLong("m_nShowFilterExtension", 1);
    m_nShowFilterModifiedDate = m_pConfig->ReadLong("m_nShowFilterModifiedDate", 1);
    m_nHideMenuBar = m_pConfig->ReadLong("m_nHideMenuBar", 1);
    m_nHideStatusBar = m_pConfig->ReadLong("m_nHideStatusBar", 1);
    m_nPreserveDirectory = m_pConfig->ReadLong("m_nPreserveDirectory", 1);
    const long count = m_pConfig->ReadLong("m_nDirectoryNum", 0);
    // A negative count (never written by Save) loads nothing.
    m_nDirectoryNum = count > 0 ? static_cast<std::uint64_t>(count) : 0;
    if (m_nPreserveDirectory > 0 && m_nDirectoryNum != 0) {
        m_pConfig->SetPath(DIRECTORY_GROUP);
        // The stored keys are walked, not the count: a count edited far beyond them would
        // keep the start counting for ever.
        std::map<std::uint64_t, wxString> dirs;
        wxString key;
        long cookie = 0;
        for (bool more = m_pConfig->GetFirstEntry(key, cookie); more;
             more = m_pConfig->GetNextEntry(key, cookie)) {
            unsigned long long index = 0;
            if (!key.ToULongLong(&index) || index >= m_nDirectoryNum ||
                key != wxString::Format("%llu", index))
                continue;
            // Read without a default, so that loading never writes a key.
            m_pConfig->Read(key, &dirs[index]);
        }
        for (const auto& entry : dirs)
            if (!entry.second.empty())
                m_arrDirectory.Add(entry.second);
    }
    m_pConfig->SetPath("/");
}

void Preference::LoadFramePos() {
    m_pConfig->SetPath("/");
    m_nPreserveFrameSizePos = m_pConfig->ReadLong("m_nPreserveFrameSizePos", 1);
    long x = DEFAULT_X, y = DEFAULT_Y, w = DEFAULT_W, h = DEFAULT_H;
    if (m_nPreserveFrameSizePos > 0) {
        x = m_pConfig->ReadLong("x", DEFAULT_X);
        y = m_pConfig->ReadLong("y", DEFAULT_Y);
        w = m_pConfig->ReadLong("w", DEFAULT_W);
        h = m_pConfig->ReadLong("h", DEFAULT_H);
    }
    // A window stored on a monitor that is gone, with no size, or larger than the screen
    // would open out of reach.
    const wxSize border = m_pFrame->GetSize() - m_pFrame->GetClientSize();
    std::optional<wxRect> placed;
    if (w > 0 && h > 0)
        placed = FitOnDisplay(x, y, w, h, border);
    if (!placed)
        placed = FitOnDisplay(DEFAULT_X, DEFAULT_Y, DEFAULT_W, DEFAULT_H, border);
    const wxRect frame = placed.value_or(wxRect(DEFAULT_X, DEFAULT_Y, DEFAULT_W, DEFAULT_H));
    m_pFrame->Move(frame.GetPosition());
    m_pFrame->SetClientSize(frame.GetSize());
}

void Preference::Save() {
    m_pConfig->SetPath("/");
    SaveFramePos();
    m_pConfig->Write("m_nShowFilterDirectory", m_nShowFilterDirectory);
    m_pConfig->Write("m_nShowFilterExtension", m_nShowFilterExtension);
    m_pConfig->Write("m_nShowFilterModifiedDate", m_nShowFilterModifiedDate);
    m_pConfig->SetPath("/");
    m_pConfig->Write("m_nHideMenuBar", m_nHideMenuBar);
    m_pConfig->Write("m_nHideStatusBar", m_nHideStatusBar);
    m_pConfig->Write("m_nPreserveDirectory", m_nPreserveDirectory);
    if (m_nPreserveDirectory > 0) {
        // Rewrite the whole group: keys left from a longer list must not come back, and names
        // are kept as they are (a folder name may end in a blank here).
        m_pConfig->DeleteGroup(DIRECTORY_GROUP);
        wxArrayString kept;
        for (const wxString& dir : m_arrDirectory)
            if (!dir.empty() && kept.size() < MAX_DIRECTORIES)
                kept.Add(dir);
        m_nDirectoryNum = kept.size();
        m_pConfig->Write("m_nDirectoryNum", static_cast<long>(m_nDirectoryNum));
        m_pConfig->SetPath(DIRECTORY_GROUP);
        for (std::size_t i = 0; i < kept.size(); ++i)
            m_pConfig->Write(wxString::Format("%zu", i), kept[i]);
    }
    m_pConfig->SetPath("/");
}

void Preference::SaveFramePos() {
    if (!m_pConfig || !m_pFrame)
        return;
    m_pConfig->SetPath("/");
    m_pConfig->Write("m_nPreserveFrameSizePos", m_nPreserveFrameSizePos);
    // Full-screen and minimised geometry is not where the user wants the window next time.
    if (m_nPreserveFrameSizePos > 0 && !m_pFrame->IsFullScreen() && !m_pFrame->IsIconized()) {
        const wxSize client = m_pFrame->GetClientSize();
        const wxPoint pos = m_pFrame->GetPosition();
        m_pConfig->Write("x", pos.x);
        m_pConfig->Write("y", pos.y);
        m_pConfig->Write("w", client.x);
        m_pConfig->Write("h", client.y);
    }
}
