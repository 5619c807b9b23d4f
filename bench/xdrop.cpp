// xdrop: drops files on a window as a file manager of the X display does,
// through the XDND protocol, so the program under Wine receives them the way
// an operator's drag delivers them (Wine turns the drop into WM_DROPFILES).
// A host program, not a Windows one.
//
//   xdrop X Y URIS STAMP
//
// X Y: the drop point on the screen; URIS: a text/uri-list file (one file://
// URI a line); STAMP: receives the moment the drop was sent, in 100 ns units
// of CLOCK_MONOTONIC_RAW, the clock Wine's QueryPerformanceCounter reads.
// The drag enters and moves to the point first; the drop is sent only once
// the window under it has said it accepts files. Exit code 0 once the window
// has finished with the drop, 1 otherwise, 2 on bad usage.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <sys/select.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct Atoms {
  Atom aware, enter, position, status, drop, finished, selection, copy, uriList;
  explicit Atoms(Display* d)
      : aware(XInternAtom(d, "XdndAware", False)),
        enter(XInternAtom(d, "XdndEnter", False)),
        position(XInternAtom(d, "XdndPosition", False)),
        status(XInternAtom(d, "XdndStatus", False)),
        drop(XInternAtom(d, "XdndDrop", False)),
        finished(XInternAtom(d, "XdndFinished", False)),
        selection(XInternAtom(d, "XdndSelection", False)),
        copy(XInternAtom(d, "XdndActionCopy", False)),
        uriList(XInternAtom(d, "text/uri-list", False)) {}
};

long long Now100ns() {
  timespec ts = {};
  clock_gettime(CLOCK_MONOTONIC_RAW, &ts);
  return static_cast<long long>(ts.tv_sec) * 10000000LL + ts.tv_nsec / 100;
}

// The XDND version a window speaks, 0 when it takes no drops.
long AwareVersion(Display* d, Window w, const Atoms& atoms) {
  Atom type = None;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long version = 0;
  if (XGetWindowProperty(d, w, atoms.aware, 0, 1, False, XA_ATOM, &type, &format, &count, &after, &data) == Success &&
      data && count == 1) {
    version = static_cast<long>(*reinterpret_cast<Atom*>(data));
  }
  if (data) XFree(data);
  return version;
}

// The outermost window under the point that takes drops.
Window TargetAt(Display* d, int x, int y, const Atoms& atoms, long* version) {
  const Window root = DefaultRootWindow(d);
  Window w = root;
  for (;;) {
    int wx = 0, wy = 0;
    Window child = None;
    if (!XTranslateCoordinates(d, root, w, x, y, &wx, &wy, &child) || child == None) return None;
    if ((*version = AwareVersion(d, child, atoms)) > 0) return child;
    w = child;
  }
}

void Send(Display* d, Window target, Atom type, long l0, long l1, long l2, long l3, long l4) {
  XEvent e = {};
  e.xclient.type = ClientMessage;
  e.xclient.display = d;
  e.xclient.window = target;
  e.xclient.message_type = type;
  e.xclient.format = 32;
  const long data[5] = {l0, l1, l2, l3, l4};
  for (int i = 0; i < 5; ++i) e.xclient.data.l[i] = data[i];
  XSendEvent(d, target, False, NoEventMask, &e);
  XFlush(d);
}

// Hands the file list to whoever asks for the drag's data.
void Answer(Display* d, const XSelectionRequestEvent& request, const Atoms& atoms, const std::string& uris) {
  XEvent reply = {};
  reply.xselection.type = SelectionNotify;
  reply.xselection.display = d;
  reply.xselection.requestor = request.requestor;
  reply.xselection.selection = request.selection;
  reply.xselection.target = request.target;
  reply.xselection.time = request.time;
  reply.xselection.property = None;
  if (request.target == atoms.uriList && request.property != None) {
    XChangeProperty(d, request.requestor, request.property, atoms.uriList, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(uris.data()), static_cast<int>(uris.size()));
    reply.xselection.property = request.property;
  }
  XSendEvent(d, request.requestor, False, NoEventMask, &reply);
  XFlush(d);
}

// The next event, or false after 60 s without one.
bool NextEvent(Display* d, XEvent* e) {
  while (!XPending(d)) {
    const int fd = ConnectionNumber(d);
    fd_set fds;
    FD_ZERO(&fds);
    FD_SET(fd, &fds);
    timeval timeout = {60, 0};
    if (select(fd + 1, &fds, nullptr, nullptr, &timeout) <= 0) return false;
  }
  XNextEvent(d, e);
  return true;
}

int Run(int x, int y, const std::string& uris, const char* stampPath) {
  Display* d = XOpenDisplay(nullptr);
  if (!d) return 1;
  const Atoms atoms(d);
  long version = 0;
  const Window target = TargetAt(d, x, y, atoms, &version);
  if (target == None) {
    std::fprintf(stderr, "xdrop: no window taking drops at %d,%d\n", x, y);
    return 1;
  }
  const Window source = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, 1, 1, 0, 0, 0);
  XSetSelectionOwner(d, atoms.selection, source, CurrentTime);
  Send(d, target, atoms.enter, static_cast<long>(source), (version < 5 ? version : 5) << 24,
       static_cast<long>(atoms.uriList), None, None);
  Send(d, target, atoms.position, static_cast<long>(source), 0, (x << 16) | y, CurrentTime,
       static_cast<long>(atoms.copy));
  long long dropped = 0;
  XEvent e;
  while (NextEvent(d, &e)) {
    if (e.type == SelectionRequest) Answer(d, e.xselectionrequest, atoms, uris);
    if (e.type != ClientMessage) continue;
    if (e.xclient.message_type == atoms.status && !dropped) {
      if (!(e.xclient.data.l[1] & 1)) {
        std::fprintf(stderr, "xdrop: the window at %d,%d refuses the files\n", x, y);
        return 1;
      }
      dropped = Now100ns();
      Send(d, target, atoms.drop, static_cast<long>(source), 0, CurrentTime, 0, 0);
    }
    if (e.xclient.message_type == atoms.finished && dropped) {
      XCloseDisplay(d);
      std::ofstream(stampPath) << dropped << "\n";
      return 0;
    }
  }
  std::fprintf(stderr, "xdrop: the window did not finish with the drop\n");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: xdrop X Y URIS STAMP\n");
    return 2;
  }
  std::ifstream in(argv[3], std::ios::binary);
  std::stringstream uris;
  uris << in.rdbuf();
  return Run(std::atoi(argv[1]), std::atoi(argv[2]), uris.str(), argv[4]);
}
