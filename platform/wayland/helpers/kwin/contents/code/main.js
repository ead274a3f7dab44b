// kuvito's helper inside KWin. kuvito is an X11 program, and XWayland shows
// it neither the pointer over native windows nor those windows; this script
// tells it, over the session bus, where the pointer is, the active window's
// frame and the work area. kuvito loads it when it starts and unloads it
// when it ends. It sends to the connection that owns kuvito's bus name and
// to nobody else, only positions and rectangles, and only when they change.
// It runs on Plasma 5.27 and on Plasma 6, which renamed the window calls.

// The build writes the names in (configure_file, from KUVITO_APP_ID).
var SERVICE = "@KUVITO_APP_ID@";
var PATH = "@KUVITO_OBJECT_PATH@/Compositor";
var INTERFACE = "@KUVITO_APP_ID@.Compositor1";
var VERSION = "1";
// The pointer is sent at most this often while it moves.
var POINTER_INTERVAL_MS = 40;
// While things happen, whether kuvito still owns its name is asked again
// at most this often; nothing is asked while nothing happens.
var OWNER_CHECK_MS = 2000;

var plasma6 = typeof workspace.windowActivated !== "undefined";
var owner = "";       // kuvito's unique connection name, "" while unknown
var ownerPid = 0;
var ownerAskedAt = 0;
var sent = {};        // what each kind of report last said to this owner
var followed = null;  // the active window whose frame changes are followed
var pointerTimer = null;
var pointerDirty = false;

// Nothing that goes wrong here may reach KWin: every callback is guarded.
function guarded(f) {
    return function () {
        try {
            return f.apply(this, arguments);
        } catch (e) {
            print("kuvito: " + e);
        }
    };
}

function activeWindow() {
    return plasma6 ? workspace.activeWindow : workspace.activeClient;
}

function askBus(method, arg, then) {
    callDBus("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method, arg,
             guarded(then));
}

// Sends one report unless it says what was last said; "key" groups the
// reports that replace each other (a front window and no front window).
function report(key, method, args) {
    if (owner === "")
        return;
    var text = method + "(" + args.join(",") + ")";
    if (sent[key] === text)
        return;
    sent[key] = text;
    callDBus.apply(null, [owner, PATH, INTERFACE, method].concat(args));
}

function reportPointer() {
    var p = workspace.cursorPos;
    report("pointer", "Pointer", [Math.round(p.x), Math.round(p.y)]);
}

// A number for the window that stays the same while it lives: KWin's own
// id is a UUID, which a D-Bus integer cannot carry, so it is hashed.
function windowNumber(w) {
    var text = String(w.internalId);
    var h = 0;
    for (var i = 0; i < text.length; ++i)
        h = (h * 31 + text.charCodeAt(i)) | 0;
    return h & 0x7fffffff;
}

function reportFrontWindow() {
    var w = activeWindow();
    if (!w) {
        report("front", "NoFrontWindow", []);
        return;
    }
    var g = w.frameGeometry;
    var own = ownerPid > 0 && w.pid === ownerPid;
    // A full-screen window in front sends the character out of the way.
    report("front", "FrontWindow", [windowNumber(w), own, Math.round(g.x), Math.round(g.y),
                                    Math.round(g.width), Math.round(g.height), w.fullScreen === true]);
}

function reportWorkArea() {
    var a = workspace.clientArea(KWin.MaximizeArea, workspace.activeScreen, workspace.currentDesktop);
    report("area", "WorkArea", [Math.round(a.x), Math.round(a.y), Math.round(a.width), Math.round(a.height)]);
}

function reportAll() {
    reportPointer();
    reportFrontWindow();
    reportWorkArea();
}

// Learns who owns kuvito's name, greets a new owner and tells it
// everything; forgets an owner that has gone, and then sends nothing.
function checkOwner() {
    ownerAskedAt = Date.now();
    askBus("NameHasOwner", SERVICE, function (has) {
        if (!has) {
            owner = "";
            ownerPid = 0;
            return;
        }
        askBus("GetNameOwner", SERVICE, function (name) {
            if (name === owner)
                return;
            owner = name;
            ownerPid = 0;
            sent = {};
            callDBus(owner, PATH, INTERFACE, "Hello", "kwin", VERSION);
            reportAll();
            askBus("GetConnectionUnixProcessID", name, function (pid) {
                ownerPid = pid;
                // Whether the front window is kuvito's own may change now.
                if (activeWindow()) {
                    sent.front = undefined;
                    reportFrontWindow();
                }
            });
        });
    });
}

function maybeCheckOwner() {
    if (Date.now() - ownerAskedAt >= OWNER_CHECK_MS)
        checkOwner();
}

// The first move is sent at once, later ones at most every interval, and
// the last place always; the timer runs only while the pointer moves.
var onPointerMoved = guarded(function () {
    maybeCheckOwner();
    if (pointerTimer.active) {
        pointerDirty = true;
        return;
    }
    reportPointer();
    reportWorkArea();
    pointerTimer.start();
});

var onPointerTimer = guarded(function () {
    if (pointerDirty) {
        pointerDirty = false;
        reportPointer();
        pointerTimer.start();
    }
});

var onFrameChanged = guarded(function () {
    reportFrontWindow();
});

function unfollow() {
    if (!followed)
        return;
    try {
        followed.frameGeometryChanged.disconnect(onFrameChanged);
        followed.fullScreenChanged.disconnect(onFrameChanged);
    } catch (e) {
        // The window has gone, and its signal with it.
    }
    followed = null;
}

var onActivated = guarded(function () {
    maybeCheckOwner();
    unfollow();
    followed = activeWindow();
    if (followed) {
        followed.frameGeometryChanged.connect(onFrameChanged);
        followed.fullScreenChanged.connect(onFrameChanged);
    }
    reportFrontWindow();
    reportWorkArea();
});

var onLayoutChanged = guarded(function () {
    reportWorkArea();
});

var onWindowRemoved = guarded(function (w) {
    if (w === followed)
        unfollow();
    reportWorkArea();
});

pointerTimer = new QTimer();
pointerTimer.singleShot = true;
pointerTimer.interval = POINTER_INTERVAL_MS;
pointerTimer.timeout.connect(onPointerTimer);

workspace.cursorPosChanged.connect(onPointerMoved);
(plasma6 ? workspace.windowActivated : workspace.clientActivated).connect(onActivated);
(plasma6 ? workspace.windowAdded : workspace.clientAdded).connect(onLayoutChanged);
(plasma6 ? workspace.windowRemoved : workspace.clientRemoved).connect(onWindowRemoved);
workspace.virtualScreenGeometryChanged.connect(onLayoutChanged);
onActivated();
checkOwner();
