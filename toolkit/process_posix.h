// How the program lives among other processes on a POSIX system, for the
// platform file beneath platform.h: the end signals (SIGTERM, SIGINT,
// SIGHUP) and the wake-up they give the event wait, the box's own child
// process, and the language and character set of the box's labels. Knows
// nothing of SDL or of the toolkit above the platform.
#pragma once

// Catches the end signals whose disposition is still the default (a signal
// ignored or handled by the host program stays its own), once. While the
// window is up the first of them becomes a close request: WAKE is called,
// once, from another thread, and must queue the request so that the event
// wait returns. Before the window, under a box and once a signal was noted
// before a box, a signal ends the program at once, as it would without a
// handler (128 + n to a shell); once the close path has begun, further ones
// are ignored.
void process_catch_end_signals(void (*wake)());
// The window is up (UP) or has gone: the close path has begun.
void process_window_up(bool up);

// Brackets a box shown on the calling thread. A signal noted before it ends
// the program instead; while it is up, a child forked by this thread (the
// box's own process) dies with the program, and so does the program at
// the next end signal.
void process_box_begins();
void process_box_ends();

// The Yes and No buttons in the language of the messages (the first of
// LC_ALL, LC_MESSAGES and LANG that is set), spelt with letters the
// character set in force (LC_CTYPE's) can encode: otherwise the language's
// ASCII spelling, or English.
struct process_labels {
  const char *yes, *no;
};
process_labels process_yes_no_labels();
