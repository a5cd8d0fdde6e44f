// The loaded forms of the process. The process lives while one is loaded;
// the end routine unloads them all. A form unloaded from inside one of its
// own events stays allocated until the event loop collects it.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

namespace krv {

class Form {
 public:
  virtual ~Form() = default;
  virtual std::string_view Name() const = 0;
  virtual bool Loaded() const = 0;
  // Unloads the form by code; nothing when it is already unloaded.
  virtual void Unload() = 0;
};

class Forms {
 public:
  Forms() = default;
  Forms(const Forms&) = delete;
  Forms& operator=(const Forms&) = delete;
  ~Forms();

  template <class F>
  F& Add(std::unique_ptr<F> form) {
    F& ref = *form;
    forms_.push_back(std::move(form));
    return ref;
  }
  bool IsLoaded(std::string_view name) const;
  bool AnyLoaded() const;
  // Unloads every loaded form, the last loaded first.
  void UnloadAll();
  // Frees the unloaded forms; never call it from inside a form's event.
  void Collect();

 private:
  std::vector<std::unique_ptr<Form>> forms_;
};

}  // namespace krv
