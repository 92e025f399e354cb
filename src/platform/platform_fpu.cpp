#include "platform/platform_fpu.h"

#include <cfenv>
#if defined(__x86_64__) || defined(__i386__)
#include <fpu_control.h>
#endif

namespace platform {

void MaskFloatExceptions()
{
#if defined(__GLIBC__)
    fedisableexcept(FE_ALL_EXCEPT);
#endif
    std::feclearexcept(FE_ALL_EXCEPT);
    std::fesetround(FE_TONEAREST);
}

void SetFloatPrecision(int mode)
{
#if defined(__x86_64__) || defined(__i386__)
    static const fpu_control_t kPrecision[] = {_FPU_SINGLE, _FPU_DOUBLE, _FPU_EXTENDED};
    if (mode < 0 || mode > 2)
        return;
    fpu_control_t word;
    _FPU_GETCW(word);
    word = static_cast<fpu_control_t>((word & ~_FPU_EXTENDED) | kPrecision[mode]);
    _FPU_SETCW(word);
#else
    (void)mode;
#endif
}

}  // namespace platform
