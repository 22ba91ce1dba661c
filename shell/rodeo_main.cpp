// rodeo.exe: the one application object and the entry point.
#include <windows.h>

#include "shell/mg_app.h"

namespace {
CMgApp theApp;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return theApp.Main(); }
