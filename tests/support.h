// What the tests share: files and images they make, the boxes the toolkit
// shows, the cube's start state, a model of turns; and what they need of the
// system beyond the standard library, the same on every system they run on.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cube.h"
#include "vtrtypes.h"

using bytes = std::vector<std::uint8_t>;

// A path in the system's folder for temporary files, unique to this
// process: NAME with the process's number appended.
std::string temp_path(const std::string& name);
// Writes CONTENT to PATH; false when it cannot.
bool write_file(const std::string& path, const bytes& content);
// Writes CONTENT to a new file of the temporary folder and returns its path.
std::string temp_file(const bytes& content);
// The bytes of the file at PATH; none when it cannot be read.
bytes read_file(const std::string& path);
// The 32-bit value V at byte AT of F, least significant byte first unless
// BIG_ENDIAN.
void put32(bytes& f, std::size_t at, std::uint32_t v, bool big_endian = false);
// The same for each (AT, V) of FIELDS.
void put32(bytes& f, std::initializer_list<std::pair<std::size_t, std::uint32_t>> fields, bool big_endian = false);
// A TGA file of TYPE (2 plain, 10 run-length coded), WIDTH x HEIGHT pixels
// of DEPTH bits, its DATA after the header.
bytes tga_file(int type, int width, int height, int depth, const bytes& data = {});

// The message boxes shown since record_boxes(), each as "CAPTION: text";
// record_boxes() sends every box here (and says it on standard error, for
// tests that end the process).
extern std::vector<std::string> boxes_shown;
void record_boxes();

// The solved cube standing square, layer 2 chosen.
void reset_cube();
// True when every sticker of A has the colour of the same sticker of B;
// same_colour, when colours A and B are one.
bool same_colours(const TCUBES& a, const TCUBES& b);
bool same_colour(const TGLRGB2& a, const TGLRGB2& b);
// The six side slots of a cubie: each one's outward direction and the
// colour it shows on the solved cube.
extern const int slot_direction[6][3];
extern const char* const slot_colour[6];
// V turned by DEGREES about axis 0, 1 or 2 (x, y, z), right-handed, as
// glRotatef turns it.
std::array<double, 3> turned(std::array<double, 3> v, int axis, double degrees);
// The most memory the process has held at once, in kilobytes.
long peak_memory_kb();
// Sets an environment variable of the process; VALUE null removes it.
void set_environment(const char* name, const char* value);
// On Windows, registers a window class of that name, so that nobody else
// can; elsewhere nothing.
void occupy_window_class(const char* name);
// Shows a box by calling SHOW while another thread answers it as a person
// would (OK, on Windows) once a box of that CAPTION is up, and returns
// SHOW's answer. A box left unanswered for five seconds (one the helper
// cannot see, as none is elsewhere) ends the test program with a message
// that names it.
LONGINT answered_box(const char* caption, const std::function<LONGINT()>& show);
// Makes a named pipe at PATH; false where the system has none.
bool make_fifo(const std::string& path);
// Makes an anonymous pipe: ENDS[0] to read, ENDS[1] to write, both binary.
bool make_pipe(int ends[2]);

// On Windows, what the system does to the test's GL window (class
// "GLWindow"): moves it to a monitor of DPI dots an inch, minimises or
// restores it. False elsewhere, where the test reports the same to the
// toolkit itself.
bool change_monitor_scale(int dpi);
bool minimise_test_window(bool minimised);
