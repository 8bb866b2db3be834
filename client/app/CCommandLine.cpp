#include "CCommandLine.h"

#include <winsock2.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "CLogFile.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool IsLead(const char* p) { return p[1] != '\0' && IsDBCSLeadByte(static_cast<BYTE>(p[0])); }

template <size_t N>
void CopyField(char (&field)[N], const std::string& text)
{
    size_t n = text.size() < N - 1 ? text.size() : N - 1;
    // A double-byte character is never cut in half.
    size_t i = 0;
    while (i < n) {
        size_t step = IsLead(text.c_str() + i) ? 2 : 1;
        if (i + step > n)
            break;
        i += step;
    }
    memcpy(field, text.data(), i);
    field[i] = '\0';
}

uint32_t ParseDecimal(const std::string& text)
{
    return static_cast<uint32_t>(strtoul(text.c_str(), nullptr, 10));
}

} // namespace

std::vector<std::string> CCommandLine::Split(const char* commandLine)
{
    std::vector<std::string> args;
    if (!commandLine)
        return args;
    const char* p = commandLine;
    // The program path: quotes group, nothing is escaped.
    while (IsBlank(*p))
        ++p;
    if (*p) {
        std::string program;
        bool quoted = false;
        while (*p && (quoted || !IsBlank(*p))) {
            if (*p == '"') {
                quoted = !quoted;
                ++p;
            } else if (IsLead(p)) {
                program.append(p, 2);
                p += 2;
            } else {
                program += *p++;
            }
        }
        args.push_back(program);
    }
    for (;;) {
        while (IsBlank(*p))
            ++p;
        if (!*p)
            break;
        std::string arg;
        bool quoted = false;
        while (*p && (quoted || !IsBlank(*p))) {
            if (*p == '\\') {
                size_t slashes = 0;
                while (*p == '\\') {
                    ++slashes;
                    ++p;
                }
                if (*p == '"') {
                    arg.append(slashes / 2, '\\');
                    if (slashes % 2) {
                        arg += '"';
                        ++p;
                    }
                } else {
                    arg.append(slashes, '\\');
                }
            } else if (*p == '"') {
                if (quoted && p[1] == '"') {
                    arg += '"';
                    p += 2;
                } else {
                    quoted = !quoted;
                    ++p;
                }
            } else if (IsLead(p)) {
                arg.append(p, 2);
                p += 2;
            } else {
                arg += *p++;
            }
        }
        args.push_back(arg);
    }
    return args;
}

std::string CCommandLine::Quote(const std::string& argument)
{
    std::string out = "\"";
    size_t slashes = 0;
    for (size_t i = 0; i < argument.size(); ++i) {
        const char* p = argument.c_str() + i;
        if (IsLead(p)) {
            out.append(p, 2);
            ++i;
            slashes = 0;
            continue;
        }
        if (*p == '\\') {
            ++slashes;
            out += '\\';
            continue;
        }
        if (*p == '"') {
            // The backslashes before a quote are doubled, and the quote escaped.
            out.append(slashes + 1, '\\');
        }
        slashes = 0;
        out += *p;
    }
    // Backslashes before the closing quote are doubled as well.
    out.append(slashes, '\\');
    out += '"';
    return out;
}

std::string CCommandLine::BuildLoginLine(const char* program, const LOGIN_INFO& info)
{
    std::string line = Quote(program ? program : "");
    line += ' ' + Quote(info.serverAddress);
    line += ' ' + Quote(info.roomName);
    line += ' ' + Quote(std::to_string(info.roomId));
    line += ' ' + Quote(info.userName);
    line += ' ' + Quote(info.password);
    return line;
}

bool CCommandLine::ParseLogin(const std::vector<std::string>& args, LOGIN_INFO* info, CLogFile* log)
{
    if (args.size() < 6 || !info) {
        if (log)
            log->Write(0, "Bad command params\n");
        return false;
    }
    if (log) {
        std::string line = "Command Line Params Count = " + std::to_string(args.size());
        for (const std::string& arg : args)
            line += ' ' + arg;
        line += '\n';
        log->Write(0, "%s", line.c_str());
    }
    CopyField(info->serverAddress, args[1]);
    CopyField(info->roomName, args[2]);
    info->roomId = ParseDecimal(args[3]);
    CopyField(info->userName, args[4]);
    CopyField(info->password, args[5]);
    info->loginMode = args.size() > 6 ? ParseDecimal(args[6]) : 0;
    return true;
}
