// Reading pictures without the toolkit's error dialogs.
#include "PictureLoader.h"

#include <wx/filefn.h>
#include <wx/image.h>
#include <wx/log.h>

wxBitmap LoadPicture(const wxString& path) {
    if (!wxFileExists(path))
        return wxNullBitmap;
    wxLogNull quiet; // a damaged file is reported through the log, which would open a box
    wxImage image;
    if (!image.LoadFile(path, wxBITMAP_TYPE_ANY) || !image.IsOk())
        return wxNullBitmap;
    return wxBitmap(image);
}

wxBitmap LoadPicture(const wxString& path, const wxArtID& stock, int size) {
    const wxBitmap picture = LoadPicture(path);
    return picture.IsOk() ? picture
                          : wxArtProvider::GetBitmap(stock, wxART_OTHER, wxSize(size, size));
}
