/* Holds a virtual pointer open on a wlroots compositor for the life of a
 * Wayland test desktop. A seat without input devices gives clients no
 * pointer at all; with this one present, the compositor's own IPC moves and
 * clicks it (sway: "seat seat0 cursor set X Y", "cursor press button1").
 * Prints "ready" once the device exists and runs until the compositor goes.
 *
 * The protocol is zwlr_virtual_pointer_manager_v1 of wlr-protocols, which
 * Debian ships as no XML of its own: the two interfaces are written out
 * here, as wayland-scanner would generate them, for the requests used. */

#include <stdio.h>
#include <string.h>
#include <wayland-client.h>

static const struct wl_interface zwlr_virtual_pointer_v1_interface;

static const struct wl_interface* manager_types[] = {
    &wl_seat_interface,
    &zwlr_virtual_pointer_v1_interface,
};

static const struct wl_message manager_requests[] = {
    {"create_virtual_pointer", "?on", manager_types},
    {"destroy", "", NULL},
};

static const struct wl_interface zwlr_virtual_pointer_manager_v1_interface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, manager_requests, 0, NULL,
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
    "zwlr_virtual_pointer_v1", 1, 9, pointer_requests, 0, NULL,
};

struct globals {
    struct wl_seat* seat;
    struct wl_proxy* manager;
};

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
    uint32_t version)
{
    struct globals* found = data;
    (void)version;
    if (strcmp(interface, wl_seat_interface.name) == 0 && !found->seat)
        found->seat = wl_registry_bind(registry, name, &wl_seat_interface, 1);
    else if (strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        found->manager = wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1);
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
        fprintf(stderr, "wayland_pointer: no Wayland display\n");
        return 1;
    }
    struct globals found = {NULL, NULL};
    struct wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registry_listener, &found);
    wl_display_roundtrip(display);
    if (!found.seat || !found.manager) {
        fprintf(stderr, "wayland_pointer: the compositor has no virtual pointers\n");
        return 1;
    }
    /* create_virtual_pointer(seat, new id) */
    struct wl_proxy* pointer = wl_proxy_marshal_constructor(
        found.manager, 0, &zwlr_virtual_pointer_v1_interface, found.seat, NULL);
    wl_display_roundtrip(display);
    if (!pointer)
        return 1;
    printf("ready\n");
    fflush(stdout);
    while (wl_display_dispatch(display) != -1) {
    }
    return 0;
}
