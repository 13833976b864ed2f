# SPDX-License-Identifier: GPL-3.0-or-later
# With the French tree shown, Alt and the underlined letters open the French
# menus: Fichier > Nouveau, and Fichier > Envoyer courrier.
start_app || return
keys alt+o l f
keys alt+f n
expect_eq "caption after Fichier > Nouveau" "$(send_mail_subject)" "Untitled:2"
# The new window shows English; back to French, where Ctrl+N is no key.
keys alt+o l f
keys ctrl+n
expect_eq "caption after Ctrl+N in French" "$(send_mail_subject)" "Untitled:2"
