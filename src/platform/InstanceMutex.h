// A named lock held for the life of the process, which the suite's other
// programs look for.
#pragma once

#include <memory>
#include <string>

namespace krv {

class InstanceMutex {
 public:
  virtual ~InstanceMutex() = default;
  // Creates (and holds) the named lock. `already_held` tells whether another
  // process held it already; the handle is kept either way, as on Windows.
  virtual bool Create(const std::string& name, bool* already_held, std::string* err) = 0;
  virtual void Release() = 0;
  // Whether some other process holds the named lock now.
  virtual bool HeldByOther(const std::string& name) = 0;
};

}  // namespace krv
