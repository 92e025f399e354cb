// The CRC-32 of the zlib library, with which the asset tools fingerprint pixels.
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

// Continues crc over size bytes; chained calls give the CRC of the whole.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

}  // namespace platform
