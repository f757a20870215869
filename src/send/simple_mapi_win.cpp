// Simple MAPI on Windows: mapi32.dll from the system directory, its three
// entry points through the SDK's own pointer types, and the records of
// <mapi.h> filled from a composed message.
#include "send/simple_mapi.h"

#include <windows.h>
#include <mapi.h>

#include <string>
#include <vector>

#include "document/text.h"

namespace vell {

namespace {

// The library of the process: loaded on first use, released at the end of
// each e-mail or fax, so every command loads it anew.
struct MapiLibrary {
    HMODULE module = nullptr;
};

MapiLibrary& mapi_library() {
    static MapiLibrary library;
    return library;
}

// Only the copy in the system directory is ever loaded. A self-extracting
// viewer usually runs from a downloads folder, where anyone can leave a
// mapi32.dll; the ordinary search order would run that file with the
// user's rights. Systems too old to know the search flags answer with
// ERROR_INVALID_PARAMETER; they get the full path of the system copy.
HMODULE load_from_system_directory() {
    HMODULE module = LoadLibraryExA("mapi32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module || GetLastError() != ERROR_INVALID_PARAMETER) return module;
    char directory[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(directory, sizeof directory);
    if (length == 0 || length >= sizeof directory) return nullptr;
    const std::string path = std::string(directory, length) + "\\mapi32.dll";
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// An entry point of the loaded library as the SDK types it; null when the
// library is not loaded or does not export the name. Looked up afresh on
// every call: no address outlives a release of the library.
template <typename Pointer>
Pointer entry_point(const char* name) {
    HMODULE module = mapi_library().module;
    if (!module) return nullptr;
    FARPROC address = GetProcAddress(module, name);
    return reinterpret_cast<Pointer>(reinterpret_cast<void*>(address));
}

// The records that point into a copy of the message; the copy and the
// arrays live for the one MAPISendMail call.
struct MapiRecords {
    MailMessage texts;
    std::vector<MapiRecipDesc> recipients;
    std::vector<MapiFileDesc> files;
    MapiMessage message = {};
};

void fill_recipients(MapiRecords& records) {
    for (MailRecipient& r : records.texts.recipients) {
        MapiRecipDesc desc = {};
        desc.ulReserved = 0;
        desc.ulRecipClass = MAPI_TO;
        desc.lpszName = r.name.data();
        desc.lpszAddress = r.address.data();
        desc.ulEIDSize = 0;
        desc.lpEntryID = nullptr;
        records.recipients.push_back(desc);
    }
}

void fill_files(MapiRecords& records) {
    for (MailAttachment& a : records.texts.attachments) {
        MapiFileDesc desc = {};
        desc.ulReserved = 0;
        desc.flFlags = 0;
        desc.nPosition = a.position;
        desc.lpszPathName = a.path.data();
        desc.lpszFileName = a.name.data();
        desc.lpFileType = nullptr;
        records.files.push_back(desc);
    }
}

void fill_message(MapiRecords& records) {
    MapiMessage& m = records.message;
    m.ulReserved = 0;
    m.lpszSubject = records.texts.subject.data();
    m.lpszNoteText = records.texts.note.data();
    m.lpszMessageType = nullptr;
    m.lpszDateReceived = records.texts.date.data();
    m.lpszConversationID = nullptr;
    m.flFlags = 0;
    m.lpOriginator = nullptr;
    m.nRecipCount = ULONG(records.recipients.size());
    m.lpRecips = records.recipients.empty() ? nullptr : records.recipients.data();
    m.nFileCount = ULONG(records.files.size());
    m.lpFiles = records.files.empty() ? nullptr : records.files.data();
}

}  // namespace

bool load_mapi_library() {
    MapiLibrary& library = mapi_library();
    if (!library.module) library.module = load_from_system_directory();
    return library.module != nullptr;
}

uintptr_t mapi_logon(const std::string& profile, const std::string& password) {
    char profile_text[kLogonTextLimit + 1];
    char password_text[kLogonTextLimit + 1];
    // Empty texts go as empty texts, never as null pointers.
    copy_to_buffer(profile_text, sizeof profile_text, logon_text(profile));
    copy_to_buffer(password_text, sizeof password_text, logon_text(password));
    if (!load_mapi_library()) return 0;
    auto logon = entry_point<LPMAPILOGON>("MAPILogon");
    if (!logon) return 0;
    // The code returned is not looked at: a failed logon leaves no session.
    LHANDLE session = 0;
    logon(0, profile_text, password_text, MAPI_LOGON_UI | MAPI_NEW_SESSION, 0, &session);
    return session;
}

uint32_t mapi_send(uintptr_t session, const MailMessage& message, bool show_dialog) {
    auto send = entry_point<LPMAPISENDMAIL>("MAPISendMail");
    if (!send) return kMapiNotSupported;
    MapiRecords records;
    records.texts = message;
    fill_recipients(records);
    fill_files(records);
    fill_message(records);
    const FLAGS flags = show_dialog ? MAPI_LOGON_UI | MAPI_DIALOG : MAPI_LOGON_UI;
    return send(session, 0, &records.message, flags, 0);
}

void mapi_logoff(uintptr_t session) {
    auto logoff = entry_point<LPMAPILOGOFF>("MAPILogoff");
    if (logoff) logoff(session, 0, 0, 0);
}

void release_mapi_library() {
    MapiLibrary& library = mapi_library();
    if (library.module) FreeLibrary(library.module);
    library.module = nullptr;
}

LocalTime local_time_now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    LocalTime time;
    time.year = now.wYear;
    time.month = now.wMonth;
    time.day = now.wDay;
    time.hour = now.wHour;
    time.minute = now.wMinute;
    time.second = now.wSecond;
    return time;
}

}  // namespace vell
