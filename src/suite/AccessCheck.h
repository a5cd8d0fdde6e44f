// The suite's Access check: whether the administrator has to choose the
// Access installation in the administrator tools. Its rule: no usable Access
// is configured, that is the machine setting "Options\AccessPath" below the
// product root is empty or names a file that does not exist.
#pragma once

namespace krv {

class krvLibrary;

class AccessCheck {
 public:
  explicit AccessCheck(krvLibrary& lib) : lib_(lib) {}
  // True when Access has to be chosen in the administrator tools.
  bool Check();

 private:
  krvLibrary& lib_;
};

}  // namespace krv
