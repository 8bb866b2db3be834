#include "CUserTable.h"

#include <cstring>

#include "CScopedLock.h"

CUserTable g_UserTable;

CUserTable::CUserTable() { InitializeCriticalSection(&m_lock); }

CUserTable::~CUserTable()
{
    RemoveAll();
    DeleteCriticalSection(&m_lock);
}

void CUserTable::AddUser(uint32_t id, const char* name, uint8_t role)
{
    USER_INFO* user = new USER_INFO();
    if (name) {
        strncpy(user->name, name, sizeof user->name - 1);
        user->name[sizeof user->name - 1] = '\0';
    }
    user->userId = id;
    user->role = role;
    user->allowRecord = 1;
    user->allowTextChat = 1;
    CScopedLock lock(&m_lock);
    m_users.push_back(user);
}

void CUserTable::AddWireUser(const WIRE_USER_INFO* entry)
{
    if (!entry)
        return;
    USER_INFO* user = new USER_INFO();
    user->userId = entry->userId;
    // The wire name field is 21 bytes; it is always ended within the record.
    size_t n = strnlen(entry->name, sizeof entry->name);
    if (n > sizeof user->name - 1)
        n = sizeof user->name - 1;
    memcpy(user->name, entry->name, n);
    user->role = entry->role;
    user->speakState = entry->speakState;
    user->controlState = entry->controlState;
    user->hasAudio = entry->hasAudio;
    user->hasVideo = entry->hasVideo;
    user->deviceFlagA = entry->deviceFlagA;
    user->deviceFlagB = entry->deviceFlagB;
    user->allowWhiteboard = entry->allowWhiteboard;
    user->allowRecord = entry->allowRecord;
    user->allowTextChat = entry->allowTextChat;
    user->allowFileUpload = entry->allowFileUpload;
    CScopedLock lock(&m_lock);
    m_users.push_back(user);
}

void CUserTable::RemoveUser(uint32_t id)
{
    USER_INFO* gone = nullptr;
    {
        CScopedLock lock(&m_lock);
        for (auto it = m_users.begin(); it != m_users.end(); ++it) {
            if ((*it)->userId == id) {
                gone = *it;
                m_users.erase(it);
                break;
            }
        }
    }
    delete gone;
}

void CUserTable::RemoveAll()
{
    CScopedLock lock(&m_lock);
    for (USER_INFO* user : m_users)
        delete user;
    m_users.clear();
}

USER_INFO* CUserTable::FindLocked(uint32_t id) const
{
    for (USER_INFO* user : m_users) {
        if (user->userId == id)
            return user;
    }
    return nullptr;
}

USER_INFO* CUserTable::FindUser(uint32_t id)
{
    CScopedLock lock(&m_lock);
    return FindLocked(id);
}

bool CUserTable::GetUser(uint32_t id, USER_INFO* out)
{
    CScopedLock lock(&m_lock);
    USER_INFO* user = FindLocked(id);
    if (!user || !out)
        return false;
    memcpy(out, user, sizeof *out);
    return true;
}

int CUserTable::GetCount()
{
    CScopedLock lock(&m_lock);
    return static_cast<int>(m_users.size());
}

bool CUserTable::GetUserAt(int index, USER_INFO* out)
{
    CScopedLock lock(&m_lock);
    if (index < 0 || index >= static_cast<int>(m_users.size()) || !out)
        return false;
    memcpy(out, m_users[index], sizeof *out);
    return true;
}

bool CUserTable::GetUserName(uint32_t id, char* out)
{
    CScopedLock lock(&m_lock);
    USER_INFO* user = FindLocked(id);
    if (!user || !out)
        return false;
    memcpy(out, user->name, strnlen(user->name, sizeof user->name - 1) + 1);
    return true;
}

bool CUserTable::GetByte(uint32_t id, uint8_t USER_INFO::*field, uint8_t* out)
{
    CScopedLock lock(&m_lock);
    USER_INFO* user = FindLocked(id);
    if (!user || !out)
        return false;
    *out = user->*field;
    return true;
}

