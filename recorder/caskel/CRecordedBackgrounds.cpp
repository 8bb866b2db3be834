#include "CRecordedBackgrounds.h"

#include "CRecordPlayer.h"
#include "RecordFormat.h"

#include <new>

namespace {
// No page picture is larger; a bigger entry is a damaged index.
const uint32_t kMaxPicture = 64u << 20;
} // namespace

bool CRecordedBackgrounds::ReadBackground(uint32_t viewId, uint32_t page,
                                          std::vector<uint8_t>* bytes)
{
    REC_BLOCK_ENTRY entry = {};
    if (!m_player || !bytes || !m_player->FindDocument(viewId, page, &entry) || entry.length == 0 ||
        entry.length > kMaxPicture)
        return false;
    try {
        bytes->resize(entry.length);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return m_player->ReadDocument(viewId, page, bytes->data(), entry.length) == 1;
}
