/* Holds a virtual pointer and a virtual keyboard open on a wlroots
 * compositor for the life of a Wayland test desktop. A seat without input
 * devices gives clients no pointer and no keyboard at all. With these
 * present, the compositor's IPC moves and clicks the pointer (sway: "seat
 * seat0 cursor set X Y", "cursor press button1"), and this client types
 * keys: each line "press N" or "release N" on its input sends the key of
 * evdev code N. A line "move X Y W H" puts the pointer at X/W of the
 * layout's width and Y/H of its height, finer than the compositor's IPC,
 * which moves by whole layout pixels. "click B N" presses (N 1) or
 * releases (N 0) the button of evdev code B through the same device as
 * the motion, as a mouse does. Prints "ready" once both devices exist and
 * runs until its input or the compositor goes.
 *
 * The protocols are zwlr_virtual_pointer_v1 (wlr-protocols) and
 * zwp_virtual_keyboard_v1 (virtual-keyboard-unstable-v1), which Debian
 * ships as no XML of their own: the interfaces are written out here as
 * wayland-scanner would generate them. */

#define _GNU_SOURCE
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/mman.h>
#include <time.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

static const struct wl_interface zwlr_virtual_pointer_v1_interface;
static const struct wl_interface zwp_virtual_keyboard_v1_interface;

static const struct wl_interface* pointer_manager_types[] = {
    &wl_seat_interface,
    &zwlr_virtual_pointer_v1_interface,
};
static const struct wl_message pointer_manager_requests[] = {
    {"create_virtual_pointer", "?on", pointer_manager_types},
    {"destroy", "", NULL},
};
static const struct wl_interface zwlr_virtual_pointer_manager_v1_interface = {
    "zwlr_virtual_pointer_manager_v1",
    1,
    2,
    pointer_manager_requests,
    0,
    NULL,
};
static const struct wl_message pointer_requests[] = {
    {"motion", "uff", NULL},
    {"motion_absolute", "uuuuu", NULL},
    {"button", "uuu", NULL},
    {"axis", "uuf", NULL},
    {"frame", "", NULL},
    {"axis_source", "u", NULL},
    {"axis_stop", "uu", NULL},
    {"axis_discrete", "uufi", NULL},
    {"destroy", "", NULL},
};
static const struct wl_interface zwlr_virtual_pointer_v1_interface = {
    "zwlr_virtual_pointer_v1",
    1,
    9,
    pointer_requests,
    0,
    NULL,
};

static const struct wl_interface* keyboard_manager_types[] = {
    &wl_seat_interface,
    &zwp_virtual_keyboard_v1_interface,
};
static const struct wl_message keyboard_manager_requests[] = {
    {"create_virtual_keyboard", "on", keyboard_manager_types},
};
static const struct wl_interface zwp_virtual_keyboard_manager_v1_interface = {
    "zwp_virtual_keyboard_manager_v1",
    1,
    1,
    keyboard_manager_requests,
    0,
    NULL,
};
static const struct wl_message keyboard_requests[] = {
    {"keymap", "uhu", NULL},
    {"key", "uuu", NULL},
    {"modifiers", "uuuu", NULL},
    {"destroy", "", NULL},
};
static const struct wl_interface zwp_virtual_keyboard_v1_interface = {
    "zwp_virtual_keyboard_v1",
    1,
    4,
    keyboard_requests,
    0,
    NULL,
};

enum { KEYBOARD_KEYMAP, KEYBOARD_KEY, KEYBOARD_MODIFIERS };
enum { POINTER_MOTION_ABSOLUTE = 1, POINTER_BUTTON = 2, POINTER_FRAME = 4 };

