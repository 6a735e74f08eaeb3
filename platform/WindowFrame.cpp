#include "WindowFrame.h"

#include <QWidget>

#include "WindowsApi.h"

namespace revlane::platform {

void KeepFrameFixed(QWidget* window)
{
#ifdef Q_OS_WIN
    const HWND hwnd = reinterpret_cast<HWND>(window->winId());
    SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~WS_THICKFRAME);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
#else
    (void)window;
#endif
}

}  // namespace revlane::platform
