#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Stands in for GNOME's session manager on a private session bus: records
each Inhibit and Uninhibit call, one a line, to the file named on the
command line, and answers Inhibit with a cookie."""
import sys

from gi.repository import Gio, GLib

INTERFACE = """
<node>
  <interface name="org.gnome.SessionManager">
    <method name="Inhibit">
      <arg type="s" direction="in"/><arg type="u" direction="in"/>
      <arg type="s" direction="in"/><arg type="u" direction="in"/>
      <arg type="u" direction="out"/>
    </method>
    <method name="Uninhibit"><arg type="u" direction="in"/></method>
  </interface>
</node>"""

log = open(sys.argv[1], "a", buffering=1)
cookies = iter(range(41, 10000))


def call(connection, sender, path, interface, method, args, invocation):
    if method == "Inhibit":
        app, window, reason, flags = args.unpack()
        cookie = next(cookies)
        log.write(f"Inhibit {app} {flags} {reason} -> {cookie}\n")
        invocation.return_value(GLib.Variant("(u)", (cookie,)))
    else:
        log.write(f"Uninhibit {args.unpack()[0]}\n")
        invocation.return_value(None)


def acquired(connection, name):
    node = Gio.DBusNodeInfo.new_for_xml(INTERFACE)
    connection.register_object("/org/gnome/SessionManager", node.interfaces[0], call, None, None)


def owned(connection, name):
    log.write("ready\n")


Gio.bus_own_name(Gio.BusType.SESSION, "org.gnome.SessionManager", Gio.BusNameOwnerFlags.NONE, acquired, owned, None)
GLib.MainLoop().run()
