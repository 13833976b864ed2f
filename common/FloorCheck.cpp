// SPDX-License-Identifier: GPL-3.0-or-later
// Nothing of its own: the floor checks link a floor, with the floors below
// it, into a shared object that may leave no symbol undefined.
