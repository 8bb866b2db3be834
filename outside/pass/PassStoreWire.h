#pragma once
#include <cstdint>

// The file store's protocol, spoken over TCP between the file-transfer
// library and the store that the conference server runs. Every record is
// packed little-endian, read and written only through WireReader and
// WireWriter.
//
// A connection carries requests one after another:
//   CREATE  value = number of parts (1..STORE_MAX_PARTS), size = 0,
//           name = the file's own name; the reply's name is the stored
//           name under which the parts are put and fetched.
//   PUT     name = stored name, value = part index, size = part bytes,
//           followed by exactly size bytes; the reply comes once the
//           store holds the whole part.
//   GET     name = stored name, value = part index; while the part is
//           still being put the store answers STORE_WAITING about once a
//           second, then STORE_OK with the part's size followed by its
//           bytes, or an error.
// Items belong to the room they were created in; other rooms do not see them.

#pragma pack(push, 1)
struct STORE_REQUEST
{
    uint32_t magic;      // STORE_REQUEST_MAGIC
    uint16_t op;         // STORE_OP_*
    uint16_t nameLength; // name bytes following the record, no terminator
    uint32_t roomId;
    uint32_t value;
    uint32_t size;
};
struct STORE_REPLY
{
    uint32_t magic;      // STORE_REPLY_MAGIC
    uint16_t status;     // STORE_*
    uint16_t nameLength; // name bytes following the record
    uint32_t value;
    uint32_t size; // bytes following the name (GET: the part)
};
#pragma pack(pop)
static_assert(sizeof(STORE_REQUEST) == 20, "store request is 20 bytes");
static_assert(sizeof(STORE_REPLY) == 16, "store reply is 16 bytes");

enum : uint32_t {
    STORE_REQUEST_MAGIC = 0x51535048, // "HPSQ"
    STORE_REPLY_MAGIC = 0x52535048,   // "HPSR"
};

enum : uint16_t {
    STORE_OP_CREATE = 1,
    STORE_OP_PUT = 2,
    STORE_OP_GET = 3,
};

enum : uint16_t {
    STORE_OK = 0,
    STORE_NOT_FOUND = 1,
    STORE_BAD_REQUEST = 2,
    STORE_REFUSED = 3, // too large, store full
    STORE_FAILED = 4,  // the item's upload failed or was stopped
    STORE_WAITING = 5, // the part is not complete yet; keep reading
};

enum : uint32_t {
    STORE_MAX_NAME = 255,
    STORE_MAX_PARTS = 1024,
    STORE_MAX_PART_BYTES = 256u * 1024 * 1024,
};
