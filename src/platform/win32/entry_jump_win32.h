// Rewrites the entry of a routine in this process so that every call of it
// lands in another routine.
#pragma once

namespace vx::platform {

// Follows the jumps an entry starts with (an export forwarded to another
// module is a stub that jumps through its import slot) to the routine's
// code, and writes a 5-byte relative jump over its first bytes. On x64 a
// routine more than 2 GiB away is reached through a 14-byte absolute jump
// placed in a page allocated within reach. False, with nothing written, when
// the code is known to be shorter than the jump or no such page is free.
bool RedirectEntry(void *entry, const void *routine);

// The code an entry leads to, after its leading jumps.
void *FollowLeadingJumps(void *entry);

}  // namespace vx::platform
