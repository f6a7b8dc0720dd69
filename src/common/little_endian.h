#pragma once
// Explicit little-endian encoding of fixed-width integers; never struct casts.

#include <cstdint>
#include <string>

namespace tallymere {

inline void PutFixed16(std::string* out, uint16_t value) {
  out->push_back(static_cast<char>(value & 0xFF));
  out->push_back(static_cast<char>((value >> 8) & 0xFF));
}

inline void PutFixed32(std::string* out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8)
    out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

inline void PutFixed64(std::string* out, uint64_t value) {
  for (int shift = 0; shift < 64; shift += 8)
    out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

// The same into room already made; each returns the position after.
inline char* EncodeFixed16(char* at, uint16_t value) {
  at[0] = static_cast<char>(value & 0xFF);
  at[1] = static_cast<char>((value >> 8) & 0xFF);
  return at + 2;
}

inline char* EncodeFixed32(char* at, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) *at++ = static_cast<char>((value >> shift) & 0xFF);
  return at;
}

inline uint16_t DecodeFixed16(const unsigned char* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t DecodeFixed32(const unsigned char* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint64_t DecodeFixed64(const unsigned char* p) {
  return static_cast<uint64_t>(DecodeFixed32(p)) |
         (static_cast<uint64_t>(DecodeFixed32(p + 4)) << 32);
}

}  // namespace tallymere
