// Floating-point unit settings of the process.
#pragma once

namespace platform {

// Masks every floating-point exception and rounds to nearest, ties to even.
void MaskFloatExceptions();

// 0 single, 1 double, 2 extended precision of the x87 unit; elsewhere a no-op.
void SetFloatPrecision(int mode);

}  // namespace platform
