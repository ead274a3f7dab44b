// kuvito's reporter inside GNOME Shell, shared by both entry files
// (extension-43.js, extension-45.js), which bring Gio, GLib, Main and
// PointerWatcher into scope in their shell's way; the build joins each entry
// file with this one into the extension.js that shell loads.
//
// It tells the program what XWayland cannot: the pointer over every window,
// the focused window's visible frame and the primary monitor's work area,
// and nothing else (no titles, no application ids, no contents). It pushes
// only to the connection that owns the program's bus name, only while there
// is one, only once that connection's process is found to run the kuvito
// program the package installed, and only what changed; each push is a
// one-way message, so the shell never waits for the program. Every
// callback is guarded: a fault here is logged and never reaches the shell.

// The build writes the names in (from KUVITO_APP_ID).
const KUVITO_BUS_NAME = '@KUVITO_APP_ID@';
const KUVITO_OBJECT_PATH = '@KUVITO_OBJECT_PATH@/Compositor';
const KUVITO_INTERFACE = '@KUVITO_APP_ID@.Compositor1';
const KUVITO_HELPER_VERSION = '1';
// The programs that may hear the reports: the installed kuvito and, in the
// form the build tree keeps for development, the build's own, whose copies
// (byte for byte the same file, as the tests make) are heard too.
const KUVITO_PROGRAMS = [@KUVITO_TRUSTED_PROGRAMS@];
const KUVITO_BUILD_PROGRAM = '@KUVITO_TRUSTED_BUILD_PROGRAM@';
// The shell's own pointer watcher polls at most this often, and not at all
// while the user is idle; the program's fastest tick is no quicker.
const KUVITO_POINTER_INTERVAL_MS = 50;

class KuvitoReporter {
    constructor() {
        this._watchId = 0;
        this._owner = null;
        this._ownerPid = 0;
        this._cancellable = null;
        this._connections = [];
        this._window = null;
        this._windowConnections = [];
        this._pointerWatch = null;
        this._sent = {};
        this._refusalLogged = false;
    }

    start() {
        this._watchId = Gio.bus_watch_name(Gio.BusType.SESSION, KUVITO_BUS_NAME,
            Gio.BusNameWatcherFlags.NONE,
            (connection, name, owner) => this._guard(() => this._appeared(owner)),
            () => this._guard(() => this._vanished()));
    }

    stop() {
        // Switched off while the program runs: it must not go on using the
        // last pointer and window it was told.
        this._guard(() => this._push('Goodbye', '()', []));
        if (this._watchId)
            Gio.bus_unwatch_name(this._watchId);
        this._watchId = 0;
        this._vanished();
    }

    _guard(callback) {
        try {
            callback();
        } catch (e) {
            logError(e, 'kuvito');
        }
    }

    _connect(object, signal, handler) {
        const id = object.connect(signal, (...args) => this._guard(() => handler(...args)));
        this._connections.push([object, id]);
    }

    // Anyone may ask for the bus name: the owner hears nothing until its
    // process is known to be kuvito.
    _appeared(owner) {
        this._vanished();
        this._checkOwner(owner);
    }

    _greet(owner, pid) {
        this._owner = owner;
        this._ownerPid = pid;
        this._sent = {};
        this._push('Hello', '(ss)', ['gnome-shell', KUVITO_HELPER_VERSION]);
        this._connect(global.display, 'notify::focus-window', () => this._followFocus());
        this._connect(global.display, 'workareas-changed', () => this._sendWorkArea());
        this._connect(Main.layoutManager, 'monitors-changed', () => this._sendWorkArea());
        this._connect(global.workspace_manager, 'active-workspace-changed', () => this._sendWorkArea());
        this._pointerWatch = PointerWatcher.getPointerWatcher().addWatch(KUVITO_POINTER_INTERVAL_MS,
            (x, y) => this._guard(() => this._sendPointer(x, y)));
        const [x, y] = global.get_pointer();
        this._sendPointer(x, y);
        this._followFocus();
        this._sendWorkArea();
    }

    _vanished() {
        if (this._cancellable)
            this._cancellable.cancel();
        this._cancellable = null;
        if (this._pointerWatch)
            this._pointerWatch.remove();
        this._pointerWatch = null;
        this._forgetWindow();
        for (const [object, id] of this._connections)
            object.disconnect(id);
        this._connections = [];
        this._owner = null;
        this._ownerPid = 0;
    }

