// Operations on the caller's line lists (ZTScript); the module keeps no data.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/zot_constant.h"
#include "core/zot_object.h"

class ZOTScript : public ZOTObject {
public:
    explicit ZOTScript(ZOTOwner* parent);
    void Start();

    // A count below 1 empties the list; otherwise it holds count lines.
    static void SetLineCount(ZTScript& list, int32_t count);
    // The text is cut to a script line's length.
    static void AppendLine(ZTScript& list, std::string_view text);
    static void ClearLines(ZTScript& list);
};
