#include "raffle.h"

#include <ctime>
#include <random>

namespace {

constexpr std::string_view coupon_alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr std::size_t coupon_length = 12;

std::mt19937 &coupon_generator()
{
    // Handlers run on httplib's worker threads, so each thread keeps its own engine.
    thread_local std::mt19937 generator{std::random_device{}()};
    return generator;
}

}  // namespace

std::string make_raffle_body(std::string_view date, std::string_view code)
{
    std::string body;
    body.reserve(32 + date.size() + code.size());
    body += R"({"time":")";
    body += date;
    body += R"(","activity":")";
    body += code;
    body += R"("})";
    return body;
}

std::string random_coupon_code()
{
    std::uniform_int_distribution<std::size_t> pick(0, coupon_alphabet.size() - 1);
    std::string code(coupon_length, '\0');
    for (char &c : code)
        c = coupon_alphabet[pick(coupon_generator())];
    return code;
}

std::string local_date_today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char buffer[16];
    const std::size_t n = std::strftime(buffer, sizeof buffer, "%Y-%m-%d", &local);
    return std::string(buffer, n);
}
