#include <windows.h>

#include "gui-win32/ReaderApp.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    tarvo::win32::ReaderApp app(instance);
    return app.run();
}
