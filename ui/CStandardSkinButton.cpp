#include "CStandardSkinButton.h"

#include "SkinNames.h"

CStandardSkinButton::CStandardSkinButton() { SetBitmapStrip(SKIN_STANDARD_BUTTON, TRUE); }
