#pragma once
#include "IBoardBackgrounds.h"

class CRecordPlayer;

// The whiteboard's page backgrounds as the recording holds them: embedded
// files under the keys (document's view id, page).
class CRecordedBackgrounds : public caskel::IBoardBackgrounds
{
public:
    explicit CRecordedBackgrounds(const CRecordPlayer* player) : m_player(player) {}
    bool ReadBackground(uint32_t viewId, uint32_t page, std::vector<uint8_t>* bytes) override;

private:
    const CRecordPlayer* m_player;
};
