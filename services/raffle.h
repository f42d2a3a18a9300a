#pragma once

#include <string>
#include <string_view>

// The only activity id the raffle stand-in knows about.
inline constexpr std::string_view raffle_activity_id = "NA0371140216";

// {"time":"<date>","activity":"<code>"} with no white space; the caller
// passes date and code already in their final form.
std::string make_raffle_body(std::string_view date, std::string_view code);

// 12 characters drawn uniformly from A-Z and 0-9.
std::string random_coupon_code();

// Today's local date as YYYY-MM-DD.
std::string local_date_today();
