// The real vqgen-services executable as a child process, for tests and benchmarks.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

class ServicesProcess {
public:
    // Starts it on 127.0.0.1:port and waits for its "listening on" line.
    ServicesProcess(const std::string& executable, std::uint16_t port);
    ~ServicesProcess(); // SIGTERM, then waits
    ServicesProcess(const ServicesProcess&) = delete;
    ServicesProcess& operator=(const ServicesProcess&) = delete;

    bool running() const { return ready_; }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
};
