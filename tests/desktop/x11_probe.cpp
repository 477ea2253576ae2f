// What the end-to-end test asks of the X server besides xdotool: the colour
// of a window's pixel, and closing a window the way a window manager does.
//   x11_probe pixel WINDOW X Y   prints "R G B"
//   x11_probe close WINDOW       sends WM_DELETE_WINDOW
//   x11_probe dpi DOTS           sets Xft.dpi in the root window's resources
//   x11_probe destroy WINDOW     destroys another client's window outright

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// A window that is gone, or not on screen yet, is an answer, not a crash.
int lastError = 0;
int noteError(Display*, XErrorEvent* e) {
  lastError = e->error_code;
  return 0;
}

int pixel(Display* d, Window w, int x, int y) {
  XImage* image = XGetImage(d, w, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) {
    std::fprintf(stderr, "x11_probe: no pixel at %d,%d\n", x, y);
    return 1;
  }
  const unsigned long p = XGetPixel(image, 0, 0);
  std::printf("%lu %lu %lu\n", (p & image->red_mask) >> 16, (p & image->green_mask) >> 8, p & image->blue_mask);
  XDestroyImage(image);
  return 0;
}

int close(Display* d, Window w) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(d, w, False, NoEventMask, &e);
  XSync(d, False);
  if (lastError != 0) std::fprintf(stderr, "x11_probe: cannot close window 0x%lx (X error %d)\n", w, lastError);
  return lastError == 0 ? 0 : 1;
}

int destroy(Display* d, Window w) {
  XDestroyWindow(d, w);
  XSync(d, False);
  if (lastError != 0) std::fprintf(stderr, "x11_probe: cannot destroy window 0x%lx (X error %d)\n", w, lastError);
  return lastError == 0 ? 0 : 1;
}

int setDpi(Display* d, const char* dots) {
  const std::string resources = std::string("Xft.dpi:\t") + dots + "\n";
  XChangeProperty(d, DefaultRootWindow(d), XA_RESOURCE_MANAGER, XA_STRING, 8, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(resources.c_str()), static_cast<int>(resources.size()));
  XSync(d, False);
  return lastError == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: x11_probe pixel WINDOW X Y | close WINDOW | destroy WINDOW | dpi DOTS\n");
    return 2;
  }
  Display* d = XOpenDisplay(nullptr);
  if (d == nullptr) {
    std::fprintf(stderr, "x11_probe: cannot open the display\n");
    return 1;
  }
  XSetErrorHandler(noteError);
  const auto window = static_cast<Window>(std::strtoul(argv[2], nullptr, 0));
  int status = 2;
  if (std::strcmp(argv[1], "pixel") == 0 && argc == 5)
    status = pixel(d, window, std::atoi(argv[3]), std::atoi(argv[4]));
  if (std::strcmp(argv[1], "close") == 0 && argc == 3) status = close(d, window);
  if (std::strcmp(argv[1], "destroy") == 0 && argc == 3) status = destroy(d, window);
  if (std::strcmp(argv[1], "dpi") == 0 && argc == 3) status = setDpi(d, argv[2]);
  XCloseDisplay(d);
  return status;
}
