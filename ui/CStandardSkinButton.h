#pragma once
#include "CSkinButton.h"

// The plain dialog button (OK, Cancel, ...): a skin button preloaded with
// the standard strip; it keeps its dialog width and takes the strip's height.
class CStandardSkinButton : public CSkinButton
{
public:
    CStandardSkinButton();
};
