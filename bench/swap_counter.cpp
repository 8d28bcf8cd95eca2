// Loaded into the program by the idle benchmark (LD_PRELOAD): counts the
// frames it shows, every SDL_GL_SwapWindow, into the 8 bytes of the file
// that ZOZE_SWAP_COUNTER names, where the benchmark reads them while the
// program runs.
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>

namespace {

std::atomic<std::uint64_t>* counter() {
  static std::atomic<std::uint64_t>* shared = [] () -> std::atomic<std::uint64_t>* {
    const char* path = std::getenv("ZOZE_SWAP_COUNTER");
    const int fd = path ? open(path, O_RDWR | O_CREAT, 0600) : -1;
    if (fd < 0 || ftruncate(fd, sizeof(std::uint64_t)) != 0) return nullptr;
    void* p = mmap(nullptr, sizeof(std::uint64_t), PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    close(fd);
    return p == MAP_FAILED ? nullptr : static_cast<std::atomic<std::uint64_t>*>(p);
  }();
  return shared;
}

}  // namespace

extern "C" void SDL_GL_SwapWindow(void* window) {
  static const auto real = reinterpret_cast<void (*)(void*)>(dlsym(RTLD_NEXT, "SDL_GL_SwapWindow"));
  if (auto* c = counter()) c->fetch_add(1, std::memory_order_relaxed);
  real(window);
}
