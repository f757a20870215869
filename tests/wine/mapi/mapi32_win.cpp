// The recording mail system of the Wine tests: MAPILogon, MAPISendMail and
// MAPILogoff write every argument and every field of the records they get,
// one "key=value" line each, to the file named by VELL_MAPI_LOG, and answer
// as the test asks:
//   VELL_MAPI_LOGON=fail        MAPILogon fails and leaves no session
//   VELL_MAPI_SEND_RESULT=N     MAPISendMail returns N (default 0)
//   VELL_MAPI_KEEP=DIR          each attachment is copied to DIR\attachN
//                               while the message is being sent
// Carriage returns and line feeds in texts are written as \r and \n; a
// null pointer as (null).
#include <windows.h>
#include <mapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string environment(const char* name) {
    char value[1024] = {};
    DWORD length = GetEnvironmentVariableA(name, value, sizeof value);
    return length > 0 && length < sizeof value ? std::string(value, length) : std::string();
}

std::string printable(const char* text) {
    if (!text) return "(null)";
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '\r')
            out += "\\r";
        else if (*p == '\n')
            out += "\\n";
        else
            out += *p;
    }
    return out;
}

std::string pointer(const void* p) { return p ? "set" : "(null)"; }

// The log of the calls, appended to so that a test sees a whole run.
class Log {
public:
    Log() {
        const std::string path = environment("VELL_MAPI_LOG");
        if (!path.empty()) file_ = std::fopen(path.c_str(), "ab");
    }
    ~Log() {
        if (file_) std::fclose(file_);
    }
    Log(const Log&) = delete;
    Log& operator=(const Log&) = delete;

    void line(const std::string& key, const std::string& value) {
        if (file_) std::fprintf(file_, "%s=%s\n", key.c_str(), value.c_str());
    }
    void number(const std::string& key, unsigned long long value) {
        line(key, std::to_string(value));
    }

private:
    FILE* file_ = nullptr;
};

HMODULE this_module() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&this_module), &module);
    return module;
}

std::string module_path() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(this_module(), path, sizeof path - 1);
    return path;
}

void log_recipient(Log& log, ULONG i, const MapiRecipDesc& r) {
    const std::string p = "recip" + std::to_string(i) + ".";
    log.number(p + "reserved", r.ulReserved);
    log.number(p + "class", r.ulRecipClass);
    log.line(p + "name", printable(r.lpszName));
    log.line(p + "address", printable(r.lpszAddress));
    log.number(p + "eid_size", r.ulEIDSize);
    log.line(p + "eid", pointer(r.lpEntryID));
}

// The attachment as it is at the time of sending, kept for the test.
void keep_attachment(ULONG i, const char* path) {
    const std::string keep = environment("VELL_MAPI_KEEP");
    if (keep.empty() || !path) return;
    CopyFileA(path, (keep + "\\attach" + std::to_string(i)).c_str(), FALSE);
}

void log_file(Log& log, ULONG i, const MapiFileDesc& f) {
    const std::string p = "file" + std::to_string(i) + ".";
    log.number(p + "reserved", f.ulReserved);
    log.number(p + "flags", f.flFlags);
    log.number(p + "position", f.nPosition);
    log.line(p + "path", printable(f.lpszPathName));
    log.line(p + "name", printable(f.lpszFileName));
    log.line(p + "type", pointer(f.lpFileType));
    const DWORD attributes = f.lpszPathName ? GetFileAttributesA(f.lpszPathName) : INVALID_FILE_ATTRIBUTES;
    log.number(p + "exists", attributes != INVALID_FILE_ATTRIBUTES ? 1 : 0);
    keep_attachment(i, f.lpszPathName);
}

void log_message(Log& log, const MapiMessage& m) {
    log.number("reserved", m.ulReserved);
    log.line("subject", printable(m.lpszSubject));
    log.line("note", printable(m.lpszNoteText));
    log.line("message_type", printable(m.lpszMessageType));
    log.line("date", printable(m.lpszDateReceived));
    log.line("conversation", printable(m.lpszConversationID));
    log.number("message_flags", m.flFlags);
    log.line("originator", pointer(m.lpOriginator));
    log.number("recip_count", m.nRecipCount);
    log.line("recips", pointer(m.lpRecips));
    for (ULONG i = 0; m.lpRecips && i < m.nRecipCount; ++i) log_recipient(log, i, m.lpRecips[i]);
    log.number("file_count", m.nFileCount);
    log.line("files", pointer(m.lpFiles));
    for (ULONG i = 0; m.lpFiles && i < m.nFileCount; ++i) log_file(log, i, m.lpFiles[i]);
}

ULONG next_session = 0x1000;

}  // namespace

extern "C" __declspec(dllexport) ULONG WINAPI MAPILogon(ULONG_PTR ui, LPSTR profile, LPSTR password,
                                                      FLAGS flags, ULONG reserved,
                                                      LPLHANDLE session) {
    Log log;
    log.line("call", "MAPILogon");
    log.line("module", module_path());
    log.number("ui", ui);
    log.line("profile", printable(profile));
    log.line("password", printable(password));
    log.number("flags", flags);
    log.number("reserved", reserved);
    log.number("session_in", session ? *session : 0);
    if (environment("VELL_MAPI_LOGON") == "fail") {
        if (session) *session = 0;
        log.number("result", MAPI_E_LOGIN_FAILURE);
        return MAPI_E_LOGIN_FAILURE;
    }
    if (session) *session = ++next_session;
    log.number("session", session ? *session : 0);
    log.number("result", SUCCESS_SUCCESS);
    return SUCCESS_SUCCESS;
}

extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR ui,
                                                         lpMapiMessage message, FLAGS flags,
                                                         ULONG reserved) {
    Log log;
    log.line("call", "MAPISendMail");
    log.number("session", session);
    log.number("ui", ui);
    log.number("flags", flags);
    log.number("reserved", reserved);
    log.line("message", pointer(message));
    if (message) log_message(log, *message);
    const std::string wanted = environment("VELL_MAPI_SEND_RESULT");
    const ULONG result = wanted.empty() ? SUCCESS_SUCCESS : ULONG(std::strtoul(wanted.c_str(), nullptr, 0));
    log.number("result", result);
    return result;
}

extern "C" __declspec(dllexport) ULONG WINAPI MAPILogoff(LHANDLE session, ULONG_PTR ui, FLAGS flags,
                                                       ULONG reserved) {
    Log log;
    log.line("call", "MAPILogoff");
    log.number("session", session);
    log.number("ui", ui);
    log.number("flags", flags);
    log.number("reserved", reserved);
    return SUCCESS_SUCCESS;
}
