#pragma once
#include <windows.h>

class CString;

// The file-transfer library "pass" as the client imports it, by ordinal.
// Every start takes the server address, the file-transfer port and the room
// id first and returns non-zero when the transfer started; every poll
// returns PASS_RUNNING (with the progress 0..100), PASS_FINISHED, or any
// other value for a failure; every started transfer is stopped exactly once.
// The Get functions fill a string object of the caller: both sides share
// its layout and the process heap.

enum : int {
    PASS_RUNNING = 0,
    PASS_FINISHED = 1,
};

enum PASS_ORDINAL : WORD {
    PASS_ORD_StartSend = 1,
    PASS_ORD_PollSend = 2,
    PASS_ORD_StopSend = 3,
    PASS_ORD_StartReceive = 4,
    PASS_ORD_PollReceive = 5,
    PASS_ORD_StopReceive = 6,
    PASS_ORD_StartDocUpload = 7,
    PASS_ORD_GetDocUploadValueB = 8,
    PASS_ORD_GetDocUploadValueA = 9,
    PASS_ORD_PollDocUpload = 10,
    PASS_ORD_StopDocUpload = 11,
    PASS_ORD_StartBoardUpload = 12,
    PASS_ORD_GetBoardUploadValue = 13,
    PASS_ORD_PollBoardUpload = 14,
    PASS_ORD_StopBoardUpload = 15,
    PASS_ORD_StartBoardDownload = 16,
    PASS_ORD_PollBoardDownload = 17,
    PASS_ORD_StopBoardDownload = 18,
    PASS_ORDINAL_COUNT = 18,
};

// A file sent to participants: the handle is also the transfer id that the
// recipients are told.
typedef int(WINAPI* PFN_PASS_StartSend)(LPCSTR server, WORD port, DWORD roomId, LPCSTR path,
                                        DWORD* handle);
typedef int(WINAPI* PFN_PASS_PollSend)(DWORD handle, int* progress);
typedef void(WINAPI* PFN_PASS_StopSend)(DWORD handle);
// A file offered to this participant, fetched into the full target path;
// poll and stop take the transfer id.
typedef int(WINAPI* PFN_PASS_StartReceive)(LPCSTR server, WORD port, DWORD roomId, DWORD transferId,
                                           LPCSTR targetPath);
typedef int(WINAPI* PFN_PASS_PollReceive)(DWORD transferId, int* progress);
typedef void(WINAPI* PFN_PASS_StopReceive)(DWORD transferId);
// A converted shared document. Value A is the stored name, value B the
// document's own file name in the store.
typedef int(WINAPI* PFN_PASS_StartDocUpload)(LPCSTR server, WORD port, DWORD roomId, LPCSTR path,
                                             DWORD* handle);
typedef int(WINAPI* PFN_PASS_GetDocUploadValue)(DWORD handle, CString* value);
typedef int(WINAPI* PFN_PASS_PollDocUpload)(DWORD handle, int* progress);
typedef void(WINAPI* PFN_PASS_StopDocUpload)(DWORD handle);
// The page files of a whiteboard document. The upload flag is 1 when the
// pages reach the store while peers may already fetch them (their downloads
// then wait for pages still on their way). Upload poll: files stored, files
// in all; download poll: page files complete, page files in all.
typedef int(WINAPI* PFN_PASS_StartBoardUpload)(LPCSTR server, WORD port, DWORD roomId,
                                               BYTE noAnnouncement, const LPCSTR* paths, int count,
                                               BYTE* uploadFlag, DWORD* handle);
typedef int(WINAPI* PFN_PASS_GetBoardUploadValue)(DWORD handle, CString* storedName);
typedef int(WINAPI* PFN_PASS_PollBoardUpload)(DWORD handle, int* stored, int* total, int* progress);
typedef void(WINAPI* PFN_PASS_StopBoardUpload)(DWORD handle);
typedef int(WINAPI* PFN_PASS_StartBoardDownload)(LPCSTR server, WORD port, DWORD roomId,
                                                 BYTE openedHere, BYTE uploadFlag,
                                                 const LPCSTR* paths, int count, LPCSTR storedName,
                                                 DWORD* handle);
typedef int(WINAPI* PFN_PASS_PollBoardDownload)(DWORD handle, int* pages, int* total,
                                                int* progress);
typedef void(WINAPI* PFN_PASS_StopBoardDownload)(DWORD handle);
