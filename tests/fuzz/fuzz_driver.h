#pragma once

#include <cstddef>
#include <cstdint>

// Each target defines this; it aborts when a property it checks does not hold.
void FuzzOne(const uint8_t* data, size_t size);
