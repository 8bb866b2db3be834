#pragma once
#include <string>
#include <vector>

#include "ServerWire.h"

class CLogFile;

// The client's command line: program path, server address, room name, room
// id, user name, password and an optional login mode. Every argument may be
// quoted; the restart line the client builds for itself quotes each one, so
// that paths and names with blanks survive.
class CCommandLine
{
public:
    // Splits a command line by the platform's rules (blanks separate,
    // quotes group, backslashes escape a quote); code page 936 double-byte
    // characters are kept whole. The first argument, the program path, takes
    // quotes but no escapes.
    static std::vector<std::string> Split(const char* commandLine);
    // One argument quoted so that Split gives it back unchanged.
    static std::string Quote(const std::string& argument);
    // The login line: program path, server address, room name, room id,
    // user name and password, each quoted.
    static std::string BuildLoginLine(const char* program, const LOGIN_INFO& info);

    // Fills the login record from the arguments (the program path first).
    // Fewer than 6 arguments: false and nothing changes. Texts are cut to
    // their fields; room id and login mode are decimal (mode 0 when absent).
    static bool ParseLogin(const std::vector<std::string>& args, LOGIN_INFO* info, CLogFile* log);
};
