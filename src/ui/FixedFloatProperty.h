// A float property that shows all the decimals of its precision, trailing zeros included, in
// its cell as in its editor: "4753.20", where the toolkit's own would draw "4753.2".
#pragma once

#include <wx/propgrid/props.h>

class FixedFloatProperty : public wxFloatProperty {
public:
    FixedFloatProperty(const wxString& label, const wxString& name, double value)
        : wxFloatProperty(label, name, value) {}

    wxString ValueToString(wxVariant& value, int argFlags = 0) const override {
        return wxFloatProperty::ValueToString(value, argFlags | wxPG_FULL_VALUE);
    }
};
