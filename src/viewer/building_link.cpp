#include "viewer/building_link.h"

#include <algorithm>
#include <cstring>

#include "document/document.h"

namespace vell {

std::string copydata_text(const void* data, size_t size) {
    if (!data || size == 0) return std::string();
    const char* text = static_cast<const char*>(data);
    const void* end = std::memchr(text, 0, size);
    return std::string(text, end ? static_cast<const char*>(end) - text : size);
}

int32_t page_position_from_text(const std::string& text) {
    return int32_t(std::clamp<long long>(message_text_number(text), INT32_MIN, INT32_MAX));
}

std::string window_handle_text(uintptr_t handle) {
    return std::to_string(int32_t(uint32_t(handle)));
}

uintptr_t builder_window_handle(int32_t field) {
    return uintptr_t(intptr_t(field));
}

}  // namespace vell
