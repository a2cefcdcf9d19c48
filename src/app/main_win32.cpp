#include "app/program_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return qb::RunQuimbrel(instance); }
