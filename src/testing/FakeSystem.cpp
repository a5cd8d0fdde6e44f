#include "testing/FakeSystem.h"

namespace krv {

std::string FakeSystem::GetEnv(const std::string& name) {
  auto it = env.find(name);
  return it == env.end() ? std::string() : it->second;
}

bool FakeSystem::PrimaryScreenSize(int* width, int* height) {
  *width = screen_width;
  *height = screen_height;
  return true;
}

bool FakeInstanceMutex::Create(const std::string& name, bool* already_held, std::string* /*err*/) {
  *already_held = held_->contains(name);
  held_->insert(name);
  mine_ = name;
  return true;
}

void FakeInstanceMutex::Release() {
  if (!mine_.empty()) held_->erase(mine_);
  mine_.clear();
}

bool FakeInstanceMutex::HeldByOther(const std::string& name) { return held_->contains(name) && mine_ != name; }

}  // namespace krv
