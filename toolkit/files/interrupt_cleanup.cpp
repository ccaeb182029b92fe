#include "toolkit/files/interrupt_cleanup.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

namespace interrupt_cleanup {

namespace {

// The handler may only read plain memory: a fixed table of paths, each published by
// setting `used` after its bytes are in place.
constexpr int slot_count = 8;
constexpr std::size_t slot_bytes = 4096;

struct Slot {
    volatile std::sig_atomic_t used = 0;
    char path[slot_bytes] = {};
};

Slot slots[slot_count];
volatile std::sig_atomic_t held = 0;
volatile std::sig_atomic_t pending_signal = 0;

constexpr int terminating_signals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void on_terminating_signal(int signal_number)
{
    if (held > 0) {
        pending_signal = signal_number;
        return;
    }
    const int saved_errno = errno;
    for (Slot& slot : slots)
        if (slot.used)
            ::unlink(slot.path);
    // The signal is blocked while its handler runs: raised again under the default
    // disposition, it ends the program as soon as the handler returns.
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
    errno = saved_errno;
}

void handle_if_default(int signal_number, void (*handler)(int))
{
    struct sigaction current{};
    if (::sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler != SIG_DFL ||
        (current.sa_flags & SA_SIGINFO) != 0)
        return;
    struct sigaction action{};
    action.sa_handler = handler;
    // A held signal returns to the interrupted call, which goes on.
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int other : terminating_signals)
        sigaddset(&action.sa_mask, other);
    ::sigaction(signal_number, &action, nullptr);
}

} // namespace

void install()
{
    for (const int signal_number : terminating_signals)
        handle_if_default(signal_number, on_terminating_signal);
    handle_if_default(SIGXFSZ, SIG_IGN);
}

int remember(const std::string& path)
{
    if (path.size() >= slot_bytes || path.find('\0') != std::string::npos)
        return -1;
    for (int i = 0; i < slot_count; ++i) {
        Slot& slot = slots[i];
        if (slot.used)
            continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        std::atomic_signal_fence(std::memory_order_seq_cst);
        slot.used = 1;
        return i;
    }
    return -1;
}

void forget(int ticket)
{
    if (ticket >= 0 && ticket < slot_count)
        slots[ticket].used = 0;
}

Signals_held::Signals_held() { held = held + 1; }

Signals_held::~Signals_held()
{
    held = held - 1;
    if (held == 0 && pending_signal != 0) {
        const int signal_number = pending_signal;
        pending_signal = 0;
        std::raise(signal_number);
    }
}

} // namespace interrupt_cleanup
