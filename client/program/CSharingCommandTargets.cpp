#include "CSharingCommandTargets.h"

#include "CFrameCommandTargets.h"
#include "CProgramSharing.h"

CSharingCommandTargets::CSharingCommandTargets(IFrameCommandTargets* inner)
{
    if (!inner) {
        m_ownInner.reset(new CFrameCommandTargets);
        inner = m_ownInner.get();
    }
    m_inner = inner;
}

CSharingCommandTargets::~CSharingCommandTargets() = default;

void CSharingCommandTargets::StartFileSend()
{
    if (m_sharing)
        m_sharing->StartFileSend(0);
}

void CSharingCommandTargets::OpenReceiveFolder()
{
    if (m_sharing)
        m_sharing->OpenReceiveFolder();
}

uint32_t CSharingCommandTargets::GetControllingUser()
{
    return m_sharing ? m_sharing->GetControllingUser() : 0;
}

void CSharingCommandTargets::EndControlled()
{
    if (m_sharing)
        m_sharing->EndControlled();
}

void CSharingCommandTargets::ShowScreenConfig()
{
    if (m_sharing)
        m_sharing->ShowScreenConfig();
}
