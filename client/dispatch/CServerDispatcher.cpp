#include "CServerDispatcher.h"

CServerDispatcher::CServerDispatcher(const DISPATCH_TARGETS& targets) : m_t(targets)
{
}

bool CServerDispatcher::Dispatch(const void* data, size_t length)
{
    (void)data;
    (void)length;
    return false;
}
