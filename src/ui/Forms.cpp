#include "ui/Forms.h"

#include <algorithm>

namespace krv {

Forms::~Forms() {
  // Unloading a form may load another one (or unload more); go until none is left.
  UnloadAll();
}

bool Forms::IsLoaded(std::string_view name) const {
  return std::any_of(forms_.begin(), forms_.end(), [name](const auto& f) { return f->Loaded() && f->Name() == name; });
}

bool Forms::AnyLoaded() const {
  return std::any_of(forms_.begin(), forms_.end(), [](const auto& f) { return f->Loaded(); });
}

void Forms::UnloadAll() {
  // By index: an unload may add forms to the list.
  for (size_t i = forms_.size(); i-- > 0;) {
    if (i < forms_.size() && forms_[i]->Loaded()) forms_[i]->Unload();
  }
}

void Forms::Collect() {
  std::erase_if(forms_, [](const auto& f) { return !f->Loaded(); });
}

}  // namespace krv
