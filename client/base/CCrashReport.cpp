#include "CCrashReport.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

LPTOP_LEVEL_EXCEPTION_FILTER CCrashReport::s_previousFilter = nullptr;
char CCrashReport::s_reportPath[MAX_PATH] = "";

namespace {

void Print(HANDLE file, const char* format, ...)
{
    char text[1024];
    va_list args;
    va_start(args, format);
    int n = vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n <= 0)
        return;
    if (n >= static_cast<int>(sizeof text))
        n = sizeof text - 1;
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(n), &written, nullptr);
}

// The module, section number (from 1) and offset within the section of a code
// address; section 0 and the whole address when it lies in no section.
bool LogicalAddress(const void* address, char* module, DWORD moduleSize, DWORD* section,
                    DWORD* offset)
{
    *section = 0;
    *offset = 0;
    module[0] = '\0';
    MEMORY_BASIC_INFORMATION mbi;
    if (!VirtualQuery(address, &mbi, sizeof mbi) || !mbi.AllocationBase)
        return false;
    HMODULE base = static_cast<HMODULE>(mbi.AllocationBase);
    if (!GetModuleFileNameA(base, module, moduleSize))
        return false;
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (IsBadReadPtr(dos, sizeof *dos) || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return false;
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        reinterpret_cast<const char*>(base) + dos->e_lfanew);
    if (IsBadReadPtr(nt, sizeof *nt) || nt->Signature != IMAGE_NT_SIGNATURE)
        return false;
    DWORD rva = static_cast<DWORD>(reinterpret_cast<uintptr_t>(address) -
                                   reinterpret_cast<uintptr_t>(base));
    const IMAGE_SECTION_HEADER* sections = IMAGE_FIRST_SECTION(nt);
    for (unsigned i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        DWORD start = sections[i].VirtualAddress;
        DWORD size = sections[i].Misc.VirtualSize > sections[i].SizeOfRawData
                         ? sections[i].Misc.VirtualSize
                         : sections[i].SizeOfRawData;
        if (rva >= start && rva < start + size) {
            *section = i + 1;
            *offset = rva - start;
            return true;
        }
    }
    return false;
}

} // namespace

CCrashReport::CCrashReport()
{
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    s_previousFilter = SetUnhandledExceptionFilter(&CCrashReport::Filter);
    char program[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, program, sizeof program);
    if (n == 0 || n >= sizeof program ||
        !MakeReportPath(program, s_reportPath, sizeof s_reportPath))
        s_reportPath[0] = '\0';
}

CCrashReport::~CCrashReport() { SetUnhandledExceptionFilter(s_previousFilter); }

bool CCrashReport::MakeReportPath(const char* programPath, char* out, size_t outSize)
{
    if (!programPath || !out || outSize == 0)
        return false;
    const char* name = programPath;
    for (const char* p = programPath; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':')
            name = p + 1;
    const char* dot = strrchr(name, '.');
    if (!dot || strlen(dot + 1) < 3)
        return false;
    size_t stem = static_cast<size_t>(dot + 1 - programPath);
    if (stem + 4 > outSize)
        return false;
    memcpy(out, programPath, stem);
    memcpy(out + stem, "RPT", 4);
    return true;
}

const char* CCrashReport::ExceptionName(DWORD code)
{
    switch (code) {
#define NAME(x)                                                                                    \
    case EXCEPTION_##x:                                                                            \
        return #x;
        NAME(ACCESS_VIOLATION)
        NAME(DATATYPE_MISALIGNMENT)
        NAME(BREAKPOINT)
        NAME(SINGLE_STEP)
        NAME(ARRAY_BOUNDS_EXCEEDED)
        NAME(FLT_DENORMAL_OPERAND)
        NAME(FLT_DIVIDE_BY_ZERO)
        NAME(FLT_INEXACT_RESULT)
        NAME(FLT_INVALID_OPERATION)
        NAME(FLT_OVERFLOW)
        NAME(FLT_STACK_CHECK)
        NAME(FLT_UNDERFLOW)
        NAME(INT_DIVIDE_BY_ZERO)
        NAME(INT_OVERFLOW)
        NAME(PRIV_INSTRUCTION)
        NAME(IN_PAGE_ERROR)
        NAME(ILLEGAL_INSTRUCTION)
        NAME(NONCONTINUABLE_EXCEPTION)
        NAME(STACK_OVERFLOW)
        NAME(INVALID_DISPOSITION)
        NAME(GUARD_PAGE)
        NAME(INVALID_HANDLE)
#undef NAME
    }
    static char text[512];
    text[0] = '\0';
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_IGNORE_INSERTS,
                             GetModuleHandleA("NTDLL.DLL"), code, 0, text, sizeof text, nullptr);
    // System texts end in a line break; the report line brings its own.
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == ' '))
        text[--n] = '\0';
    text[n] = '\0';
    return text;
}

