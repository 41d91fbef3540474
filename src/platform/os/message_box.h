// Message boxes with Shift-JIS texts: MB_* flags in, IDOK / IDYES / IDNO out.
#pragma once
#include <cstdint>

namespace platform {

struct Window;

int32_t messageBox(Window* owner, const char* sjisText, const char* sjisCaption, uint32_t type);

}  // namespace platform
