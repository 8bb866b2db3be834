#pragma once
#include "AfxDefs.h"

// What a frame needs to make its view: the view class and the document.
struct CCreateContext
{
    CRuntimeClass* m_pNewViewClass = NULL;
    CDocument* m_pCurrentDoc = NULL;
    void* m_pNewDocTemplate = NULL;
    CView* m_pLastView = NULL;
    CFrameWnd* m_pCurrentFrame = NULL;
};
