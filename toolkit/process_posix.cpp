// How the program lives among other processes on a POSIX system: the end
// signals and the wake-up they give the event wait, the box's own child
// process, and the box labels' language and character set.
// Owns the signal pipe and the thread that reads it, what the window and
// the box are doing as far as signals care, and the signal noted last.
#include "process_posix.h"

#include <fcntl.h>
#include <iconv.h>
#include <langinfo.h>
#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <atomic>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Where the program stands, as the end signals see it.
enum stage : int { before_window, window_up, closing };
std::atomic<int> phase{before_window};
std::atomic<int> noted{0};  // the end signal that asked for the close
std::atomic<bool> box_up{false};
pthread_t box_thread{};
pid_t box_owner = 0;
std::atomic<void (*)()> wake_waiter{nullptr};  // set on the GUI thread, called on the watcher's
int signal_pipe[2] = {-1, -1};

// The handler only tells the watcher, which may do what a handler may not.
void on_end_signal(int signal) {
  const int saved = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  if (write(signal_pipe[1], &byte, 1) < 0) {
    // A full pipe holds end signals enough.
  }
  errno = saved;
}

// Ends the program as SIGNAL would have without a handler.
[[noreturn]] void end_by(int signal) {
  std::signal(signal, SIG_DFL);
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, signal);
  pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
  raise(signal);
  _exit(128 + signal);
}

void take(int signal) {
  if (box_up) end_by(signal);
  if (phase == before_window) end_by(signal);
  if (phase == closing) return;
  // A box that begins now sees the signal; one that began already is seen
  // here: either way a box never outlasts it.
  noted = signal;
  if (box_up) end_by(signal);
  phase = closing;
  if (const auto wake = wake_waiter.load()) wake();
}

void* watch(void*) {
  for (;;) {
    unsigned char signal = 0;
    const ssize_t n = read(signal_pipe[0], &signal, 1);
    if (n == 1) {
      take(signal);
    } else if (n == 0 || errno != EINTR) {
      return nullptr;
    }
  }
}

// A child forked by the box's thread while its box is up is the box's own
// process: it is killed when the program ends, however it ends, so that no
// box stays on the screen with nothing behind it.
void box_dies_with_its_program() {
  if (!box_up || !pthread_equal(pthread_self(), box_thread)) return;
  prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (getppid() != box_owner) _exit(1);
}

}  // namespace

void process_catch_end_signals(void (*wake)()) {
  static bool caught = false;
  if (wake) wake_waiter = wake;
  if (caught) return;
  caught = true;
  pthread_atfork(nullptr, nullptr, box_dies_with_its_program);
  if (pipe2(signal_pipe, O_CLOEXEC) != 0) return;
  fcntl(signal_pipe[1], F_SETFL, O_NONBLOCK);
  pthread_t watcher;
  if (pthread_create(&watcher, nullptr, watch, nullptr) != 0) return;
  pthread_detach(watcher);
  struct sigaction action {};
  action.sa_handler = on_end_signal;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    // Ignored (nohup) or handled by the host program: left as it is.
    struct sigaction before {};
    if (sigaction(signal, nullptr, &before) != 0 || before.sa_handler != SIG_DFL ||
        (before.sa_flags & SA_SIGINFO))
      continue;
    sigaction(signal, &action, nullptr);
  }
}

void process_window_up(bool up) {
  if (up) noted = 0;
  phase = up ? window_up : closing;
}

void process_box_begins() {
  box_owner = getpid();
  box_thread = pthread_self();
  box_up = true;
  if (const int signal = noted) end_by(signal);
}

void process_box_ends() { box_up = false; }

namespace {

// True when the character set of the ctype locale the environment names
// can encode TEXT (UTF-8); the C locale's, ASCII, where that locale is not
// installed.
bool encodable(const char* text) {
  locale_t ctype = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
  const char* codeset = nl_langinfo_l(CODESET, ctype ? ctype : LC_GLOBAL_LOCALE);
  bool ok = false;
  if (!ctype) {
    ok = true;
    for (const char* c = text; *c; ++c) ok = ok && static_cast<unsigned char>(*c) < 0x80;
  } else if (iconv_t convert = iconv_open(codeset, "UTF-8"); convert != reinterpret_cast<iconv_t>(-1)) {
    char in[32], out[64];
    std::snprintf(in, sizeof in, "%s", text);
    char *from = in, *to = out;
    std::size_t left = std::strlen(in), room = sizeof out;
    ok = iconv(convert, &from, &left, &to, &room) != static_cast<std::size_t>(-1) && left == 0;
    iconv_close(convert);
  }
  if (ctype) freelocale(ctype);
  return ok;
}

}  // namespace

process_labels process_yes_no_labels() {
  const char* language = nullptr;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    language = std::getenv(name);
    if (language && *language) break;
  }
  static const struct {
    const char* prefix;
    process_labels labels, ascii;
  } known[] = {{"it", {"Sì", "No"}, {"Si", "No"}},      {"es", {"Sí", "No"}, {"Si", "No"}},
               {"pt", {"Sim", "Não"}, {"Sim", "Nao"}},   {"fr", {"Oui", "Non"}, {"Oui", "Non"}},
               {"de", {"Ja", "Nein"}, {"Ja", "Nein"}}};
  if (language) {
    for (const auto& k : known) {
      if (std::strncmp(language, k.prefix, 2) != 0 || std::isalpha(static_cast<unsigned char>(language[2]))) continue;
      return encodable(k.labels.yes) && encodable(k.labels.no) ? k.labels : k.ascii;
    }
  }
  return {"Yes", "No"};
}
