#include "platform/platform_checksum.h"

#include <zlib.h>

namespace platform {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc)
{
    // zlib answers a null buffer with the initial value, whatever crc it was given.
    if (size == 0)
        return crc;
    return static_cast<uint32_t>(crc32_z(crc, data, size));
}

}  // namespace platform
