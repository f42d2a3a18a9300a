#include "app/press_queue.h"

#include <deque>

#include "codegen/generate.h"
#include "export/export.h"

namespace {

std::deque<Press> waiting;
bool in_flight = false;

void run_waiting()
{
    while (!in_flight && !waiting.empty()) {
        const Press next = waiting.front();
        waiting.pop_front();
        if (next == Press::generate) {
            in_flight = true;
            generate_one_code();
        } else {
            export_page();
        }
    }
}

} // namespace

void queue_press(Press press)
{
    waiting.push_back(press);
    run_waiting();
}

void finish_press()
{
    in_flight = false;
    run_waiting();
}

bool press_in_flight()
{
    return in_flight;
}

void clear_presses()
{
    waiting.clear();
    in_flight = false;
}
