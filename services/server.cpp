#include "server.h"

#include "qr_png.h"
#include "raffle.h"

#include <httplib.h>

#include <memory>
#include <mutex>
#include <ostream>

namespace {

constexpr const char *json_type = "application/json";
constexpr const char *text_type = "text/plain; charset=utf-8";

void wait_for_delay(std::chrono::milliseconds delay, delay_gate &gate)
{
    if (delay <= std::chrono::milliseconds::zero())
        return;
    std::unique_lock lock(gate.mutex);
    gate.opened.wait_for(lock, delay, [&gate] { return gate.open; });
}

void handle_raffle(const httplib::Request &req, httplib::Response &res)
{
    if (!req.has_param("activityid") || req.get_param_value("activityid") != raffle_activity_id) {
        res.status = 404;
        res.set_content(R"({"error":"unknown activity"})", json_type);
        return;
    }
    res.status = 200;
    res.set_content(make_raffle_body(local_date_today(), random_coupon_code()), json_type);
}

void handle_qr(const httplib::Request &req, httplib::Response &res)
{
    if (!req.has_param("text")) {
        res.status = 400;
        res.set_content("missing text parameter\n", text_type);
        return;
    }
    // httplib has already percent-decoded the value (and turned '+' into a
    // space); the bytes go to the encoder untouched from here on.
    const std::string text = req.get_param_value("text");
    std::string png = qr_png(text);
    if (png.empty()) {
        res.status = 400;
        res.set_content(text.empty() ? "empty text cannot be encoded\n"
                                     : "text cannot be encoded as a QR code\n",
                        text_type);
        return;
    }
    res.status = 200;
    res.set_content(std::move(png), "image/png");
}

}  // namespace

void open_delay_gate(delay_gate &gate)
{
    {
        std::lock_guard lock(gate.mutex);
        gate.open = true;
    }
    gate.opened.notify_all();
}

void register_service_routes(httplib::Server &server, std::ostream &log,
                             std::chrono::milliseconds raffle_delay, delay_gate &gate)
{
    server.Get("/api/cola/raffle", [raffle_delay, &gate](const httplib::Request &req, httplib::Response &res) {
        wait_for_delay(raffle_delay, gate);
        handle_raffle(req, res);
    });
    server.Get("/api.php", handle_qr);

    // Fills in a body only where no handler wrote one (unmatched paths, bad requests).
    server.set_error_handler([](const httplib::Request &, httplib::Response &res) {
        if (res.body.empty())
            res.set_content(res.status == 404 ? "not found\n" : "error\n", text_type);
    });

    // Requests are served on several threads; the mutex keeps log lines whole.
    auto log_mutex = std::make_shared<std::mutex>();
    server.set_logger([&log, log_mutex](const httplib::Request &req, const httplib::Response &res) {
        std::lock_guard lock(*log_mutex);
        log << req.method << ' ' << req.target << ' ' << res.status << std::endl;
    });
}
