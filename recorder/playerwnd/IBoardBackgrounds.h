#pragma once
#include <cstdint>
#include <vector>

namespace caskel {

// Where the player's whiteboard finds a page's background picture: the
// recording keeps each one as an embedded file under the keys (document's
// view id, page).
class IBoardBackgrounds
{
public:
    virtual ~IBoardBackgrounds() = default;
    // False when the recording holds no picture for that page.
    virtual bool ReadBackground(uint32_t viewId, uint32_t page, std::vector<uint8_t>* bytes) = 0;
};

} // namespace caskel
