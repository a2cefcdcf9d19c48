#pragma once

// Every program text is a narrow literal handed unchanged to the ANSI calls, so the
// compiler must encode narrow literals in code page 936. "中" is D6 D0 there and
// E4 B8 AD in UTF-8; a compiler that cannot do this (Clang) is refused here.
static_assert(sizeof("中") == 3 && "中"[0] == '\xD6' && "中"[1] == '\xD0',
              "narrow string literals must be compiled to code page 936 "
              "(GCC: -fexec-charset=GBK, MSVC: /execution-charset:.936)");
