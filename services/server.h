#pragma once

#include <iosfwd>

namespace httplib {
class Server;
}

// Registers the raffle and QR routes, a plain body for unmatched paths and a
// one-line-per-request log ("METHOD TARGET STATUS") written and flushed to log.
void register_service_routes(httplib::Server &server, std::ostream &log);
