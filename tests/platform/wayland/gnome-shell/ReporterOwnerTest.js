// The GNOME Shell extension's reporter, run under gjs outside the shell with
// small stand-ins for the shell's objects, against a stand-in owner of the
// program's bus name (another gjs process): an owner whose program is not kuvito hears nothing, kuvito and a
// byte-for-byte copy of the build's kuvito do. Run on a bus of its own
// (dbus-run-session); the argument is reporter.js as the source has it.
// (A GDBus filter would run in the bus's own thread, where gjs runs no
// JavaScript: dbus-monitor does the listening.)
const {Gio, GLib} = imports.gi;
const System = imports.system;

const kName = 'io.github.kuvito.Test';
const kPath = '/io/github/kuvito/Test/Compositor';
const source = new TextDecoder().decode(GLib.file_get_contents(ARGV[0])[1]);

const loop = GLib.MainLoop.new(null, false);
function runFor(ms) {
    GLib.timeout_add(GLib.PRIORITY_DEFAULT, ms, () => {
        loop.quit();
        return GLib.SOURCE_REMOVE;
    });
    loop.run();
}

// The shell's objects, as far as the reporter uses them.
const signals = {connect: () => 1, disconnect: () => {}};
const global = {display: {...signals, focus_window: null}, workspace_manager: signals, get_pointer: () => [10, 20]};
const Main = {layoutManager: {...signals, primaryIndex: 0, getWorkAreaForMonitor: () => ({x: 0, y: 32, width: 1024, height: 736})}};
const PointerWatcher = {getPointerWatcher: () => ({addWatch: () => ({remove: () => {}})})};
let logged = [];

function reporterClass(programs, buildProgram) {
    const text = source.replaceAll('@KUVITO_APP_ID@', 'io.github.kuvito.Test')
        .replaceAll('@KUVITO_OBJECT_PATH@', '/io/github/kuvito/Test')
        .replace('@KUVITO_TRUSTED_PROGRAMS@', programs.map(p => `'${p}'`).join(', '))
        .replace('@KUVITO_TRUSTED_BUILD_PROGRAM@', buildProgram);
    return new Function('Gio', 'GLib', 'Main', 'PointerWatcher', 'global', 'log', 'logError',
        `${text}\nreturn KuvitoReporter;`)(Gio, GLib, Main, PointerWatcher, global,
        message => logged.push(message), e => logged.push(`${e}`));
}

// The stand-in owner only owns the name; a bus monitor writes down each call
// to the program's object.
const gjs = GLib.find_program_in_path('gjs');
const owner = Gio.Subprocess.new([gjs, '-c', `const {Gio, GLib} = imports.gi;
    Gio.bus_own_name(Gio.BusType.SESSION, '${kName}', Gio.BusNameOwnerFlags.NONE, null, null, null);
    GLib.MainLoop.new(null, false).run();`], Gio.SubprocessFlags.NONE);
const monitor = Gio.Subprocess.new(['dbus-monitor', '--session', '--profile', `path='${kPath}'`],
    Gio.SubprocessFlags.STDOUT_PIPE);
const heard = [];
const lines = new Gio.DataInputStream({base_stream: monitor.get_stdout_pipe()});
function readLine() {
    lines.read_line_async(GLib.PRIORITY_DEFAULT, null, (stream, result) => {
        const [line] = stream.read_line_finish_utf8(result);
        if (line === null)
            return;
        const fields = line.split('\t');
        if (fields[0] === 'mc' && fields[5] === kPath)
            heard.push(fields[7]);
        readLine();
    });
}
readLine();
for (let i = 0; i < 100 && !Gio.DBus.session.call_sync('org.freedesktop.DBus', '/org/freedesktop/DBus',
    'org.freedesktop.DBus', 'NameHasOwner', new GLib.Variant('(s)', [kName]), null, 0, -1, null)
    .deepUnpack()[0]; ++i)
    runFor(50);
const ownerProgram = GLib.file_read_link(`/proc/${owner.get_identifier()}/exe`);

// A byte-for-byte copy of the owner's program, and a different program.
const copy = GLib.build_filenamev([GLib.dir_make_tmp('reporter-XXXXXX'), 'kuvito']);
Gio.File.new_for_path(ownerProgram).copy(Gio.File.new_for_path(copy), Gio.FileCopyFlags.NONE, null, null);
const other = GLib.find_program_in_path('dbus-daemon');

const cases = [
    {name: 'another program', programs: ['/usr/bin/kuvito'], build: '', hears: false},
    {name: 'another program beside a build', programs: ['/usr/bin/kuvito'], build: other, hears: false},
    {name: 'kuvito', programs: ['/usr/bin/kuvito', ownerProgram], build: '', hears: true},
    {name: 'a copy of the build\'s kuvito', programs: ['/usr/bin/kuvito'], build: copy, hears: true},
];
let failed = 0;
for (const c of cases) {
    heard.length = 0;
    logged = [];
    const Reporter = reporterClass(c.programs, c.build);
    const reporter = new Reporter();
    reporter.start();
    runFor(700);
    reporter.stop();
    runFor(300);
    const expected = c.hears ? ['Hello', 'Pointer', 'NoFrontWindow', 'WorkArea', 'Goodbye'] : [];
    const refusals = logged.filter(m => m.includes('not kuvito')).length;
    if (heard.join(' ') !== expected.join(' ') || refusals !== (c.hears ? 0 : 1)) {
        printerr(`FAIL ${c.name}: heard [${heard}], expected [${expected}]; logged [${logged}]`);
        ++failed;
    } else {
        print(`ok ${c.name}`);
    }
}
owner.force_exit();
monitor.force_exit();
GLib.unlink(copy);
System.exit(failed ? 1 : 0);
