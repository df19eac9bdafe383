// Times a program's start as the screen shows it, from outside the process: starts COMMAND and
// watches the X server for the first top-level window whose title begins with TITLE being mapped,
// and for what is drawn into it (the Damage extension), until SETTLE milliseconds have passed.
// The window's contents are taken after each drawing; the text counts as drawn at the first
// drawing after which the window differs from its settled look in under 0.2 % of its pixels (a
// caret blinking stays below that). A frameless SPLASH_W x SPLASH_H window (the splash) is asked
// to close by the window manager's protocol as soon as it is mapped, and the time it was shown is
// reported, so that the caller can take out a wait that is the splash's own.
//   startprobe TITLE SETTLE SPLASH_W SPLASH_H -- COMMAND ARGS...
// SETTLE 0 ends the program as soon as its window is mapped (a profiler then sees only the time
// before it).
// Prints "mapped_ms=N text_ms=N splash_ms=N cpu_mapped_ms=N cpu_text_ms=N" (-1 for what never
// happened); the cpu_ figures are the time the process's threads had run on a processor by then,
// which a loaded machine changes less than the wall-clock times.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <dirent.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
  std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> r(
      xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr),
      &free);
  return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

std::string Title(xcb_connection_t* c, xcb_window_t w, xcb_atom_t netName, xcb_atom_t utf8) {
  for (auto [property, type] : {std::pair{netName, utf8}, {XCB_ATOM_WM_NAME, XCB_ATOM_STRING}}) {
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, property, type, 0, 256), nullptr),
        &free);
    if (r && xcb_get_property_value_length(r.get()) > 0)
      return std::string(static_cast<const char*>(xcb_get_property_value(r.get())),
                         size_t(xcb_get_property_value_length(r.get())));
  }
  return {};
}

// The time all threads of PID have run, in milliseconds (the kernel's scheduler statistics).
double CpuMs(pid_t pid) {
  const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
  DIR* dir = opendir(tasks.c_str());
  if (!dir) return -1;
  double total = 0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    FILE* f = std::fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r");
    if (!f) continue;
    unsigned long long ns = 0;
    if (std::fscanf(f, "%llu", &ns) == 1) total += double(ns) / 1e6;
    std::fclose(f);
  }
  closedir(dir);
  return total;
}

struct Snapshot {
  Clock::time_point At;
  double Cpu;
  std::vector<uint8_t> Pixels;
};