void CCrashReport::WriteReport(HANDLE file, EXCEPTION_POINTERS* info)
{
    SYSTEMTIME t;
    GetLocalTime(&t);
    const char* rule = "//=====================================================\r\n";
    Print(file, "%s", rule);
    Print(file, "%4d年%2d月%2d日 %2d:%2d:%2d\r\n", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
          t.wSecond);
    Print(file, "%s", rule);

    EXCEPTION_RECORD* record = info->ExceptionRecord;
    CONTEXT* context = info->ContextRecord;
    Print(file, "Exception code: %08lX %s\r\n", record->ExceptionCode,
          ExceptionName(record->ExceptionCode));

    char module[MAX_PATH];
    DWORD section = 0, offset = 0;
    LogicalAddress(record->ExceptionAddress, module, sizeof module, &section, &offset);
    Print(file, "Fault address:  %08lX %02lX:%08lX %s\r\n",
          static_cast<unsigned long>(reinterpret_cast<uintptr_t>(record->ExceptionAddress)),
          section, offset, module);

#if defined(_M_IX86) || defined(__i386__)
    Print(file, "\r\nRegisters:\r\n");
    Print(file, "EAX:%08lX\r\nEBX:%08lX\r\nECX:%08lX\r\nEDX:%08lX\r\nESI:%08lX\r\nEDI:%08lX\r\n",
          context->Eax, context->Ebx, context->Ecx, context->Edx, context->Esi, context->Edi);
    Print(file, "CS:EIP:%04lX:%08lX\r\n", context->SegCs, context->Eip);
    Print(file, "SS:ESP:%04lX:%08lX  EBP:%08lX\r\n", context->SegSs, context->Esp, context->Ebp);
    Print(file, "DS:%04lX  ES:%04lX  FS:%04lX  GS:%04lX\r\n", context->SegDs, context->SegEs,
          context->SegFs, context->SegGs);
    Print(file, "Flags:%08lX\r\n", context->EFlags);

    Print(file, "\r\nCall stack:\r\n");
    Print(file, "Address   Frame     Logical addr  Module\r\n");
    DWORD pc = context->Eip;
    DWORD* frame = reinterpret_cast<DWORD*>(context->Ebp);
    DWORD* previous = nullptr;
    for (;;) {
        LogicalAddress(reinterpret_cast<void*>(pc), module, sizeof module, &section, &offset);
        Print(file, "%08lX  %08lX  %04lX:%08lX %s\r\n", pc,
              static_cast<unsigned long>(reinterpret_cast<uintptr_t>(frame)), section, offset,
              module);
        if ((reinterpret_cast<uintptr_t>(frame) & 3) != 0 || frame <= previous ||
            IsBadReadPtr(frame, 2 * sizeof(DWORD)))
            break;
        pc = frame[1];
        previous = frame;
        frame = reinterpret_cast<DWORD*>(frame[0]);
    }
#endif
    Print(file, "\r\n");
}

LONG WINAPI CCrashReport::Filter(EXCEPTION_POINTERS* info)
{
    if (s_reportPath[0]) {
        HANDLE file = CreateFileA(s_reportPath, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            SetFilePointer(file, 0, nullptr, FILE_END);
            WriteReport(file, info);
            CloseHandle(file);
        }
    }
    return EXCEPTION_EXECUTE_HANDLER;
}
