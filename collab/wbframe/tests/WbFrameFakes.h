#pragma once
#include "CWBFrame.h"
#include "IWBFrameHost.h"
#include "IWBTransfers.h"

#include <string>
#include <vector>

// The meeting around a frame, as the frame's tests see it.
struct FakeHost : IWBFrameHost
{
    bool chair = false;
    int syncRequests = 0;
    std::string server = "10.1.2.3";
    std::vector<std::string> files; // answers of ChooseFile, in turn
    bool IsChair() override { return chair; }
    void RequestPageSync() override { ++syncRequests; }
    std::string ServerAddress() override { return server; }
    std::string Text(UINT, const char* fallback) override { return fallback ? fallback : ""; }
    bool ChooseMeetingDocument(std::string*, std::string*) override { return false; }
    bool ChooseFile(bool, const char*, const char*, std::string* path) override
    {
        if (files.empty())
            return false;
        *path = files.front();
        files.erase(files.begin());
        return true;
    }
};

// Records what the frame asks of its transfer list.
struct FakeTransfers : IWBTransfers
{
    struct Call
    {
        std::string what;
        DWORD doc;
        std::string server;
        int count;
        std::string stored;
    };
    std::vector<Call>* calls;
    explicit FakeTransfers(std::vector<Call>* log) : calls(log) {}
    bool StartUpload(DWORD docId, int, bool, const char*, SIZE, const char* const*, int count,
                     BYTE* flag, std::string* stored) override
    {
        calls->push_back({"upload", docId, "", count, ""});
        *flag = 7;
        *stored = "stored-name";
        return true;
    }
    bool StartDownload(const char* server, DWORD docId, BYTE, BYTE, const char* const*, int count,
                       const char* stored) override
    {
        calls->push_back({"download", docId, server ? server : "", count, stored ? stored : ""});
        return true;
    }
    void CancelUpload(DWORD docId) override
    {
        calls->push_back({"cancel upload", docId, "", 0, ""});
    }
    void CancelDownload(DWORD docId) override
    {
        calls->push_back({"cancel download", docId, "", 0, ""});
    }
    void StopAll() override { calls->push_back({"stop all", 0, "", 0, ""}); }
};

// Every record a frame sends.
struct SentRecords
{
    std::vector<std::vector<BYTE>> records;
    static void Callback(const void* data, size_t length, void* context)
    {
        const BYTE* p = static_cast<const BYTE*>(data);
        static_cast<SentRecords*>(context)->records.emplace_back(p, p + length);
    }
    std::vector<int> Kinds() const
    {
        std::vector<int> kinds;
        for (const auto& r : records)
            kinds.push_back(r.empty() ? -1 : r[0]);
        return kinds;
    }
};