std::vector<uint8_t> Contents(xcb_connection_t* c, xcb_window_t w, uint16_t width,
                              uint16_t height) {
  std::unique_ptr<xcb_get_image_reply_t, decltype(&free)> r(
      xcb_get_image_reply(c,
                          xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, w, 0, 0, width, height,
                                        ~0u),
                          nullptr),
      &free);
  if (!r) return {};
  const uint8_t* data = xcb_get_image_data(r.get());
  return std::vector<uint8_t>(data, data + xcb_get_image_data_length(r.get()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 7 || std::strcmp(argv[5], "--") != 0) {
    std::fprintf(stderr, "usage: %s TITLE SETTLE_MS SPLASH_W SPLASH_H -- COMMAND ARGS...\n",
                 argv[0]);
    return 2;
  }
  const std::string title = argv[1];
  const int settle = std::atoi(argv[2]);
  const int splashW = std::atoi(argv[3]), splashH = std::atoi(argv[4]);
  xcb_connection_t* c = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(c)) {
    std::fprintf(stderr, "startprobe: no X server\n");
    return 1;
  }
  const xcb_setup_t* setup = xcb_get_setup(c);
  const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
  const xcb_query_extension_reply_t* damageExt = xcb_get_extension_data(c, &xcb_damage_id);
  if (!damageExt || !damageExt->present) {
    std::fprintf(stderr, "startprobe: the X server has no Damage extension\n");
    return 1;
  }
  free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
  const xcb_atom_t netName = Atom(c, "_NET_WM_NAME"), utf8 = Atom(c, "UTF8_STRING");
  const xcb_atom_t protocols = Atom(c, "WM_PROTOCOLS"), deleteWindow = Atom(c, "WM_DELETE_WINDOW");
  const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
  xcb_flush(c);

  const Clock::time_point start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[6], argv + 6);
    _exit(127);
  }
  xcb_window_t main = XCB_WINDOW_NONE, splash = XCB_WINDOW_NONE;
  uint16_t width = 0, height = 0;
  xcb_damage_damage_t damage = 0;
  Clock::time_point mapped{}, splashShown{}, splashGone{};
  double cpuMapped = -1;
  std::vector<Snapshot> shots;
  const int fd = xcb_get_file_descriptor(c);
  while (settle == 0 ? main == XCB_WINDOW_NONE : Ms(start, Clock::now()) < settle) {
    xcb_generic_event_t* e = xcb_poll_for_event(c);
    if (!e) {
      if (xcb_connection_has_error(c)) break;
      fd_set set;
      FD_ZERO(&set);
      FD_SET(fd, &set);
      timeval wait{0, 5000};
      select(fd + 1, &set, nullptr, nullptr, &wait);
      continue;
    }
    const Clock::time_point now = Clock::now();
    const uint8_t type = e->response_type & 0x7F;
    if (type == XCB_CREATE_NOTIFY) {
      const auto* ev = reinterpret_cast<xcb_create_notify_event_t*>(e);
      const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
      xcb_change_window_attributes(c, ev->window, XCB_CW_EVENT_MASK, &mask);
      xcb_flush(c);
    } else if (type == XCB_MAP_NOTIFY) {
      const auto* ev = reinterpret_cast<xcb_map_notify_event_t*>(e);
      std::unique_ptr<xcb_get_geometry_reply_t, decltype(&free)> g(
          xcb_get_geometry_reply(c, xcb_get_geometry(c, ev->window), nullptr), &free);
      const std::string name = Title(c, ev->window, netName, utf8);
      if (g && g->width == splashW && g->height == splashH && splash == XCB_WINDOW_NONE &&
          !name.empty()) {
        splash = ev->window;
        splashShown = now;
        xcb_client_message_event_t close{};
        close.response_type = XCB_CLIENT_MESSAGE;
        close.format = 32;
        close.window = splash;
        close.type = protocols;
        close.data.data32[0] = deleteWindow;
        close.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(c, 0, splash, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&close));
      } else if (g && main == XCB_WINDOW_NONE && name.rfind(title, 0) == 0) {
        main = ev->window;
        mapped = now;
        cpuMapped = CpuMs(child);
        width = g->width;
        height = g->height;
        damage = xcb_generate_id(c);
        xcb_damage_create(c, damage, main, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
      }
      xcb_flush(c);
    } else if (type == XCB_UNMAP_NOTIFY || type == XCB_DESTROY_NOTIFY) {
      const xcb_window_t w = type == XCB_UNMAP_NOTIFY
                                 ? reinterpret_cast<xcb_unmap_notify_event_t*>(e)->window
                                 : reinterpret_cast<xcb_destroy_notify_event_t*>(e)->window;
      if (w == splash && splash != XCB_WINDOW_NONE && splashGone == Clock::time_point{})
        splashGone = now;
    } else if (type == damageExt->first_event + XCB_DAMAGE_NOTIFY) {
      xcb_damage_subtract(c, damage, XCB_NONE, XCB_NONE);
      if (shots.size() < 2000) shots.push_back({now, CpuMs(child), Contents(c, main, width, height)});
    } else if (type == XCB_CONFIGURE_NOTIFY) {
      const auto* ev = reinterpret_cast<xcb_configure_notify_event_t*>(e);
      if (ev->window == main) {
        width = ev->width;
        height = ev->height;
      }
    }
    free(e);
  }
  // The settled look, then the first drawing from which on the window stays close to it.
  double text = -1, cpuText = -1;
  if (main != XCB_WINDOW_NONE) {
    const std::vector<uint8_t> last = Contents(c, main, width, height);
    const size_t pixels = last.size() / 4;
    for (size_t i = shots.size(); i-- > 0;) {
      const std::vector<uint8_t>& p = shots[i].Pixels;
      if (p.size() != last.size()) break;
      size_t differ = 0;
      for (size_t k = 0; k < pixels; ++k)
        differ += std::memcmp(&p[4 * k], &last[4 * k], 3) != 0;
      if (differ * 500 > pixels) break;
      text = Ms(start, shots[i].At);
      cpuText = shots[i].Cpu;
    }
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  const double splashMs = splash == XCB_WINDOW_NONE || splashGone == Clock::time_point{}
                              ? -1
                              : Ms(splashShown, splashGone);
  std::printf("mapped_ms=%.1f text_ms=%.1f splash_ms=%.1f cpu_mapped_ms=%.1f cpu_text_ms=%.1f\n",
              main == XCB_WINDOW_NONE ? -1.0 : Ms(start, mapped), text, splashMs, cpuMapped,
              cpuText);
  xcb_disconnect(c);
  return main == XCB_WINDOW_NONE ? 1 : 0;
}
