// A page of n real snippets, in the program's state and in the box.
#pragma once

#include <cstdint>
#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
#include "codegen/snippet.h"

inline void set_page(std::int64_t snippets)
{
    const Text one = coupon_snippet("A1B2C3D4E5F6", "2016-07-31");
    std::string page;
    page.reserve(static_cast<std::size_t>(snippets) * one.view().size());
    for (std::int64_t i = 0; i < snippets; ++i)
        page.append(one.view());
    program.page_html = Text(std::move(page));
    write_control_text(Control::编辑框1, program.page_html);
}
