#include "app/wiring.h"

#include "browse/list_window.h"
#include "browse/navigation.h"
#include "editor/menu.h"

namespace pylon {

void wireEditor(Module1& m) {
    wireNavigation(m);
    wireMenu(m);
    wireListWindow(m);
}

} // namespace pylon
