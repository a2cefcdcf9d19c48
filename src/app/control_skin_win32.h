#pragma once

namespace qb {

// Turns the skin on for the calling thread: every push button and group box of its
// windows, those there now and those made later (message boxes' too), is painted by
// the program. False for an unknown scheme. Turned on once; there is no way back.
bool EnableControlSkin(int scheme);

}  // namespace qb
