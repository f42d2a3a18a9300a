// Presses of the two buttons run one at a time, in the order they were made. A
// press of 按钮1 waits for the network off the window's thread; presses made
// meanwhile wait here, as they would in a window that did not answer.
#pragma once

enum class Press { generate, export_page };

// Runs the press now when nothing is in flight, else after the presses before it.
void queue_press(Press press);

// The fetch in flight has been handled; the presses behind it run.
void finish_press();

// A fetch has been started and its reply not yet handled.
bool press_in_flight();

// Forgets every waiting press and the one in flight (a new window starts clean).
void clear_presses();
