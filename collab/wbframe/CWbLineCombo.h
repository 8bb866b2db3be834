#pragma once
#include "afxwin.h"

// An owner-drawn drop-down list of line widths, line styles or fills, each
// item drawn as what it makes; the item data is the value.
class CWbLineCombo : public CComboBox
{
public:
    enum Mode { MODE_WIDTH, MODE_STYLE, MODE_FILL };

    explicit CWbLineCombo(Mode mode) : m_mode(mode) {}
    BOOL CreateList(CWnd* parent, UINT id, const RECT& rc);
    // The value of the selected item, -1 for none.
    int GetSelectedValue() const;

    virtual void DrawItem(LPDRAWITEMSTRUCT lpDIS);
    virtual void MeasureItem(LPMEASUREITEMSTRUCT lpMIS);

private:
    Mode m_mode;
};
