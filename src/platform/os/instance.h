// The single-instance guard: an abstract Unix socket named for the user and the program, which
// the kernel frees with its process. A second copy asks the first to come to the front.
#pragma once

namespace platform {

// True for the first copy, which then holds the guard; false when another copy holds it (that
// copy has been sent "front"). TESSORA_INSTANCE, when set, is added to the name so that tests
// running side by side do not refuse each other. True as well when the host offers no sockets at all.
bool acquireInstance(const char* name);
// Polled while pumping events: answers waiting copies and raises the window on "front".
void serviceInstance();
void releaseInstance();

}  // namespace platform
