#include "CDocumentCommands.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "CCommandContext.h"
#include "CServerMessage.h"
#include "WireReader.h"
#include "WireWriter.h"

namespace {

enum : uint16_t { DOC_RESULT_FAILED = 1 };
enum : size_t { kListLimit = 65000 };

// A text sent with its terminator counted in its length.
std::string SentText(const uint8_t* bytes, size_t length)
{
    const char* text = reinterpret_cast<const char*>(bytes);
    return std::string(text, strnlen(text, length));
}

SERVER_DOCUMENT* Find(SERVER_ROOM& room, uint32_t id)
{
    for (SERVER_DOCUMENT& d : room.documents) {
        if (d.item.id == id)
            return &d;
    }
    return nullptr;
}

void Add(CCommandContext& c)
{
    WireReader in(c.message.data(), c.length);
    uint8_t isItem = 0, a = 0, flag = 0, l1 = 0;
    uint32_t folder = 0;
    uint16_t d = 0, pair0 = 0, pair2 = 0, l2 = 0, l3 = 0;
    in.Seek(2);
    in.U8(isItem);
    in.U8(a);
    in.U32(folder);
    in.U8(flag);
    in.Seek(10);
    in.U16(d);
    in.U16(pair0);
    in.U16(pair2);
    in.U8(l1);
    in.Seek(18);
    in.U16(l2);
    in.U16(l3);
    if (!in.Ok() || c.length != 24u + l1 + l2 + l3)
        return;
    SERVER_DOCUMENT document;
    DOC_ITEM& item = document.item;
    item.id = c.room.nextDocumentId++;
    item.kind = isItem ? 1 : 0;
    item.entryKind = a;
    item.folderId = folder;
    item.flag = flag;
    item.value = d;
    item.valueA = pair0;
    item.valueB = pair2;
    const uint8_t* texts = c.message.data() + 24;
    if (isItem) {
        // A document: its name and the path it is stored under.
        document.texts[0] = SentText(texts, l1);
        document.texts[2] = SentText(texts + l1, l2);
    } else {
        document.texts[0] = SentText(texts, l1);
        document.texts[1] = SentText(texts + l1, l2);
        document.texts[2] = SentText(texts + l1 + l2, l3);
    }
    c.room.documents.push_back(document);
    CServerMessage added(CMD_DOCUMENT_ADDED, 4);
    std::vector<uint8_t> reply = added.Bytes();
    CDocumentCommands::AppendItem(document, reply);
    c.Send(c.All(), reply);
}

void Delete(CCommandContext& c)
{
    if (c.length != 12)
        return;
    SERVER_ROOM& room = c.room;
    auto it = std::find_if(room.documents.begin(), room.documents.end(),
                           [&](const SERVER_DOCUMENT& d) { return d.item.id == c.id; });
    CServerMessage reply(CMD_DOCUMENT_DELETED, 12);
    reply.At(4).U32(c.id);
    reply.At(8).U8(c.flag);
    if (it == room.documents.end()) {
        reply.At(2).U16(DOC_RESULT_FAILED);
        c.Send({c.session}, reply.Bytes());
        return;
    }
    room.documents.erase(it);
    c.Send(c.All(), reply.Bytes());
}

void Rename(CCommandContext& c)
{
    if (c.length < 12 || c.length != 12u + c.Byte(9))
        return;
    std::string name = SentText(c.message.data() + 12, c.Byte(9));
    SERVER_DOCUMENT* document = Find(c.room, c.id);
    CServerMessage reply(CMD_DOCUMENT_RENAMED, 12 + name.size());
    reply.At(4).U32(c.id);
    reply.At(8).U8(document ? document->item.kind : c.flag);
    reply.At(9).U8(static_cast<uint8_t>(name.size()));
    reply.At(12).Bytes(name.data(), name.size());
    if (!document) {
        reply.At(2).U16(DOC_RESULT_FAILED);
        c.Send({c.session}, reply.Bytes());
        return;
    }
    document->texts[0] = name;
    c.Send(c.All(), reply.Bytes());
}

void Move(CCommandContext& c)
{
    if (c.length != 20)
        return;
    uint32_t folder = 0, other = 0;
    WireReader in(c.message.data(), c.length);
    in.Seek(12);
    in.U32(folder);
    in.U32(other);
    SERVER_DOCUMENT* document = Find(c.room, c.id);
    CServerMessage reply(CMD_DOCUMENT_MOVED, 20);
    reply.At(4).U32(c.id);
    reply.At(8).U8(c.flag);
    reply.At(12).U32(folder);
    reply.At(16).U32(other);
    if (!document) {
        reply.At(2).U16(DOC_RESULT_FAILED);
        c.Send({c.session}, reply.Bytes());
        return;
    }
    document->item.folderId = folder;
    c.Send(c.All(), reply.Bytes());
}

void List(CCommandContext& c)
{
    std::vector<uint8_t> reply = CServerMessage(CMD_DOCUMENT_LIST, 4).Bytes();
    for (const SERVER_DOCUMENT& document : c.room.documents) {
        std::vector<uint8_t> item;
        CDocumentCommands::AppendItem(document, item);
        if (reply.size() + item.size() > kListLimit)
            break;
        reply.insert(reply.end(), item.begin(), item.end());
    }
    c.Send({c.session}, reply);
}

} // namespace

void CDocumentCommands::AppendItem(const SERVER_DOCUMENT& document, std::vector<uint8_t>& out)
{
    DOC_ITEM item = document.item;
    std::string texts[3];
    for (int i = 0; i < 3; ++i)
        texts[i] = document.texts[i].substr(0, i == 2 ? 65535 : 255);
    item.nameLength = static_cast<uint8_t>(texts[0].size());
    item.secondNameLength = static_cast<uint8_t>(texts[1].size());
    item.thirdLength = static_cast<uint16_t>(texts[2].size());
    size_t at = out.size();
    out.resize(at + sizeof item + texts[0].size() + texts[1].size() + texts[2].size());
    WireWriter w(out.data() + at, out.size() - at);
    w.Record(item);
    for (const std::string& text : texts)
        w.Bytes(text.data(), text.size());
}

bool CDocumentCommands::Handle(CCommandContext& c)
{
    switch (c.code) {
    case CMD_DOCUMENT:
        Add(c);
        return true;
    case CMD_DOCUMENT_DELETE:
        Delete(c);
        return true;
    case CMD_DOCUMENT_RENAME:
        Rename(c);
        return true;
    case CMD_DOCUMENT_MOVE:
        Move(c);
        return true;
    case CMD_DOCUMENT_LIST_REQUEST:
        List(c);
        return true;
    default:
        return false;
    }
}
