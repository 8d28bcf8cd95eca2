// What tests need of the system beyond the standard library, the same on
// every system they run on.
#pragma once

#include <string>

// A path in the system's folder for temporary files, unique to this
// process: NAME with the process's number appended.
std::string temp_path(const std::string& name);
// The most memory the process has held at once, in kilobytes.
long peak_memory_kb();
// Sets an environment variable of the process.
void set_environment(const char* name, const char* value);
// On Windows, registers a window class of that name, so that nobody else
// can; elsewhere nothing.
void occupy_window_class(const char* name);
// On Windows, presses OK on the next message box with that caption, from
// another thread, within five seconds; elsewhere nothing (the tests' boxes
// are not shown there).
void answer_next_box(const char* caption);
// Makes a named pipe at PATH; false where the system has none.
bool make_fifo(const std::string& path);
// Makes an anonymous pipe: ENDS[0] to read, ENDS[1] to write, both binary.
bool make_pipe(int ends[2]);

// On Windows, what the system does to the test's GL window (class
// "GLWindow"): takes its pointer capture away, moves it to a monitor of DPI
// dots an inch, minimises or restores it. False elsewhere, where the test
// reports the same to the toolkit itself.
bool take_capture_away();
bool change_monitor_scale(int dpi);
bool minimise_test_window(bool minimised);
