/* The pointer and keyboard of the KDE test desktop. KWin takes input from
 * outside through org_kde_kwin_fake_input (plasma-wayland-protocols), which
 * it offers only to an executable that a desktop file names with
 * X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input. Each line on the input
 * is one command: "move X Y" puts the pointer at X/256, Y/256 of the layout
 * (logical pixels), "click B N" presses (N 1) or releases (N 0) the button
 * of evdev code B, and "press N" / "release N" the key of evdev code N.
 * Prints "ready" once KWin has let it in, and runs until its input or the
 * compositor goes.
 *
 * Debian ships no XML of the protocol: its requests up to version 4 are
 * written out here as wayland-scanner would generate them. */

#include <poll.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>
#include <wayland-client.h>

static const struct wl_message fake_input_requests[] = {
    {"authenticate", "ss", NULL},
    {"pointer_motion", "ff", NULL},
    {"button", "uu", NULL},
    {"axis", "uf", NULL},
    {"touch_down", "2uff", NULL},
    {"touch_motion", "2uff", NULL},
    {"touch_up", "2u", NULL},
    {"touch_cancel", "2", NULL},
    {"touch_frame", "2", NULL},
    {"pointer_motion_absolute", "3ff", NULL},
    {"keyboard_key", "4uu", NULL},
};
static const struct wl_interface fake_input_interface = {
    "org_kde_kwin_fake_input",
    4,
    11,
    fake_input_requests,
    0,
    NULL,
};

enum { AUTHENTICATE = 0, BUTTON = 2, POINTER_MOTION_ABSOLUTE = 9, KEYBOARD_KEY = 10 };

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
    uint32_t version)
{
    struct wl_proxy** input = data;
    if (strcmp(interface, fake_input_interface.name) == 0 && version >= 4)
        *input = wl_registry_bind(registry, name, &fake_input_interface, 4);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

int main(void)
{
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "kwin_input: no Wayland display\n");
        return 1;
    }
    struct wl_proxy* input = NULL;
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &input);
    wl_display_roundtrip(display);
    if (!input) {
        fprintf(stderr, "kwin_input: KWin offers this program no fake input\n");
        return 1;
    }
    wl_proxy_marshal(input, AUTHENTICATE, "Tinctor's tests", "drive the program under test");
    wl_display_roundtrip(display);
    printf("ready\n");
    fflush(stdout);

    struct pollfd watched[2] = {
        {wl_display_get_fd(display), POLLIN, 0},
        {STDIN_FILENO, POLLIN, 0},
    };
    char line[64];
    size_t used = 0;
    for (;;) {
        wl_display_flush(display);
        if (poll(watched, 2, -1) < 0)
            return 1;
        if (watched[0].revents & (POLLIN | POLLHUP | POLLERR)) {
            if (wl_display_dispatch(display) == -1)
                return 0;
        }
        if (watched[1].revents & (POLLIN | POLLHUP)) {
            const ssize_t got = read(STDIN_FILENO, line + used, sizeof line - 1 - used);
            if (got <= 0)
                return 0;
            used += (size_t)got;
            line[used] = '\0';
            char* end;
            while ((end = strchr(line, '\n'))) {
                *end = '\0';
                unsigned int code = 0, state = 0;
                int x = 0, y = 0;
                if (sscanf(line, "press %u", &code) == 1)
                    wl_proxy_marshal(input, KEYBOARD_KEY, code, 1u);
                else if (sscanf(line, "release %u", &code) == 1)
                    wl_proxy_marshal(input, KEYBOARD_KEY, code, 0u);
                else if (sscanf(line, "move %d %d", &x, &y) == 2)
                    /* wl_fixed_t counts 256ths. */
                    wl_proxy_marshal(input, POINTER_MOTION_ABSOLUTE, x, y);
                else if (sscanf(line, "click %u %u", &code, &state) == 2)
                    wl_proxy_marshal(input, BUTTON, code, state);
                used -= (size_t)(end + 1 - line);
                memmove(line, end + 1, used + 1);
            }
            if (used == sizeof line - 1)
                used = 0; /* a line that long is no command */
        }
    }
}
