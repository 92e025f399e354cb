#include "math/math_strings.h"

ZMStrings::ZMStrings(ZOTOwner* parent) : ZOTObject(parent, "ZOT Engine Math Strings", "ZMStrings") {}
