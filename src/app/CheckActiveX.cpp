#include "app/CheckActiveX.h"

#include "suite/Components.h"

namespace krv {

void CheckActiveX(Registry& reg, cuAppError& err) {
  for (const ActiveXComponent& component : kActiveXComponents) {
    const ComponentResult created = CreateComponent(reg, component.prog_id);
    if (created.number == kErrCannotCreateComponent) {
      err.ErrRaise(-kMsgComponentNotRegistered, "cApp", "CheckActiveX", "", component.label);
    } else if (created.number != 0) {
      err.ErrRaise(-kMsgComponentNotCreated, "cApp", "CheckActiveX", "", created.number, component.label,
                   created.description);
    }
  }
}

}  // namespace krv
