// The registration procedures on the real HKEY_CLASSES_ROOT.
#include <windows.h>

#include <cstring>

#include "document/text.h"
#include "startup/module_path.h"
#include "startup/registration.h"
#include "ui_text/message_box.h"

namespace vell {

namespace {

// Every value is read through a 300-byte buffer announced as 299 bytes long,
// so the text always ends in a zero byte even when the value fills it.
constexpr DWORD kValueBufferSize = 300;
constexpr DWORD kValueQuerySize = 299;

void* open_key(void*, const std::string& name) {
    char key_class[1] = "";
    HKEY key = nullptr;
    DWORD disposition = 0;
    LONG status = RegCreateKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, key_class,
                                  REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &key,
                                  &disposition);
    return status == ERROR_SUCCESS ? key : nullptr;
}

bool query_default(void*, void* key, std::string* value) {
    char buffer[kValueBufferSize] = {};
    DWORD size = kValueQuerySize;
    DWORD type = REG_SZ;
    LONG status = RegQueryValueExA(static_cast<HKEY>(key), "", nullptr, &type,
                                   reinterpret_cast<BYTE*>(buffer), &size);
    if (status != ERROR_SUCCESS) return false;
    *value = buffer;
    return true;
}

void set_default(void*, void* key, const std::string& value) {
    char buffer[kCommandLimit + 1];
    copy_to_buffer(buffer, sizeof buffer, value);
    // The terminating NUL is counted in the value's length. A failed write
    // is not reported: register's result only tells whether keys opened.
    RegSetValueExA(static_cast<HKEY>(key), "", 0, REG_SZ, reinterpret_cast<const BYTE*>(buffer),
                   DWORD(std::strlen(buffer) + 1));
}

void close_key(void*, void* key) { RegCloseKey(static_cast<HKEY>(key)); }

}  // namespace

const RegistryOps& windows_registry() {
    static const RegistryOps ops = [] {
        RegistryOps o;
        o.open_key = open_key;
        o.query_default = query_default;
        o.set_default = set_default;
        o.close_key = close_key;
        return o;
    }();
    return ops;
}

int is_registered() { return is_registered(windows_registry()); }

int register_file_type() { return register_file_type(windows_registry(), module_path()); }

void show_registry_settings() { show_message(registry_settings_message(windows_registry())); }

}  // namespace vell