    // The bus daemon knows each connection's process; the process's
    // program is what /proc shows of it. The process id also tells the
    // program's own windows apart, and stays here.
    _checkOwner(owner) {
        this._cancellable = new Gio.Cancellable();
        Gio.DBus.session.call('org.freedesktop.DBus', '/org/freedesktop/DBus', 'org.freedesktop.DBus',
            'GetConnectionCredentials', new GLib.Variant('(s)', [owner]), new GLib.VariantType('(a{sv})'),
            Gio.DBusCallFlags.NONE, -1, this._cancellable, (connection, result) => this._guard(() => {
                let reply;
                try {
                    reply = connection.call_finish(result);
                } catch (e) {
                    if (!e.matches(Gio.IOErrorEnum, Gio.IOErrorEnum.CANCELLED))
                        throw e;
                    return;
                }
                const [credentials] = reply.deepUnpack();
                const pid = credentials.ProcessID ? credentials.ProcessID.deepUnpack() : 0;
                if (pid > 0 && kuvitoRuns(pid)) {
                    this._greet(owner, pid);
                } else if (!this._refusalLogged) {
                    this._refusalLogged = true;
                    log(`kuvito: ${KUVITO_BUS_NAME} is owned by process ${pid}, which is not kuvito: ` +
                        'it is told nothing');
                }
            }));
    }

    _push(method, signature, values) {
        if (!this._owner)
            return;
        const message = Gio.DBusMessage.new_method_call(this._owner, KUVITO_OBJECT_PATH, KUVITO_INTERFACE,
            method);
        message.set_body(new GLib.Variant(signature, values));
        message.set_flags(Gio.DBusMessageFlags.NO_REPLY_EXPECTED | Gio.DBusMessageFlags.NO_AUTO_START);
        Gio.DBus.session.send_message(message, Gio.DBusSendMessageFlags.NONE);
    }

    // Pushes a call only when its arguments differ from the last ones sent.
    _pushChanged(topic, method, signature, values) {
        const key = `${method}(${values.join(',')})`;
        if (this._sent[topic] === key)
            return;
        this._sent[topic] = key;
        this._push(method, signature, values);
    }

    _sendPointer(x, y) {
        this._pushChanged('pointer', 'Pointer', '(ii)', [Math.round(x), Math.round(y)]);
    }

    _forgetWindow() {
        for (const id of this._windowConnections)
            this._window.disconnect(id);
        this._windowConnections = [];
        this._window = null;
    }

    _followFocus() {
        this._forgetWindow();
        const window = global.display.focus_window;
        if (window) {
            this._window = window;
            for (const signal of ['position-changed', 'size-changed', 'notify::fullscreen']) {
                this._windowConnections.push(
                    window.connect(signal, () => this._guard(() => this._sendFrontWindow())));
            }
            // A window going away takes its signals with it.
            this._windowConnections.push(window.connect('unmanaging', () => this._guard(() => {
                this._forgetWindow();
                this._sendFrontWindow();
            })));
        }
        this._sendFrontWindow();
    }

    // The frame rectangle is what the user sees of the window: the buffer
    // rectangle would add invisible borders and the shadow.
    _sendFrontWindow() {
        const window = this._window;
        if (!window) {
            this._pushChanged('front', 'NoFrontWindow', '()', []);
            return;
        }
        const frame = window.get_frame_rect();
        const own = this._ownerPid > 0 && window.get_pid() === this._ownerPid;
        // A full-screen window in front sends the character out of the way.
        this._pushChanged('front', 'FrontWindow', '(tbiiiib)',
            [window.get_id(), own, frame.x, frame.y, frame.width, frame.height, window.is_fullscreen()]);
    }

    _sendWorkArea() {
        const primary = Main.layoutManager.primaryIndex;
        if (primary < 0)
            return;
        const area = Main.layoutManager.getWorkAreaForMonitor(primary);
        this._pushChanged('workArea', 'WorkArea', '(iiii)', [area.x, area.y, area.width, area.height]);
    }
}

// Whether process pid runs one of KUVITO_PROGRAMS, or a byte-for-byte copy
// of the build's program.
function kuvitoRuns(pid) {
    const exe = `/proc/${pid}/exe`;
    let program;
    try {
        program = GLib.file_read_link(exe);
    } catch (e) {
        return false;
    }
    if (KUVITO_PROGRAMS.includes(program))
        return true;
    if (!KUVITO_BUILD_PROGRAM)
        return false;
    const digest = path => {
        try {
            const [, bytes] = GLib.file_get_contents(path);
            return GLib.compute_checksum_for_data(GLib.ChecksumType.SHA256, bytes);
        } catch (e) {
            return null;
        }
    };
    const running = digest(exe);
    return running !== null && running === digest(KUVITO_BUILD_PROGRAM);
}
