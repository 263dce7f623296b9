#include "display_hooks.h"

namespace {

NullDisplayHooks g_null_hooks;
DisplayHooks* g_hooks = &g_null_hooks;

}  // namespace

void SetDisplayHooks(DisplayHooks* hooks) {
  g_hooks = hooks != nullptr ? hooks : &g_null_hooks;
}

DisplayHooks& display_hooks() {
  return *g_hooks;
}
