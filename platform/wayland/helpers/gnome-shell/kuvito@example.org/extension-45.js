// kuvito's helper for GNOME Shell 45 and later, which load an extension as
// an ES module whose default export extends Extension. Nothing runs when the
// shell imports it: the reporter starts in enable() and disable() undoes
// all of it.
import Gio from 'gi://Gio';
import GLib from 'gi://GLib';
import * as Main from 'resource:///org/gnome/shell/ui/main.js';
import * as PointerWatcher from 'resource:///org/gnome/shell/ui/pointerWatcher.js';
import {Extension} from 'resource:///org/gnome/shell/extensions/extension.js';

@KUVITO_REPORTER@

export default class KuvitoExtension extends Extension {
    enable() {
        this._reporter = new KuvitoReporter();
        this._reporter.start();
    }

    disable() {
        if (this._reporter)
            this._reporter.stop();
        this._reporter = null;
    }
}
