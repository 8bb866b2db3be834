#pragma once

class CLogFile;
class CRecorder;

// The library's one recorder and its log, made on first use and kept for the
// life of the process (a writer thread must never be joined while the
// library is being unloaded).
CRecorder& CaskelRecorder();
CLogFile& CaskelLog();
