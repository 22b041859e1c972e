/* exported init enable disable */
// The test desktop's door for the tests: gnome-shell 43 answers
// org.gnome.Shell.Eval only in unsafe mode, which this turns on, and the
// calls below are what the tests evaluate. The pointer and keyboard are
// virtual devices of mutter's own seat, the ones org.gnome.Mutter.RemoteDesktop
// would drive, without the screen cast that its absolute motion needs.

const { Clutter, Gio, GLib, Meta, Shell } = imports.gi;
const Main = imports.ui.main;

let pointer = null;
let keyboard = null;

function state(pressed, type) {
    return pressed ? type.PRESSED : type.RELEASED;
}

var TinctorTests = {
    // Every window the compositor shows, X11 override-redirect ones
    // included (the covers of a pick under Xwayland).
    windows() {
        return global.get_window_actors().map(actor => {
            const window = actor.meta_window;
            const frame = window.get_frame_rect();
            return {
                title: window.get_title(),
                x: frame.x,
                y: frame.y,
                width: frame.width,
                height: frame.height,
                focused: window.has_focus(),
                minimized: window.minimized,
                x11: window.get_client_type() === Meta.WindowClientType.X11,
                // The menu entry the dock shows the window under, by its
                // icon; a window matched to none gets a made-up "window:" id.
                app: Shell.WindowTracker.get_default().get_window_app(window)?.get_id() ?? '',
            };
        });
    },
    monitors() {
        const monitors = [];
        for (let i = 0; i < global.display.get_n_monitors(); ++i) {
            const area = global.display.get_monitor_geometry(i);
            monitors.push({ x: area.x, y: area.y, width: area.width, height: area.height });
        }
        return monitors;
    },
    // The startup id the shell hands a program it starts from its dash,
    // stamped with the time of the click that started it: a window that the
    // program activates with it may take the focus from the one in front.
    launchToken() {
        const info = Gio.AppInfo.create_from_commandline('tinctor', 'Tinctor',
            Gio.AppInfoCreateFlags.SUPPORTS_STARTUP_NOTIFICATION);
        const context = global.create_app_launch_context(
            global.display.get_current_time_roundtrip(), -1);
        return context.get_startup_notify_id(info, []);
    },
    // The entries the dash's menu adds for an application's own actions,
    // and the choice of one, as a click in that menu makes it.
    appActions(id) {
        const info = Shell.AppSystem.get_default().lookup_app(id)?.get_app_info();
        return info ? info.list_actions().map(action => info.get_action_name(action)) : [];
    },
    launchAppAction(id, action) {
        Shell.AppSystem.get_default().lookup_app(id).launch_action(
            action, global.display.get_current_time_roundtrip(), -1);
    },
    minimize(title) {
        for (const actor of global.get_window_actors()) {
            if (actor.meta_window.get_title() === title)
                actor.meta_window.minimize();
        }
    },
    move(x, y) {
        pointer.notify_absolute_motion(GLib.get_monotonic_time(), x, y);
    },
    // Clutter's numbering: 1 left, 2 middle, 3 right.
    button(number, pressed) {
        pointer.notify_button(GLib.get_monotonic_time(), number, state(pressed, Clutter.ButtonState));
    },
    // Linux evdev key codes.
    key(code, pressed) {
        keyboard.notify_key(GLib.get_monotonic_time(), code, state(pressed, Clutter.KeyState));
    },
};

function init() {
}

function enable() {
    const seat = Clutter.get_default_backend().get_default_seat();
    pointer = seat.create_virtual_device(Clutter.InputDeviceType.POINTER_DEVICE);
    keyboard = seat.create_virtual_device(Clutter.InputDeviceType.KEYBOARD_DEVICE);
    globalThis.TinctorTests = TinctorTests;
    // GNOME opens on the overview, which would hide the windows under test;
    // it takes a hide only once it has finished showing.
    const leaveOverview = () => GLib.idle_add(GLib.PRIORITY_DEFAULT, () => {
        Main.overview.hide();
        return GLib.SOURCE_REMOVE;
    });
    if (Main.layoutManager._startingUp)
        Main.layoutManager.connect('startup-complete', leaveOverview);
    else
        leaveOverview();
    global.context.unsafe_mode = true;
}

function disable() {
    globalThis.TinctorTests = null;
    pointer = null;
    keyboard = null;
}
