// Message boxes: the backend shows UTF-8, the framework speaks Shift-JIS.
#include "platform/os/message_box.h"

#include "platform/backend.h"
#include "platform/sjis.h"

namespace platform {

int32_t messageBox(Window* owner, const char* sjisText, const char* sjisCaption, uint32_t type) {
    (void)owner;  // boxes are modal to the one window whatever the owner
    std::string text = sjisToUtf8(sjisText ? sjisText : "");
    std::string caption = sjisToUtf8(sjisCaption ? sjisCaption : "");
    return backend().messageBox(text.c_str(), caption.c_str(), type);
}

}  // namespace platform
