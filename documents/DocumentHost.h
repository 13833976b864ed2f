// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the documents need of the window that holds them, beyond what the
// editing needs: the one search of the run, which the Find items use. The
// frame implements it; what happens to the documents goes up as signals of
// Documents.

#include "editing/EditHost.h"

namespace quillora {

class Finder;

class DocumentHost : public EditHost {
 public:
  virtual Finder &finder() = 0;

 protected:
  ~DocumentHost() = default;
};

}  // namespace quillora
