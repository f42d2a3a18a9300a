#pragma once

#include <chrono>
#include <condition_variable>
#include <iosfwd>
#include <mutex>

namespace httplib {
class Server;
}

// Ends every raffle delay still running. httplib's stop() waits for all running
// handlers, so a long delay would otherwise hold up shutdown for its full length.
struct delay_gate {
    std::mutex mutex;
    std::condition_variable opened;
    bool open = false;
};

void open_delay_gate(delay_gate &gate);

// Registers the raffle and QR routes, a plain body for unmatched paths and a
// one-line-per-request log ("METHOD TARGET STATUS") written and flushed to log.
// Each raffle reply waits raffle_delay first, or until gate opens; gate must
// outlive the server.
void register_service_routes(httplib::Server &server, std::ostream &log,
                             std::chrono::milliseconds raffle_delay, delay_gate &gate);