uint8_t CUserTable::GetByte(uint32_t id, uint8_t USER_INFO::*field)
{
    CScopedLock lock(&m_lock);
    USER_INFO* user = FindLocked(id);
    return user ? user->*field : 0;
}

void CUserTable::SetByte(uint32_t id, uint8_t USER_INFO::*field, uint8_t value)
{
    CScopedLock lock(&m_lock);
    if (USER_INFO* user = FindLocked(id))
        user->*field = value;
}

bool CUserTable::GetRole(uint32_t id, uint8_t* out) { return GetByte(id, &USER_INFO::role, out); }
bool CUserTable::GetSpeakState(uint32_t id, uint8_t* out)
{
    return GetByte(id, &USER_INFO::speakState, out);
}
bool CUserTable::GetControlState(uint32_t id, uint8_t* out)
{
    return GetByte(id, &USER_INFO::controlState, out);
}
bool CUserTable::GetVideoState(uint32_t id, uint8_t* out)
{
    return GetByte(id, &USER_INFO::videoState, out);
}
uint8_t CUserTable::HasVideo(uint32_t id) { return GetByte(id, &USER_INFO::hasVideo); }
uint8_t CUserTable::HasAudio(uint32_t id) { return GetByte(id, &USER_INFO::hasAudio); }
uint8_t CUserTable::GetBroadcastFlag(uint32_t id) { return GetByte(id, &USER_INFO::broadcastFlag); }
uint8_t CUserTable::GetDeviceFlagA(uint32_t id) { return GetByte(id, &USER_INFO::deviceFlagA); }
uint8_t CUserTable::GetDeviceFlagB(uint32_t id) { return GetByte(id, &USER_INFO::deviceFlagB); }

void CUserTable::SetRole(uint32_t id, uint8_t v) { SetByte(id, &USER_INFO::role, v); }
void CUserTable::SetHasVideo(uint32_t id, uint8_t v) { SetByte(id, &USER_INFO::hasVideo, v); }
void CUserTable::SetHasAudio(uint32_t id, uint8_t v) { SetByte(id, &USER_INFO::hasAudio, v); }
void CUserTable::SetDeviceFlagA(uint32_t id, uint8_t v) { SetByte(id, &USER_INFO::deviceFlagA, v); }
void CUserTable::SetDeviceFlagB(uint32_t id, uint8_t v) { SetByte(id, &USER_INFO::deviceFlagB, v); }
void CUserTable::SetSpeakState(uint32_t id, uint8_t v) { SetByte(id, &USER_INFO::speakState, v); }
void CUserTable::SetControlState(uint32_t id, uint8_t v)
{
    SetByte(id, &USER_INFO::controlState, v);
}
void CUserTable::SetVideoState(uint32_t id, uint8_t v) { SetByte(id, &USER_INFO::videoState, v); }
void CUserTable::SetBroadcastFlag(uint32_t id, uint8_t v)
{
    SetByte(id, &USER_INFO::broadcastFlag, v);
}
void CUserTable::SetAllowWhiteboardEdit(uint32_t id, uint8_t v)
{
    SetByte(id, &USER_INFO::allowWhiteboard, v);
}
void CUserTable::SetAllowRecording(uint32_t id, uint8_t v)
{
    SetByte(id, &USER_INFO::allowRecord, v);
}
void CUserTable::SetAllowTextChat(uint32_t id, uint8_t v)
{
    SetByte(id, &USER_INFO::allowTextChat, v);
}
void CUserTable::SetAllowFileUpload(uint32_t id, uint8_t v)
{
    SetByte(id, &USER_INFO::allowFileUpload, v);
}

bool CUserTable::GetChairId(uint32_t* out)
{
    CScopedLock lock(&m_lock);
    for (USER_INFO* user : m_users) {
        if (user->controlState == 2) {
            if (out)
                *out = user->userId;
            return true;
        }
    }
    return false;
}
