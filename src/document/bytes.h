// Little-endian reads and writes on byte buffers, with bounds checks.
//
// Every fixed layout of the document format is read through these helpers
// and never by casting raw pointers: a field that lies (partly) outside the
// buffer reads as zeros, the same rule the document reader applies to bytes
// past the end of a file, and a write outside the buffer is dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace vell {

using Bytes = std::vector<uint8_t>;

inline uint8_t byte_at(const uint8_t* data, size_t size, size_t offset) {
    return offset < size ? data[offset] : 0;
}

inline uint16_t get_u16(const uint8_t* data, size_t size, size_t offset) {
    return uint16_t(byte_at(data, size, offset) |
                    (byte_at(data, size, offset + 1) << 8));
}

inline int16_t get_i16(const uint8_t* data, size_t size, size_t offset) {
    return int16_t(get_u16(data, size, offset));
}

inline uint32_t get_u32(const uint8_t* data, size_t size, size_t offset) {
    return uint32_t(byte_at(data, size, offset)) |
           (uint32_t(byte_at(data, size, offset + 1)) << 8) |
           (uint32_t(byte_at(data, size, offset + 2)) << 16) |
           (uint32_t(byte_at(data, size, offset + 3)) << 24);
}

inline int32_t get_i32(const uint8_t* data, size_t size, size_t offset) {
    return int32_t(get_u32(data, size, offset));
}

inline float get_f32(const uint8_t* data, size_t size, size_t offset) {
    uint32_t bits = get_u32(data, size, offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline int16_t get_i16(const Bytes& b, size_t offset) { return get_i16(b.data(), b.size(), offset); }
inline int32_t get_i32(const Bytes& b, size_t offset) { return get_i32(b.data(), b.size(), offset); }
inline uint32_t get_u32(const Bytes& b, size_t offset) { return get_u32(b.data(), b.size(), offset); }
inline float get_f32(const Bytes& b, size_t offset) { return get_f32(b.data(), b.size(), offset); }

inline void put_u16(uint8_t* data, size_t size, size_t offset, uint16_t v) {
    if (offset + 2 > size || offset + 2 < offset) return;
    data[offset] = uint8_t(v);
    data[offset + 1] = uint8_t(v >> 8);
}

inline void put_i16(uint8_t* data, size_t size, size_t offset, int16_t v) {
    put_u16(data, size, offset, uint16_t(v));
}

inline void put_u32(uint8_t* data, size_t size, size_t offset, uint32_t v) {
    if (offset + 4 > size || offset + 4 < offset) return;
    for (int i = 0; i < 4; ++i) data[offset + i] = uint8_t(v >> (8 * i));
}

inline void put_i32(uint8_t* data, size_t size, size_t offset, int32_t v) {
    put_u32(data, size, offset, uint32_t(v));
}

// Appending writers, for code that composes documents and messages.
inline void append_u8(Bytes& b, uint8_t v) { b.push_back(v); }
inline void append_i16(Bytes& b, int16_t v) {
    b.push_back(uint8_t(uint16_t(v)));
    b.push_back(uint8_t(uint16_t(v) >> 8));
}
inline void append_u32(Bytes& b, uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(v >> (8 * i)));
}
inline void append_i32(Bytes& b, int32_t v) { append_u32(b, uint32_t(v)); }
inline void append_f32(Bytes& b, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    append_u32(b, bits);
}
inline void append_text(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

}  // namespace vell
