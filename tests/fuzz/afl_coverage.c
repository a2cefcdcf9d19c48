/* Edge coverage for AFL++ from GCC's own -fsanitize-coverage=trace-pc. AFL++'s GCC plugin
   refuses any GCC but the exact build it was made for, and Clang cannot compile our code
   page 936 literals, so the instrumented code calls this instead. Built without coverage. */
#include <stdint.h>

extern uint8_t* __afl_area_ptr;

uintptr_t qb_fuzz_previous_block;

void __sanitizer_cov_trace_pc(void) {
    uintptr_t block = (uintptr_t)__builtin_return_address(0);
    block = (block >> 4) ^ (block << 8);
    __afl_area_ptr[(block ^ qb_fuzz_previous_block) & 0xFFFF]++;
    qb_fuzz_previous_block = block >> 1;
}
