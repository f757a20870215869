// Reading and preparing HKEY_CLASSES_ROOT of the test prefix.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "driver.h"

namespace vtdriver {

int cmd_reg_query(const Args& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vtdriver reg-query KEY\n");
        return 64;
    }
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, args[0].c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        std::printf("(missing)\n");
        return 0;
    }
    char value[1024] = {};
    DWORD size = sizeof value - 1;
    DWORD type = 0;
    LONG status = RegQueryValueExA(key, "", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS)
        std::printf("(unset)\n");
    else
        std::printf("%s\n", printable(value).c_str());
    return 0;
}

int cmd_reg_delete(const Args& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vtdriver reg-delete KEY\n");
        return 64;
    }
    LONG status = RegDeleteTreeA(HKEY_CLASSES_ROOT, args[0].c_str());
    if (status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) {
        // RegDeleteTree empties the key; the key itself goes with RegDeleteKey.
        RegDeleteKeyA(HKEY_CLASSES_ROOT, args[0].c_str());
        return 0;
    }
    std::fprintf(stderr, "vtdriver reg-delete: error %ld\n", status);
    return 1;
}

int cmd_reg_set(const Args& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vtdriver reg-set KEY VALUE\n");
        return 64;
    }
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, args[0].c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "vtdriver reg-set: cannot create %s\n", args[0].c_str());
        return 1;
    }
    const std::string& value = args[1];
    LONG status = RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                 DWORD(value.size() + 1));
    RegCloseKey(key);
    return status == ERROR_SUCCESS ? 0 : 1;
}

}  // namespace vtdriver
