#include <windows.h>

#include "win32/shell/shell_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return qfd::RunShell(); }
