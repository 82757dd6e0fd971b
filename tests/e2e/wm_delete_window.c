/* Sends a window the close request a window manager sends when the user
 * clicks the close button or presses Alt+F4: a WM_PROTOCOLS client message
 * carrying WM_DELETE_WINDOW, as the ICCCM defines it.
 *   wm_delete_window WINDOW_ID   (decimal or 0x hexadecimal) */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: wm_delete_window WINDOW_ID\n");
        return 2;
    }
    Display* display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "wm_delete_window: no X display\n");
        return 1;
    }
    const Window window = (Window)strtoul(argv[1], NULL, 0);
    XEvent e = {0};
    e.xclient.type = ClientMessage;
    e.xclient.window = window;
    e.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)XInternAtom(display, "WM_DELETE_WINDOW", False);
    e.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &e);
    XSync(display, False);
    XCloseDisplay(display);
    return sent ? 0 : 1;
}
