// Holds a file open with no sharing at all, as another program might, until it is killed.
//
//   hold_file PATH-HEX
//
// Prints "held" once the file is open; exits with 1 when it cannot be opened.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    std::string path;
    for (const char* hex = argv[1]; hex[0] && hex[1]; hex += 2) {
        const char pair[3] = {hex[0], hex[1], 0};
        path += static_cast<char>(std::strtoul(pair, nullptr, 16));
    }
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    for (;;) Sleep(INFINITE);
}
