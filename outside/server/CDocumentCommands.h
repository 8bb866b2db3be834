#pragma once
#include <cstdint>
#include <vector>

class CCommandContext;
struct SERVER_DOCUMENT;

// The room's shared documents: added, deleted, renamed, moved and listed.
class CDocumentCommands
{
public:
    // False when the command is not one of these.
    static bool Handle(CCommandContext& c);

    // The list record of one stored item: DOC_ITEM and its three texts.
    static void AppendItem(const SERVER_DOCUMENT& document, std::vector<uint8_t>& out);
};
