#pragma once
// Collection templates.
#include "afx.h"
#include "CArray.h"
#include "CList.h"
#include "CMap.h"
#include "CTypedPtrArray.h"
#include "CTypedPtrList.h"
#include "CTypedPtrMap.h"