struct globals {
    struct wl_seat* seat;
    struct wl_proxy* pointers;
    struct wl_proxy* keyboards;
};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
    uint32_t version)
{
    struct globals* found = data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !found->seat)
        found->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        found->pointers
            = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
    else if (strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        found->keyboards
            = wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener registry_listener = {global, global_remove};

/* A keyboard sends its keymap first: the default one of xkbcommon. The
 * compositor takes the modifiers from the keyboard as it reports them, not
 * from its keys, so `state` follows the keys to report them. */
static struct xkb_state* state;

static int send_keymap(struct wl_proxy* keyboard)
{
    struct xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    struct xkb_keymap* keymap
        = context ? xkb_keymap_new_from_names(context, NULL, XKB_KEYMAP_COMPILE_NO_FLAGS) : NULL;
    state = keymap ? xkb_state_new(keymap) : NULL;
    char* text = state ? xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1) : NULL;
    int sent = 0;
    if (text) {
        const size_t size = strlen(text) + 1;
        const int fd = memfd_create("keymap", MFD_CLOEXEC);
        if (fd >= 0 && write(fd, text, size) == (ssize_t)size) {
            wl_proxy_marshal(
                keyboard, KEYBOARD_KEYMAP, XKB_KEYMAP_FORMAT_TEXT_V1, fd, (uint32_t)size);
            sent = 1;
        }
        if (fd >= 0)
            close(fd);
    }
    free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return sent;
}

static uint32_t now_ms(void)
{
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return (uint32_t)(t.tv_sec * 1000 + t.tv_nsec / 1000000);
}

/* Evdev codes are xkb's less 8. */
static void send_key(struct wl_proxy* keyboard, unsigned int code, int pressed)
{
    wl_proxy_marshal(keyboard, KEYBOARD_KEY, now_ms(), code, pressed ? 1u : 0u);
    xkb_state_update_key(state, code + 8, pressed ? XKB_KEY_DOWN : XKB_KEY_UP);
    wl_proxy_marshal(keyboard, KEYBOARD_MODIFIERS,
        xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
        xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
        xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
}

static void move_pointer(
    struct wl_proxy* pointer, unsigned int x, unsigned int y, unsigned int w, unsigned int h)
{
    wl_proxy_marshal(pointer, POINTER_MOTION_ABSOLUTE, now_ms(), x, y, w, h);
    wl_proxy_marshal(pointer, POINTER_FRAME);
}

static void press_button(struct wl_proxy* pointer, unsigned int code, unsigned int pressed)
{
    wl_proxy_marshal(pointer, POINTER_BUTTON, now_ms(), code, pressed);
    wl_proxy_marshal(pointer, POINTER_FRAME);
}

int main(void)
{
    struct wl_display* display = wl_display_connect(NULL);
    if (!display) {
        fprintf(stderr, "wayland_input: no Wayland display\n");
        return 1;
    }
    struct globals found = {NULL, NULL, NULL};
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &found);
    wl_display_roundtrip(display);
    if (!found.seat || !found.pointers || !found.keyboards) {
        fprintf(stderr, "wayland_input: the compositor has no virtual input devices\n");
        return 1;
    }
    struct wl_proxy* pointer = wl_proxy_marshal_constructor(
        found.pointers, 0, &zwlr_virtual_pointer_v1_interface, found.seat, NULL);
    struct wl_proxy* keyboard = wl_proxy_marshal_constructor(
        found.keyboards, 0, &zwp_virtual_keyboard_v1_interface, found.seat, NULL);
    if (!pointer || !keyboard || !send_keymap(keyboard))
        return 1;
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
                unsigned int code = 0, x = 0, y = 0, w = 0, h = 0;
                if (sscanf(line, "press %u", &code) == 1)
                    send_key(keyboard, code, 1);
                else if (sscanf(line, "release %u", &code) == 1)
                    send_key(keyboard, code, 0);
                else if (sscanf(line, "move %u %u %u %u", &x, &y, &w, &h) == 4)
                    move_pointer(pointer, x, y, w, h);
                else if (sscanf(line, "click %u %u", &code, &x) == 2)
                    press_button(pointer, code, x);
                used -= (size_t)(end + 1 - line);
                memmove(line, end + 1, used + 1);
            }
            if (used == sizeof line - 1)
                used = 0; /* a line that long is no command */
        }
    }
}
