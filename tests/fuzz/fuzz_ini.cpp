// Settings files through the platform's ini reader and the lookups the
// program makes of them.
#include "fuzz_support.h"
#include "platform/platform_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const fuzz::ScratchDir dir;
    platform::IniFile ini;
    ini.Load(dir.Write("input.ini", data, size));
    ini.ReadInteger("DISPLAY", "Width", 0);
    ini.ReadInteger("display", "HEIGHT", 0);
    ini.ReadBool("PARAMS", "RenderLawn", true);
    ini.ReadInteger("", "", 0);
    return 0;
}
