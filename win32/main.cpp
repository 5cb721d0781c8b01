#include <windows.h>

#include "shell/shell_app.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return qfd::RunShell(); }
