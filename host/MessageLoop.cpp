#include "host/MessageLoop.h"

#include <windows.h>

namespace phone::host {

int runMessageLoop()
{
    MSG message;
    BOOL result = 0;
    while ((result = GetMessageW(&message, nullptr, 0, 0)) != 0) {
        if (result == -1)
            return 1;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace phone::host
