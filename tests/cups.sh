#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a private CUPS with a PDF queue as the default printer, for the
# printing test; "stop" ends it. Needs root; prints nothing else on success.
set -euo pipefail
conf=/etc/cups/cupsd.conf
case "${1:-start}" in
  start)
    [ "$(id -u)" -eq 0 ] || { echo "cups: not root, the printing test will skip"; exit 0; }
    command -v cupsd >/dev/null || { echo "cups: not installed, the printing test will skip"; exit 0; }
    grep -q '^PreserveJobFiles Yes' "$conf" || echo 'PreserveJobFiles Yes' >>"$conf"
    if ! [ -s /run/cups/cupsd.pid ] || ! kill -0 "$(cat /run/cups/cupsd.pid)" 2>/dev/null; then
      mkdir -p /run/cups
      /usr/sbin/cupsd
      for _ in $(seq 1 50); do lpstat -r >/dev/null 2>&1 && break; sleep 0.1; done
    fi
    mkdir -p /var/spool/cups-pdf/quillora
    echo 'Out /var/spool/cups-pdf/quillora' >/etc/cups/cups-pdf-QuilloraPDF.conf
    lpadmin -p QuilloraPDF -E -v cups-pdf:/QuilloraPDF -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
    lpadmin -d QuilloraPDF
    ;;
  stop)
    if [ -s /run/cups/cupsd.pid ]; then kill "$(cat /run/cups/cupsd.pid)" 2>/dev/null || true; fi
    ;;
esac
