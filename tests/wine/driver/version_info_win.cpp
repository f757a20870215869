// Reading a program's version resource, as Explorer's properties show it.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "driver.h"

namespace vtdriver {

namespace {

// A text of the version resource's English (United States), Windows-1252
// block; empty when there is none.
std::string version_text(const std::vector<char>& info, const char* name) {
    std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
    char* text = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length) ||
        !text)
        return "";
    return std::string(text, strnlen(text, length));
}

}  // namespace

int cmd_file_version(const Args& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: vtdriver file-version PATH\n");
        return 64;
    }
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(args[0].c_str(), &handle);
    std::vector<char> info(size);
    if (size == 0 || !GetFileVersionInfoA(args[0].c_str(), 0, size, info.data())) {
        std::fprintf(stderr, "vtdriver file-version: %s has no version resource\n", args[0].c_str());
        return 1;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed)
        std::printf("fixed=%u.%u.%u.%u\n", HIWORD(fixed->dwFileVersionMS),
                    LOWORD(fixed->dwFileVersionMS), HIWORD(fixed->dwFileVersionLS),
                    LOWORD(fixed->dwFileVersionLS));
    std::printf("product=%s\n", version_text(info, "ProductName").c_str());
    std::printf("version=%s\n", version_text(info, "FileVersion").c_str());
    std::printf("description=%s\n", version_text(info, "FileDescription").c_str());
    return 0;
}

}  // namespace vtdriver
