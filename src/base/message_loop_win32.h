#pragma once

#include <windows.h>

namespace qb {

// The application's pre-translation (the main window's keys): true when it consumed
// the message. Every loop of the program that dispatches messages applies it.
using PreTranslator = bool (*)(MSG& msg);
void SetMessagePreTranslator(PreTranslator preTranslator);

// One pass of the main loop for a message already retrieved.
void HandleRetrievedMessage(MSG& msg);

// The main loop: until WM_QUIT, whose wParam it returns.
int RunMessageLoop();

}  // namespace qb
