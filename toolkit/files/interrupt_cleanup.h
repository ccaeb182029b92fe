#pragma once

#include <string>

// Files that must not outlive the program when a signal ends it. A save writes its
// new contents to a temporary file next to the target; should SIGINT, SIGTERM or
// SIGHUP end the program first, the handler installed here removes every temporary
// file still registered and then lets the signal end the program as it would have.
namespace interrupt_cleanup {

// Installs the handlers (called by every save; a signal already handled is left
// alone). Only a signal whose disposition is still the default gets one: a signal the program ignores (as under nohup) or handles itself stays
// so. SIGXFSZ, when it has its default disposition, becomes ignored, so that passing
// the file size limit (ulimit -f) fails the write with EFBIG, which the writer
// reports, instead of killing the program without a word.
void install();

// Registers `path` for removal; returns a ticket for forget(), or -1 when every slot
// is taken or the path is too long (the file is then left behind by a signal).
[[nodiscard]] int remember(const std::string& path);
void forget(int ticket);

// While one exists, the terminating signals wait: a file being swapped or copied
// into place is never left half done. A signal that arrived meanwhile takes effect
// when the last one is destroyed.
class Signals_held {
public:
    Signals_held();
    ~Signals_held();
    Signals_held(const Signals_held&) = delete;
    Signals_held& operator=(const Signals_held&) = delete;
};

} // namespace interrupt_cleanup
