// The stand-in server's video relay: each broadcasting participant's port.
#include "CStandInServer.h"

#include "CVideoRelay.h"

void CStandInServer::StartVideoRelay(bool loopbackOnly)
{
    m_videoRelay.reset(new CVideoRelay(
        [this](uint32_t roomId, uint32_t userId) {
            uint8_t speak = 0;
            std::vector<uint32_t> others;
            return LookUpAudioMember(roomId, userId, &speak, &others);
        },
        loopbackOnly));
}

uint16_t CStandInServer::VideoPortFor(uint32_t roomId, uint32_t userId)
{
    uint16_t port = m_videoRelay ? m_videoRelay->StartSender(roomId, userId) : 0;
    return port ? port : (uint16_t)m_config.videoPort;
}

void CStandInServer::StopVideoFor(uint32_t userId)
{
    if (m_videoRelay)
        m_videoRelay->StopSender(userId);
}
