// Runs FuzzOne under afl-fuzz (persistent mode, test cases in shared memory) or, built
// without QB_AFL, over the files named on the command line, for replaying findings.
#include "fuzz_driver.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

// Each input in a buffer of exactly its size, so that a read past its end is caught.
void RunExact(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> exact(data, data + size);
    FuzzOne(exact.data(), exact.size());
}

}  // namespace

#ifdef QB_AFL

// What the AFL++ runtime looks for: these names, and the two marker strings in the binary.
int __afl_sharedmem_fuzzing = 1;
extern "C" {
extern unsigned int* __afl_fuzz_len;
extern unsigned char* __afl_fuzz_ptr;
extern uintptr_t qb_fuzz_previous_block;
int __afl_persistent_loop(unsigned int);
void __afl_manual_init(void);
}

int main() {
    static volatile const char* persistentMarker = "##SIG_AFL_PERSISTENT##";
    static volatile const char* deferredMarker = "##SIG_AFL_DEFER_FORKSRV##";
    (void)persistentMarker;
    (void)deferredMarker;
    __afl_manual_init();
    static std::vector<uint8_t> fromStdin(1 << 20);
    while (__afl_persistent_loop(10000)) {
        qb_fuzz_previous_block = 0;
        if (__afl_fuzz_ptr) {
            RunExact(__afl_fuzz_ptr, *__afl_fuzz_len);
        } else {
            const ssize_t n = read(0, fromStdin.data(), fromStdin.size());
            RunExact(fromStdin.data(), n > 0 ? static_cast<size_t>(n) : 0);
        }
    }
    return 0;
}

#else

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        std::ifstream file(argv[i], std::ios::binary);
        if (!file) {
            std::fprintf(stderr, "cannot read %s\n", argv[i]);
            return 2;
        }
        const std::vector<uint8_t> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        RunExact(data.data(), data.size());
    }
    return 0;
}

#endif
