// kuvito's helper for GNOME Shell 43 and 44, which load an extension as a
// script with imports.* and call its top-level enable() and disable().
// Nothing runs when the shell loads the file: the reporter starts in
// enable() and disable() undoes all of it.
/* exported init, enable, disable */
const {Gio, GLib} = imports.gi;
const Main = imports.ui.main;
const PointerWatcher = imports.ui.pointerWatcher;

@KUVITO_REPORTER@

let kuvitoReporter = null;

function init() {
}

function enable() {
    kuvitoReporter = new KuvitoReporter();
    kuvitoReporter.start();
}

function disable() {
    if (kuvitoReporter)
        kuvitoReporter.stop();
    kuvitoReporter = null;
}
