// The viewer's side of the building messages: the WM_COPYDATA codes that a
// generator and the viewer window exchange while a document is being
// written, and how their texts are read and written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace vell {

namespace building {
constexpr uintptr_t kPageAdded = 100;     // generator to viewer: a page's position
constexpr uintptr_t kFinished = 101;      // generator to viewer: the document is complete
constexpr uintptr_t kProgress = 102;      // generator to viewer: progress 0..100
constexpr uintptr_t kViewerWindow = 103;  // viewer to generator: its window handle
constexpr uintptr_t kViewerClosed = 104;  // viewer to generator: it has closed
// The text of message 104; it is sent with its terminator (11 bytes).
constexpr char kClosedText[] = "Dummy Info";
}  // namespace building

// The text a message carries: its bytes up to the first zero byte, never
// more than size bytes, so that a text without its terminator is not read
// past its end. Null data gives an empty text.
std::string copydata_text(const void* data, size_t size);

// The position of message 100, held to the 32-bit range of positions.
int32_t page_position_from_text(const std::string& text);

// A window handle as the decimal text of message 103. Window handles are
// 32-bit values on every Windows, stored as such in the header's builder
// window field; the text is that signed 32-bit value.
std::string window_handle_text(uintptr_t handle);

// The window handle in the header's builder window field, widened the way
// Windows widens 32-bit handles (sign extension).
uintptr_t builder_window_handle(int32_t field);

}  // namespace vell
