#include "CWebShareView.h"

void CWebShareView::OnNewWindow2(LPDISPATCH* disp, BOOL* cancel)
{
    if (disp)
        *disp = NULL;
    if (cancel)
        *cancel = TRUE;
}
