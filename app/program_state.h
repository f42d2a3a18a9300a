// The program-wide variables, one set per process, touched only by the window's thread.
#pragma once

#include <cstdint>

#include "text/text.h"

struct ProgramState {
    std::int32_t generated_count = 0;
    Text response_text;
    Text valid_until;
    Text coupon_code;
    Text combined_page;
    Text page_html;
    Text status_text;
};

extern ProgramState program;

// The window's created event: the counter starts at 0.
void handle_main_window_created();

// The shutdown step: releases the six texts, in their declared order.
void release_program_state();
