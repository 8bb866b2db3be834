#pragma once
// Synchronisation objects.
#include "afx.h"
#include "CCriticalSection.h"
#include "CEvent.h"
#include "CMutex.h"
#include "CSingleLock.h"
